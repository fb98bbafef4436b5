#include "platform/FtpClient.h"

#include "platform/Pause.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <system_error>

// libcurl keeps no session of its own between transfers except the open control connection.
// Each operation is one transfer on the same handle, whose URL holds the folders entered so
// far: libcurl reuses the connection, walks those folders with one CWD each and then does the
// operation, so the session behaves as one connection with a current remote folder.

namespace platform {
namespace {

constexpr std::chrono::milliseconds retryPauses[] = {std::chrono::seconds(1), std::chrono::seconds(3)};

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool holdsControlCharacter(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

// Every byte but letters, digits and "-_~" is escaped, so that a name reaches the server as
// one whole folder or file name: "/" stays inside it and "." or ".." are never folded away.
std::string escapePathSegment(const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string escaped;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
            byte == '-' || byte == '_' || byte == '~') {
            escaped += c;
        } else {
            escaped += '%';
            escaped += hex[byte >> 4];
            escaped += hex[byte & 0x0F];
        }
    }
    return escaped;
}

// "host", "host:port", "[v6]" or "[v6]:port"; a bare address with several colons is IPv6.
bool splitHostAndPort(const std::string& text, std::string& host, int& port, std::string& error)
{
    std::string portText;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string::npos) {
            error = "Malformed FTP server address: " + text;
            return false;
        }
        host = text.substr(0, close + 1);
        const std::string rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                error = "Malformed FTP server address: " + text;
                return false;
            }
            portText = rest.substr(1);
            if (portText.empty()) {
                error = "Malformed FTP server address: " + text;
                return false;
            }
        }
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const auto colon = text.find(':');
        host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        if (portText.empty()) {
            error = "Malformed FTP server address: " + text;
            return false;
        }
    } else if (text.find(':') != std::string::npos) {
        host = "[" + text + "]";
    } else {
        host = text;
    }
    if (host.empty() || host == "[]") {
        error = "No FTP server is named";
        return false;
    }
    port = 21;
    if (!portText.empty()) {
        const bool digits = portText.size() <= 5 &&
                            std::all_of(portText.begin(), portText.end(), [](char c) { return c >= '0' && c <= '9'; });
        const int value = digits ? std::stoi(portText) : 0;
        if (value < 1 || value > 65535) {
            error = "Invalid FTP port: " + portText;
            return false;
        }
        port = value;
    }
    return true;
}

// A reset that comes while libcurl still checks the new connection is reported as a failed
// connect, one that comes later as a failed read or write.
bool isRefusedOrReset(CURLcode code, long osErrno)
{
    if (code == CURLE_COULDNT_CONNECT)
        return osErrno == ECONNREFUSED || osErrno == ECONNRESET;
    if (code == CURLE_RECV_ERROR || code == CURLE_SEND_ERROR || code == CURLE_GOT_NOTHING)
        return osErrno == ECONNRESET || osErrno == EPIPE;
    return false;
}

size_t discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}

size_t readFromFile(char* buffer, size_t size, size_t count, void* stream)
{
    auto* file = static_cast<std::FILE*>(stream);
    const size_t read = std::fread(buffer, 1, size * count, file);
    if (read == 0 && std::ferror(file))
        return CURL_READFUNC_ABORT;
    return read;
}

} // namespace

struct FtpSession::Handle {
    CURL* curl = nullptr;
    CURLU* url = nullptr;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    ~Handle()
    {
        if (curl)
            curl_easy_cleanup(curl);
        if (url)
            curl_url_cleanup(url);
    }
};

FtpSession::FtpSession(FtpTimeouts timeouts)
    : m_timeouts(timeouts)
{
}

FtpSession::~FtpSession() = default;

void FtpSession::close()
{
    m_handle.reset();
    m_folders.clear();
    m_host.clear();
    m_password.clear();
}

bool FtpSession::refuseUnsafe(const std::string& what, const std::string& name)
{
    if (!holdsControlCharacter(name))
        return false;
    m_errorText = "The " + what + " holds a control character";
    return true;
}

FtpOutcome FtpSession::connect(const std::string& hostAndPort, const std::string& password)
{
    close();
    m_errorText.clear();
    if (refuseUnsafe("FTP server name", hostAndPort) || refuseUnsafe("FTP password", password))
        return FtpOutcome::Failed;
    std::string host;
    int port = 21;
    if (!splitHostAndPort(hostAndPort, host, port, m_errorText))
        return FtpOutcome::Failed;

    initialiseCurlOnce();
    auto handle = std::make_unique<Handle>();
    handle->curl = curl_easy_init();
    handle->url = curl_url();
    if (!handle->curl || !handle->url) {
        m_errorText = "Cannot start the FTP client";
        return FtpOutcome::Failed;
    }
    if (const CURLUcode code = curl_url_set(handle->url, CURLUPART_HOST, host.c_str(), 0)) {
        m_errorText = std::string("Invalid FTP server name: ") + curl_url_strerror(code);
        return FtpOutcome::Failed;
    }

    CURL* curl = handle->curl;
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, handle->errorBuffer);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_timeouts.connect.count()));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(m_timeouts.stall.count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(m_timeouts.stall.count()));
    curl_easy_setopt(curl, CURLOPT_USERNAME, "anonymous");
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_MULTICWD));
    curl_easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
    // A proxy of the machine's settings is used as a tunnel, so the control connection and
    // its folder changes stay the server's own.
    curl_easy_setopt(curl, CURLOPT_HTTPPROXYTUNNEL, 1L);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_FILETIME, 0L);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, discard);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);

    m_handle = std::move(handle);
    m_host = host;
    m_port = port;
    m_password = password;
    const FtpOutcome outcome = perform("", true);
    if (outcome != FtpOutcome::Done) {
        const std::string reason = m_errorText;
        close();
        m_errorText = reason;
        return FtpOutcome::Failed;
    }
    return FtpOutcome::Done;
}

