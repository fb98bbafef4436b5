#include "engine/Library.h"

#include "engine/CollectionEngine.h"
#include "platform/WindowDirectory.h"
#include "store/PackageStore.h"

#include <condition_variable>
#include <mutex>

namespace {

class Library {
public:
    Library()
        : m_progressMessage(platform::registerWindowMessage(LibraryMessageName))
    {
    }

    // A worker still running would outlive the engine it uses; unloading waits for it.
    ~Library()
    {
        std::unique_lock lock(m_workersMutex);
        m_workersEnded.wait(lock, [this] { return m_workers == 0; });
    }

    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    CollectionRequest storeRequest(const CollectionRequest& request)
    {
        std::lock_guard lock(m_requestMutex);
        m_request = request;
        return m_request;
    }

    int runOnProcessEngine(CollectionRequest request)
    {
        std::lock_guard lock(m_runMutex);
        return m_engine.run(request.description, request.message, request.unattended,
                            request.problemTime);
    }

    bool startWorker(std::function<void()> job, std::thread* joinable)
    {
        {
            std::lock_guard lock(m_workersMutex);
            ++m_workers;
        }
        try {
            std::thread worker([this, job = std::move(job)] {
                try {
                    job();
                } catch (...) {
                    // A run that cannot go on (out of memory) ends its worker, never the process.
                }
                std::lock_guard lock(m_workersMutex);
                --m_workers;
                m_workersEnded.notify_all();
            });
            if (joinable)
                *joinable = std::move(worker);
            else
                worker.detach();
            return true;
        } catch (...) {
            std::lock_guard lock(m_workersMutex);
            --m_workers;
            m_workersEnded.notify_all();
            return false;
        }
    }

    unsigned progressMessage() const { return m_progressMessage; }

private:
    const unsigned m_progressMessage;

    std::mutex m_requestMutex;
    CollectionRequest m_request;

    std::mutex m_runMutex;
    CollectionEngine m_engine;

    std::mutex m_workersMutex;
    std::condition_variable m_workersEnded;
    int m_workers = 0;
};

// Constructed when the library is loaded, destroyed when it is unloaded.
Library library;

} // namespace

CollectionRequest storeRequest(const CollectionRequest& request)
{
    return library.storeRequest(request);
}

int runOnProcessEngine(CollectionRequest request)
{
    return library.runOnProcessEngine(std::move(request));
}

bool startWorker(std::function<void()> job, std::thread* joinable)
{
    return library.startWorker(std::move(job), joinable);
}

unsigned progressMessage()
{
    return library.progressMessage();
}

PackageStore& libraryStore()
{
    static PackageStore store;
    return store;
}
