#include "ReportRecorder.h"

#include <algorithm>

namespace testsupport {

ReportRecorder::ReportRecorder(const std::string& title)
{
    const unsigned progressMessage = platform::registerWindowMessage(LibraryMessageName);
    m_window = platform::registerWindow(
        title, [this, progressMessage](unsigned message, std::uintptr_t param,
                                       std::unique_ptr<LibraryMessage> record) {
            std::lock_guard lock(m_mutex);
            if (message != progressMessage || param != LibraryMessageParam || !record)
                m_allProgressMessages = false;
            if (record)
                m_reports.push_back(*record);
            m_arrived.notify_all();
        });
}

ReportRecorder::~ReportRecorder()
{
    platform::unregisterWindow(m_window);
}

std::vector<LibraryMessage> ReportRecorder::reports() const
{
    std::lock_guard lock(m_mutex);
    return m_reports;
}

bool ReportRecorder::allCameAsProgressMessages() const
{
    std::lock_guard lock(m_mutex);
    return m_allProgressMessages;
}

bool ReportRecorder::waitFor(const std::string& messageText, int count,
                             std::chrono::seconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, timeout, [&] {
        return std::count_if(m_reports.begin(), m_reports.end(), [&](const LibraryMessage& r) {
                   return r.messageText == messageText;
               }) >= count;
    });
}

LibraryMessage report(int progress, const std::string& text, int eventCode, int updateStatus,
                      int ftpSent)
{
    LibraryMessage message;
    message.statusText = text;
    message.progress = progress;
    message.messageText = text;
    message.eventCode = eventCode;
    message.updateStatus = updateStatus;
    message.ftpSent = ftpSent;
    return message;
}

} // namespace testsupport

bool operator==(const LibraryMessage& a, const LibraryMessage& b)
{
    return a.statusText == b.statusText && a.progress == b.progress && a.messageText == b.messageText
           && a.eventCode == b.eventCode && a.updateStatus == b.updateStatus && a.ftpSent == b.ftpSent;
}

void PrintTo(const LibraryMessage& message, std::ostream* out)
{
    *out << "{" << message.progress << ", \"" << message.statusText << "\"/\"" << message.messageText
         << "\", code " << message.eventCode << ", update " << message.updateStatus << ", ftp "
         << message.ftpSent << "}";
}
