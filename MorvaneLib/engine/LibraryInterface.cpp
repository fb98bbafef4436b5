#include "Morvane/MorvaneLib.h"
#include "Morvane/MorvaneLibC.h"

#include "engine/Library.h"

#include <thread>

namespace morvane {

uint32_t funcLib()
{
    return 100;
}

uint32_t funcMorvaneLib(const std::string& description, const std::string& message,
                        const std::string& problemTime, int unattended)
{
    try {
        CollectionRequest request;
        request.description = description;
        request.message = message;
        request.problemTime = problemTime;
        request.unattended = unattended;
        request = storeRequest(request);

        if (unattended == 0) {
            startWorker([request] { runOnProcessEngine(request); });
            return 100;
        }

        // The relay runs the worker and outlives it, so the caller is held until the run's
        // last report has gone out.
        std::thread relay;
        const bool started = startWorker(
            [request]() mutable {
                request.unattended = 1;
                std::thread worker;
                if (startWorker([request] { runOnProcessEngine(request); }, &worker))
                    worker.join();
            },
            &relay);
        if (started)
            relay.join();
    } catch (...) {
        // No thread could be started or the request not copied: no run, and nothing to report.
    }
    return 100;
}

double GetSizeMorvaneLib(const std::string&)
{
    return 0.0;
}

} // namespace morvane

namespace {

std::string textOf(const char* text)
{
    return text ? std::string(text) : std::string();
}

} // namespace

extern "C" uint32_t funcLib(void)
{
    return morvane::funcLib();
}

extern "C" uint32_t funcMorvaneLib(const char* description, const char* message,
                                   const char* problemTime, int unattended)
{
    try {
        return morvane::funcMorvaneLib(textOf(description), textOf(message), textOf(problemTime),
                                       unattended);
    } catch (...) {
        return 100;
    }
}

extern "C" double GetSizeMorvaneLib(const char*)
{
    return 0.0;
}
