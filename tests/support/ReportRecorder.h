// Stands in for the program window: registers under a title (by default "Morvane") and records
// every progress report posted to it, in arrival order.
#pragma once

#include "platform/WindowDirectory.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace testsupport {

class ReportRecorder {
public:
    explicit ReportRecorder(const std::string& title = "Morvane");
    ~ReportRecorder();
    ReportRecorder(const ReportRecorder&) = delete;
    ReportRecorder& operator=(const ReportRecorder&) = delete;

    std::vector<LibraryMessage> reports() const;

    // True when every report came with the progress message "A message from LIB Process to Exe"
    // and the parameter 2.
    bool allCameAsProgressMessages() const;

    // Waits until at least count reports with this messageText have arrived; false when they
    // have not after the time-out.
    bool waitFor(const std::string& messageText, int count = 1,
                 std::chrono::seconds timeout = std::chrono::seconds(60)) const;

private:
    platform::WindowHandle m_window = 0;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::vector<LibraryMessage> m_reports;
    bool m_allProgressMessages = true;
};

// A report as a run sends it: statusText and messageText are the same text.
LibraryMessage report(int progress, const std::string& text, int eventCode, int updateStatus,
                      int ftpSent = 0);

} // namespace testsupport

bool operator==(const LibraryMessage& a, const LibraryMessage& b);
void PrintTo(const LibraryMessage& message, std::ostream* out);
