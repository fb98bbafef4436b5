// An FTP session over one control connection: anonymous passive login, folder changes one at
// a time, binary upload and SIZE. Every operation tells apart a server that answered "no" from
// an internet error, and on any outcome but Done errorText() says why. Names given to the
// session (host, folders, files) that hold control characters are refused before anything is
// sent. Refused or reset connections are tried again after 1 s and 3 s, up to the upload.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class FtpOutcome {
    Done,    // the server did what was asked
    Refused, // the server answered, and refused it (or nothing was sent because it could not succeed)
    Failed,  // an internet error: no answer, a broken connection, a time-out, a refused login
};

struct FtpTimeouts {
    // For reaching the server, its greeting and the login.
    std::chrono::milliseconds connect{std::chrono::seconds(30)};
    // A command left unanswered, or a transfer that moves nothing, for this long is abandoned.
    std::chrono::seconds stall{60};
};

class FtpSession {
public:
    explicit FtpSession(FtpTimeouts timeouts = {});
    ~FtpSession();
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    // Connects to "host" or "host:port" (port 21 when none is given; an IPv6 address in
    // brackets) and logs in as "anonymous" with the password. Done once logged in; a refused
    // login is Failed.
    FtpOutcome connect(const std::string& hostAndPort, const std::string& password);

    // Changes the current remote folder to the named folder inside it. Refused leaves the
    // current folder as it was. An empty name is never sent and is Refused.
    FtpOutcome changeFolder(const std::string& name);

    // Uploads the local file in binary mode under the remote name into the current remote
    // folder. Done only when the server confirmed the whole file; uploadedBytes is then the
    // size sent.
    FtpOutcome upload(const std::string& localPath, const std::string& remoteName,
                      std::int64_t& uploadedBytes);

    // The server's SIZE of a file in the current remote folder. Refused when the server does
    // not tell it.
    FtpOutcome remoteSize(const std::string& remoteName, std::int64_t& size);

    // Why the last operation did not end in Done; empty after Done.
    const std::string& errorText() const { return m_errorText; }

    // Ends the connection; a later operation needs connect() again.
    void close();

private:
    struct Handle;

    FtpOutcome perform(const std::string& fileName, bool retryConnection);
    bool refuseUnsafe(const std::string& what, const std::string& name);

    FtpTimeouts m_timeouts;
    std::unique_ptr<Handle> m_handle;
    std::string m_host;
    int m_port = 21;
    std::string m_password;
    std::vector<std::string> m_folders;
    std::string m_errorText;
};

} // namespace platform
