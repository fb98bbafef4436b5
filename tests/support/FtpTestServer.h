// A real FTP server on 127.0.0.1 on a free port for the life of the object (pyftpdlib, run by
// the interpreter named in MORVANE_TEST_PYTHON). The server also ends by itself when the test
// process ends, however it ends, or after its lifetime.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

class FtpTestServer {
public:
    enum class Mode {
        Serve,       // an anonymous user may read and write anywhere below root()
        RefuseLogin, // every login is refused
        Silent,      // connections are accepted and never answered
    };

    struct Options {
        Mode mode = Mode::Serve;
        int resetFirst = 0;             // this many connections are reset at once, then it serves
        int sizeOffset = 0;             // added to every size that SIZE reports
        bool noSize = false;            // SIZE is answered as not implemented
        bool unconfirmedUploads = false; // every upload is received whole, then answered 451
        bool unansweredCommands = false; // logs in, then never answers CWD, STOR or SIZE
        double lifetimeSeconds = 120;
    };

    FtpTestServer();
    explicit FtpTestServer(const Options& options);
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer&) = delete;
    FtpTestServer& operator=(const FtpTestServer&) = delete;

    int port() const { return m_port; }
    // "127.0.0.1:PORT", the host component of an FTP target.
    std::string address() const;
    // The folder the server serves; removed with the server.
    const std::filesystem::path& root() const { return m_root; }

private:
    void stop();

    std::filesystem::path m_root;
    int m_pid = -1;
    int m_stdinWrite = -1;
    int m_port = 0;
};

// A port on 127.0.0.1 where nothing listens (it was free a moment ago).
int unusedLocalPort();

} // namespace testsupport
