// Another program's view of the library: it loads it with dlopen, starts a collection with
// runFileCollection and follows it with getFileCollectionStatus, with the real clock and the
// real pauses. This executable does not link the library, so the load is a fresh one.
#include "Morvane/MorvaneLibC.h"

#include "FtpTestServer.h"
#include "UnattendedStore.h"
#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <dlfcn.h>
#include <filesystem>
#include <set>
#include <thread>

using namespace std::chrono_literals;

namespace {

using RunFileCollection = decltype(&::runFileCollection);
using GetFileCollectionStatus = decltype(&::getFileCollectionStatus);

std::tm localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return local;
}

int secondOfDay(const std::tm& t)
{
    return t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec;
}

// The run ID 83513 stands for 08:35:13.
int secondOfDay(uint32_t runId)
{
    return static_cast<int>(runId / 10000 * 3600 + runId / 100 % 100 * 60 + runId % 100);
}

std::string problemTimeOf(const std::tm& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04d_%02d_%02d_%02d_%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                  t.tm_hour, t.tm_min);
    return text;
}

class Library {
public:
    Library()
    {
        const auto path = testsupport::runtimeFolder() / "libMorvaneLib.so";
        loadedBefore = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD) != nullptr;
        handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle) {
            run = reinterpret_cast<RunFileCollection>(::dlsym(handle, "runFileCollection"));
            status = reinterpret_cast<GetFileCollectionStatus>(::dlsym(handle, "getFileCollectionStatus"));
        }
    }
    // Unloading waits for a run that is still going.
    ~Library()
    {
        if (handle)
            ::dlclose(handle);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool loadedBefore = false;
    void* handle = nullptr;
    RunFileCollection run = nullptr;
    GetFileCollectionStatus status = nullptr;
};

TEST(LibraryLoad, AProgramStartsARunAndFollowsItThroughTheStatusFile)
{
    testsupport::FtpTestServer server;
    std::filesystem::create_directories(server.root() / "incoming");
    testsupport::WorkingFolder folder;
    unattendedtest::writeStore(folder, {.ftpHost = server.address(), .registryRule = true});

    // The second call below must fall in the first one's minute; a run takes a few seconds.
    while (localNow().tm_sec > 45)
        std::this_thread::sleep_for(200ms);

    Library library;
    ASSERT_FALSE(library.loadedBefore);
    ASSERT_NE(library.handle, nullptr) << ::dlerror();
    ASSERT_NE(library.run, nullptr);
    ASSERT_NE(library.status, nullptr);

    const std::tm before = localNow();
    const uint32_t runId = library.run("It broke.");
    const std::tm after = localNow();

    // The ID is the time of day of the call, which returned after its 2 s pause.
    ASSERT_NE(runId, 0u);
    EXPECT_GE(secondOfDay(runId), secondOfDay(before));
    EXPECT_LE(secondOfDay(runId), secondOfDay(after));
    EXPECT_GE(secondOfDay(after) - secondOfDay(before), 2);

    // While the run holds its working folder, a second run of the same minute is refused and
    // writes no entry.
    const std::string workFolder = std::string("Out/") + unattendedtest::MachineId + "_" + problemTimeOf(before);
    const auto deadline = std::chrono::steady_clock::now() + 120s;
    while (!folder.exists(workFolder) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    ASSERT_TRUE(folder.exists(workFolder));
    const std::string entriesBefore = folder.read("Morvane Package/morvaneStatus.ini");
    EXPECT_EQ(library.run("Again."), 0u);
    EXPECT_EQ(folder.read("Morvane Package/morvaneStatus.ini"), entriesBefore);

    // Followed to its end: every state before it is WORKING with a report of the run.
    const std::set<std::string> workingTexts = {"", "Running...", "Zip Files", "Send files to FTP server"};
    char text[255];
    int code = -1;
    while (std::chrono::steady_clock::now() < deadline) {
        code = library.status(runId, text);
        if (code != 0)
            break;
        EXPECT_TRUE(workingTexts.count(text)) << text;
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(code, 1);
    EXPECT_STREQ(text, "Completed.");
    EXPECT_FALSE(folder.exists(workFolder));
    EXPECT_TRUE(folder.exists(workFolder + ".zip"));

    EXPECT_EQ(library.status(runId + 1, text), 3);
    EXPECT_STREQ(text, "");
}

} // namespace
