// The shared utilities of the store: log file, logged message boxes, time stamps, field
// splitting, name checks, version text and documents.
#include "store/PackageStore.h"

#include "platform/Clock.h"
#include "platform/Document.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* LogFile = ".\\MorvaneLog.txt";

std::string twoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string dateText(const platform::LocalTime& now)
{
    return twoDigits(now.month) + "/" + twoDigits(now.day) + "/" + twoDigits(now.year % 100);
}

std::string timeText(const platform::LocalTime& now)
{
    return twoDigits(now.hour) + ":" + twoDigits(now.minute) + ":" + twoDigits(now.second);
}

} // namespace

bool PackageStore::AppendLogLine(const std::string& message, bool plain) const
{
    const platform::LocalTime now = platform::localTime();
    std::string line = dateText(now) + "  " + timeText(now) + "  |  ";
    if (!plain)
        line += "***  ";
    for (char c : message)
        line += c == '\n' ? ' ' : c;
    line += "\r\n";
    platform::appendToFile(LogFile, line);
    return true;
}

int PackageStore::ReportMessage(const std::string& message, unsigned int style, bool show, bool confirmation) const
{
    AppendLogLine(message, confirmation);
    if (!show)
        return -1;
    return platform::showMessageBox(message, confirmation ? "Confirmation" : "Error", style);
}

std::string PackageStore::MakeTimestamp(std::string& time) const
{
    const platform::LocalTime now = platform::localTime();
    const std::string date = dateText(now);
    const std::string clock = timeText(now);
    std::string field;
    const std::string month = GetField(date, 0, '/', field);
    const std::string day = GetField(date, 1, '/', field);
    const std::string year = GetField(date, 2, '/', field);
    const std::string hour = GetField(clock, 0, ':', field);
    const std::string minute = GetField(clock, 1, ':', field);
    const std::string second = GetField(clock, 2, ':', field);
    time = hour + "_" + minute + "_" + second;
    return "20" + year + "_" + month + "_" + day + "_" + hour + "_" + minute;
}

std::string PackageStore::GetField(const std::string& text, int field, char separator, std::string& buffer) const
{
    buffer.clear();
    if (text.empty() || text.find(separator) == std::string::npos)
        return buffer;
    size_t begin = 0;
    for (int skipped = 0; skipped < field; ++skipped) {
        const size_t next = text.find(separator, begin);
        if (next == std::string::npos)
            return buffer; // fewer fields than asked for
        begin = next + 1;
    }
    const size_t end = std::min(text.find(separator, begin), text.size());
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks, begin);
    if (first == std::string::npos || first >= end)
        return buffer;
    const size_t last = text.find_last_not_of(blanks, end - 1);
    buffer = text.substr(first, last - first + 1);
    return buffer;
}

bool PackageStore::CheckNameCharacters(const std::string& text, bool forbidStar, std::string& offending) const
{
    if (text.empty()) {
        offending.clear();
        return false;
    }
    bool acceptable = true;
    for (char c : {'/', '\\', '|', '?', ':', '\'', '<', '>'}) {
        if (text.find(c) != std::string::npos) {
            acceptable = false;
            offending = std::string(1, c);
        }
    }
    if (forbidStar && text.find('*') != std::string::npos) {
        acceptable = false;
        offending = "*";
    }
    return acceptable;
}

std::string PackageStore::VersionText() const
{
    return "Morvane Version 2.00.17";
}

bool PackageStore::OpenHelpDocument() const
{
    for (const char* document : {".\\Morvane.pdf", ".\\Morvane.htm", ".\\Morvane.mht"}) {
        if (platform::pathExists(document)) {
            OpenDocument(document, 2);
            return true;
        }
    }
    return false;
}

bool PackageStore::OpenDocument(const std::string& path, int) const
{
    // Viewers here have no show mode of their own; a document that cannot be shown is ignored.
    platform::openDocument(path);
    return true;
}
