// The reports a run sends, for comparing with what the window received.
#pragma once

#include "ReportRecorder.h"

#include <vector>

namespace enginetest {

inline const std::string Running = "Running...";
inline const LibraryMessage ZipFiles = testsupport::report(80, "Zip Files", -1, 1);
inline const LibraryMessage Completed = testsupport::report(95, "Completed.", 0, 1);

// "Running..." reports at first, first + 1, ..., last.
inline std::vector<LibraryMessage> running(int first, int last)
{
    std::vector<LibraryMessage> reports;
    for (int progress = first; progress <= last; ++progress)
        reports.push_back(testsupport::report(progress, Running, -1, 1));
    return reports;
}

// The reports given, in order.
template <typename... Reports>
std::vector<LibraryMessage> sequence(const Reports&... reports)
{
    return {reports...};
}

} // namespace enginetest

inline std::vector<LibraryMessage> operator+(std::vector<LibraryMessage> a, const std::vector<LibraryMessage>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