FtpOutcome FtpSession::perform(const std::string& fileName, bool retryConnection)
{
    std::string path = "/";
    for (const std::string& folder : m_folders)
        path += escapePathSegment(folder) + "/";
    path += escapePathSegment(fileName);

    curl_url_set(m_handle->url, CURLUPART_SCHEME, "ftp", 0);
    curl_url_set(m_handle->url, CURLUPART_PORT, std::to_string(m_port).c_str(), 0);
    curl_url_set(m_handle->url, CURLUPART_PATH, path.c_str(), 0);
    curl_easy_setopt(m_handle->curl, CURLOPT_CURLU, m_handle->url);

    CURLcode code = CURLE_OK;
    for (size_t attempt = 0;; ++attempt) {
        m_handle->errorBuffer[0] = '\0';
        code = curl_easy_perform(m_handle->curl);
        long osErrno = 0;
        curl_easy_getinfo(m_handle->curl, CURLINFO_OS_ERRNO, &osErrno);
        if (!retryConnection || attempt == std::size(retryPauses) || !isRefusedOrReset(code, osErrno))
            break;
        pause(retryPauses[attempt]);
    }

    if (code == CURLE_OK) {
        m_errorText.clear();
        return FtpOutcome::Done;
    }
    m_errorText = m_handle->errorBuffer[0] ? m_handle->errorBuffer : curl_easy_strerror(code);
    switch (code) {
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
        return FtpOutcome::Refused;
    default:
        return FtpOutcome::Failed;
    }
}

FtpOutcome FtpSession::changeFolder(const std::string& name)
{
    m_errorText.clear();
    if (!m_handle) {
        m_errorText = "Not connected to an FTP server";
        return FtpOutcome::Failed;
    }
    if (refuseUnsafe("FTP folder name", name))
        return FtpOutcome::Failed;
    if (name.empty()) {
        m_errorText = "No FTP folder name given";
        return FtpOutcome::Refused;
    }
    m_folders.push_back(name);
    const FtpOutcome outcome = perform("", true);
    if (outcome != FtpOutcome::Done)
        m_folders.pop_back();
    return outcome;
}

FtpOutcome FtpSession::upload(const std::string& localPath, const std::string& remoteName,
                              std::int64_t& uploadedBytes)
{
    m_errorText.clear();
    if (!m_handle) {
        m_errorText = "Not connected to an FTP server";
        return FtpOutcome::Failed;
    }
    if (refuseUnsafe("FTP file name", remoteName))
        return FtpOutcome::Failed;
    if (remoteName.empty()) {
        m_errorText = "No FTP file name given";
        return FtpOutcome::Refused;
    }
    std::FILE* file = std::fopen(localPath.c_str(), "rb");
    if (!file) {
        m_errorText = "Cannot open " + localPath + ": " + std::generic_category().message(errno);
        return FtpOutcome::Failed;
    }
    std::int64_t size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        m_errorText = "Cannot read " + localPath;
        std::fclose(file);
        return FtpOutcome::Failed;
    }

    CURL* curl = m_handle->curl;
    curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readFromFile);
    curl_easy_setopt(curl, CURLOPT_READDATA, file);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    // libcurl checks that all of INFILESIZE went out and that the server answered the end
    // of the transfer with its success code.
    FtpOutcome outcome = perform(remoteName, false);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_READDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(-1));
    if (outcome == FtpOutcome::Done && std::ferror(file)) {
        m_errorText = "Cannot read " + localPath;
        outcome = FtpOutcome::Failed;
    }
    std::fclose(file);
    if (outcome == FtpOutcome::Done)
        uploadedBytes = size;
    return outcome;
}

FtpOutcome FtpSession::remoteSize(const std::string& remoteName, std::int64_t& size)
{
    m_errorText.clear();
    if (!m_handle) {
        m_errorText = "Not connected to an FTP server";
        return FtpOutcome::Failed;
    }
    if (refuseUnsafe("FTP file name", remoteName))
        return FtpOutcome::Failed;
    if (remoteName.empty()) {
        m_errorText = "No FTP file name given";
        return FtpOutcome::Refused;
    }
    const FtpOutcome outcome = perform(remoteName, false);
    if (outcome != FtpOutcome::Done)
        return outcome;
    curl_off_t length = -1;
    curl_easy_getinfo(m_handle->curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (length < 0) {
        m_errorText = "The FTP server does not tell the size of " + remoteName;
        return FtpOutcome::Refused;
    }
    size = length;
    return FtpOutcome::Done;
}

} // namespace platform
