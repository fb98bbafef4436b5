#include "FtpTestServer.h"

#include "WorkingFolder.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace testsupport {
namespace {

std::string pythonInterpreter()
{
    const char* python = std::getenv("MORVANE_TEST_PYTHON");
    if (!python || !*python)
        throw std::runtime_error("MORVANE_TEST_PYTHON is not set; run the tests through ctest");
    return python;
}

std::filesystem::path makeRoot()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "morvane-ftp-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create the FTP server's root folder");
    return pattern;
}

const char* modeName(FtpTestServer::Mode mode)
{
    switch (mode) {
    case FtpTestServer::Mode::RefuseLogin:
        return "refuse-login";
    case FtpTestServer::Mode::Silent:
        return "silent";
    case FtpTestServer::Mode::Serve:
        break;
    }
    return "serve";
}

// Reads the port line the server prints once it listens.
int readPort(int fd)
{
    std::string line;
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 20000) <= 0)
            throw std::runtime_error("the FTP test server did not start");
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw std::runtime_error("the FTP test server ended before it listened");
        if (c == '\n')
            break;
        line += c;
    }
    return std::stoi(line);
}

} // namespace

FtpTestServer::FtpTestServer()
    : FtpTestServer(Options{})
{
}

FtpTestServer::FtpTestServer(const Options& options)
    : m_root(makeRoot())
{
    const std::string script = (sourceFolder() / "tests" / "support" / "ftp_test_server.py").string();
    std::vector<std::string> arguments{pythonInterpreter(), script,
                                       "--mode", modeName(options.mode),
                                       "--root", m_root.string(),
                                       "--lifetime", std::to_string(options.lifetimeSeconds),
                                       "--reset-first", std::to_string(options.resetFirst),
                                       "--size-offset", std::to_string(options.sizeOffset)};
    if (options.noSize)
        arguments.push_back("--no-size");
    if (options.unconfirmedUploads)
        arguments.push_back("--unconfirmed-uploads");
    if (options.unansweredCommands)
        arguments.push_back("--unanswered-commands");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // The server's standard input stays open exactly as long as this process holds its write
    // end: when the test process ends for any reason, the server sees the end and stops.
    int toServer[2];
    int fromServer[2];
    if (::pipe2(toServer, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe for the FTP test server");
    if (::pipe2(fromServer, O_CLOEXEC) != 0) {
        ::close(toServer[0]);
        ::close(toServer[1]);
        throw std::runtime_error("cannot make a pipe for the FTP test server");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toServer[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromServer[1], STDOUT_FILENO);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(toServer[0]);
    ::close(fromServer[1]);
    if (spawned != 0) {
        ::close(toServer[1]);
        ::close(fromServer[0]);
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
        throw std::runtime_error("cannot start the FTP test server");
    }
    m_pid = pid;
    m_stdinWrite = toServer[1];
    try {
        m_port = readPort(fromServer[0]);
    } catch (...) {
        ::close(fromServer[0]);
        stop();
        throw;
    }
    ::close(fromServer[0]);
}

FtpTestServer::~FtpTestServer()
{
    stop();
}

void FtpTestServer::stop()
{
    if (m_stdinWrite >= 0) {
        ::close(m_stdinWrite);
        m_stdinWrite = -1;
    }
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

std::string FtpTestServer::address() const
{
    return "127.0.0.1:" + std::to_string(m_port);
}

int unusedLocalPort()
{
    const int sock = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (sock < 0)
        throw std::runtime_error("cannot open a socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(sock);
        throw std::runtime_error("cannot find a free port");
    }
    ::close(sock);
    return ntohs(address.sin_port);
}

} // namespace testsupport
