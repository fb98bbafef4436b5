#include "FtpTestServer.h"
#include "TestPause.h"
#include "WorkingFolder.h"

#include "platform/FtpClient.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace std::chrono_literals;
using platform::FtpOutcome;
using platform::FtpSession;
using testsupport::FtpTestServer;

namespace {

constexpr const char* password = "tallowfen";

// Short enough that the tests of dead and hanging servers end quickly.
constexpr platform::FtpTimeouts quickTimeouts{3000ms, 3s};

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Bytes a text-mode transfer would change, and enough of them to take several reads.
std::string binaryContent()
{
    std::string bytes;
    for (int i = 0; i < 70000; ++i)
        bytes += static_cast<char>((i * 7 + i / 256) & 0xFF);
    bytes += std::string("\r\n\n\r\0end", 8);
    return bytes;
}

FtpTestServer::Options serverWith(void (*adjust)(FtpTestServer::Options&))
{
    FtpTestServer::Options options;
    adjust(options);
    return options;
}

class FtpClient : public ::testing::Test {
protected:
    void makeRemoteFolder(const std::string& relative)
    {
        std::filesystem::create_directories(server.root() / relative);
    }

    testsupport::WorkingFolder folder;
    testsupport::TestPause pauses;
    FtpTestServer server;
    FtpSession session{quickTimeouts};
};

TEST_F(FtpClient, UploadsBinaryFileIntoTheFolderReachedStepByStep)
{
    makeRemoteFolder("a/b");
    const std::string content = binaryContent();
    folder.write("archive.zip", content);

    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done) << session.errorText();
    ASSERT_EQ(session.changeFolder("a"), FtpOutcome::Done) << session.errorText();
    ASSERT_EQ(session.changeFolder("b"), FtpOutcome::Done) << session.errorText();
    std::int64_t sent = 0;
    ASSERT_EQ(session.upload((folder.path() / "archive.zip").string(), "PC1_2024_01_02_03_04.zip", sent),
              FtpOutcome::Done)
        << session.errorText();

    EXPECT_EQ(sent, static_cast<std::int64_t>(content.size()));
    EXPECT_TRUE(readFile(server.root() / "a/b/PC1_2024_01_02_03_04.zip") == content);
    std::int64_t size = 0;
    ASSERT_EQ(session.remoteSize("PC1_2024_01_02_03_04.zip", size), FtpOutcome::Done) << session.errorText();
    EXPECT_EQ(size, static_cast<std::int64_t>(content.size()));
    EXPECT_TRUE(session.errorText().empty());
    EXPECT_TRUE(pauses.pauses().empty());
}

TEST_F(FtpClient, RefusedFolderChangeKeepsTheCurrentFolderAndTheConnection)
{
    makeRemoteFolder("Output");
    makeRemoteFolder("incoming");
    folder.write("archive.zip", "zip bytes");
    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done) << session.errorText();

    EXPECT_EQ(session.changeFolder("missing"), FtpOutcome::Refused);
    EXPECT_FALSE(session.errorText().empty());
    // Still at the top, so a folder there can be entered next.
    ASSERT_EQ(session.changeFolder("incoming"), FtpOutcome::Done) << session.errorText();
    EXPECT_EQ(session.changeFolder("Output"), FtpOutcome::Refused);
    std::int64_t sent = 0;
    ASSERT_EQ(session.upload((folder.path() / "archive.zip").string(), "x.zip", sent), FtpOutcome::Done)
        << session.errorText();
    EXPECT_EQ(readFile(server.root() / "incoming/x.zip"), "zip bytes");
}

TEST_F(FtpClient, EmptyFolderNameIsRefusedWithoutLeavingTheFolder)
{
    makeRemoteFolder("Output");
    folder.write("archive.zip", "z");
    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done) << session.errorText();
    ASSERT_EQ(session.changeFolder("Output"), FtpOutcome::Done) << session.errorText();

    EXPECT_EQ(session.changeFolder(""), FtpOutcome::Refused);
    std::int64_t sent = 0;
    ASSERT_EQ(session.upload((folder.path() / "archive.zip").string(), "x.zip", sent), FtpOutcome::Done);
    EXPECT_TRUE(std::filesystem::exists(server.root() / "Output/x.zip"));
}

TEST_F(FtpClient, NamesReachTheServerAsWritten)
{
    struct Case {
        std::string folder;      // as given to changeFolder
        std::string onServer;    // the folder it must reach, below the root
    };
    const Case cases[] = {
        {"with blanks", "with blanks"},
        {"100%25 done", "100%25 done"},
        {"caf\xC3\xA9", "caf\xC3\xA9"},
        {"dots.in.name", "dots.in.name"},
        {"x/y", "x/y"}, // a "/" inside a name is the server's to read as a path
        {"#hash?query", "#hash?query"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        makeRemoteFolder(c.onServer);
        folder.write("archive.zip", c.folder);
        ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done) << session.errorText();
        ASSERT_EQ(session.changeFolder(c.folder), FtpOutcome::Done) << session.errorText();
        std::int64_t sent = 0;
        ASSERT_EQ(session.upload((folder.path() / "archive.zip").string(), "name with blank.zip", sent),
                  FtpOutcome::Done)
            << session.errorText();
        EXPECT_EQ(readFile(server.root() / c.onServer / "name with blank.zip"), c.folder);
    }
}

TEST_F(FtpClient, DotDotGoesToTheParentFolderAsTheServerSeesIt)
{
    makeRemoteFolder("a/b");
    makeRemoteFolder("c");
    folder.write("archive.zip", "z");
    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done) << session.errorText();
    ASSERT_EQ(session.changeFolder("a"), FtpOutcome::Done);
    ASSERT_EQ(session.changeFolder(".."), FtpOutcome::Done) << session.errorText();
    ASSERT_EQ(session.changeFolder("c"), FtpOutcome::Done) << session.errorText();
    std::int64_t sent = 0;
    ASSERT_EQ(session.upload((folder.path() / "archive.zip").string(), "x.zip", sent), FtpOutcome::Done);
    EXPECT_TRUE(std::filesystem::exists(server.root() / "c/x.zip"));
}

TEST_F(FtpClient, ControlCharactersAreRefusedBeforeAnythingIsSent)
{
    std::filesystem::create_directories(server.root() / "a");
    std::ofstream(server.root() / "keep.txt") << "keep";
    folder.write("archive.zip", "z");
    const std::string local = (folder.path() / "archive.zip").string();
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"carriage return and line feed", "a\r\nDELE keep.txt"},
        {"line feed", "a\nDELE keep.txt"},
        {"NUL", std::string("a\0DELE keep.txt", 15)},
        {"tab", "a\tb"},
        {"delete", "a\x7F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::int64_t number = 0;
        EXPECT_EQ(session.connect(server.address() + c.text, password), FtpOutcome::Failed);
        EXPECT_NE(session.errorText().find("control character"), std::string::npos) << session.errorText();
        EXPECT_EQ(session.connect(server.address(), c.text), FtpOutcome::Failed);
        EXPECT_NE(session.errorText().find("control character"), std::string::npos) << session.errorText();

        ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done) << session.errorText();
        EXPECT_EQ(session.changeFolder(c.text), FtpOutcome::Failed);
        EXPECT_NE(session.errorText().find("control character"), std::string::npos) << session.errorText();
        EXPECT_EQ(session.upload(local, c.text, number), FtpOutcome::Failed);
        EXPECT_NE(session.errorText().find("control character"), std::string::npos) << session.errorText();
        EXPECT_EQ(session.remoteSize(c.text, number), FtpOutcome::Failed);
        EXPECT_NE(session.errorText().find("control character"), std::string::npos) << session.errorText();
    }
    EXPECT_TRUE(std::filesystem::exists(server.root() / "keep.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(server.root() / "a"),
                            std::filesystem::directory_iterator()),
              0);
}

TEST_F(FtpClient, MalformedServerAddressesFailAtOnce)
{
    const char* cases[] = {"", "127.0.0.1:", "127.0.0.1:abc", "127.0.0.1:0", "127.0.0.1:65536",
                           "127.0.0.1:123456", "[::1", "[::1]x", "bad host", "user@127.0.0.1"};
    for (const char* address : cases) {
        SCOPED_TRACE(address);
        EXPECT_EQ(session.connect(address, password), FtpOutcome::Failed);
        EXPECT_FALSE(session.errorText().empty());
    }
    EXPECT_TRUE(pauses.pauses().empty());
}

TEST_F(FtpClient, OperationsWithoutConnectionFail)
{
    folder.write("archive.zip", "z");
    std::int64_t number = 0;
    EXPECT_EQ(session.changeFolder("a"), FtpOutcome::Failed);
    EXPECT_EQ(session.upload((folder.path() / "archive.zip").string(), "x.zip", number), FtpOutcome::Failed);
    EXPECT_EQ(session.remoteSize("x.zip", number), FtpOutcome::Failed);
    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done);
    session.close();
    EXPECT_EQ(session.changeFolder("a"), FtpOutcome::Failed);
    EXPECT_FALSE(session.errorText().empty());
}

TEST_F(FtpClient, UnreadableLocalFileIsNotUploaded)
{
    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done);
    std::int64_t sent = -7;
    EXPECT_EQ(session.upload((folder.path() / "missing.zip").string(), "x.zip", sent), FtpOutcome::Failed);
    EXPECT_NE(session.errorText().find("missing.zip"), std::string::npos) << session.errorText();
    EXPECT_EQ(sent, -7);
    EXPECT_FALSE(std::filesystem::exists(server.root() / "x.zip"));
}

TEST_F(FtpClient, UploadTheServerRefusesIsRefused)
{
    folder.write("archive.zip", "z");
    makeRemoteFolder("taken.zip"); // a folder where the file should go
    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done);
    std::int64_t sent = 0;
    EXPECT_EQ(session.upload((folder.path() / "archive.zip").string(), "taken.zip", sent), FtpOutcome::Refused);
    EXPECT_FALSE(session.errorText().empty());
    EXPECT_EQ(session.upload((folder.path() / "archive.zip").string(), "free.zip", sent), FtpOutcome::Done)
        << session.errorText();
}

TEST_F(FtpClient, SizeOfAMissingFileIsRefused)
{
    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done);
    std::int64_t size = -7;
    EXPECT_EQ(session.remoteSize("absent.zip", size), FtpOutcome::Refused);
    EXPECT_EQ(size, -7);
}

TEST(FtpClientServers, UploadNotConfirmedByTheServerIsNotDone)
{
    testsupport::WorkingFolder folder;
    FtpTestServer server(serverWith([](FtpTestServer::Options& o) { o.unconfirmedUploads = true; }));
    folder.write("archive.zip", binaryContent());
    FtpSession session{quickTimeouts};
    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done) << session.errorText();
    std::int64_t sent = -7;
    EXPECT_NE(session.upload((folder.path() / "archive.zip").string(), "x.zip", sent), FtpOutcome::Done);
    EXPECT_NE(session.errorText().find("451"), std::string::npos) << session.errorText();
    EXPECT_EQ(sent, -7);
}

TEST(FtpClientServers, SizeIsWhatTheServerSays)
{
    testsupport::WorkingFolder folder;
    folder.write("archive.zip", "12345");
    {
        FtpTestServer server(serverWith([](FtpTestServer::Options& o) { o.sizeOffset = -2; }));
        FtpSession session{quickTimeouts};
        ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done);
        std::int64_t number = 0;
        ASSERT_EQ(session.upload((folder.path() / "archive.zip").string(), "x.zip", number), FtpOutcome::Done);
        ASSERT_EQ(session.remoteSize("x.zip", number), FtpOutcome::Done) << session.errorText();
        EXPECT_EQ(number, 3);
    }
    {
        FtpTestServer server(serverWith([](FtpTestServer::Options& o) { o.noSize = true; }));
        FtpSession session{quickTimeouts};
        ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done);
        std::int64_t number = 0;
        ASSERT_EQ(session.upload((folder.path() / "archive.zip").string(), "x.zip", number), FtpOutcome::Done);
        number = -7;
        EXPECT_EQ(session.remoteSize("x.zip", number), FtpOutcome::Refused);
        EXPECT_EQ(number, -7);
        EXPECT_FALSE(session.errorText().empty());
    }
}

TEST(FtpClientServers, RefusedConnectionIsTriedTwiceMoreAfterOneAndThreeSeconds)
{
    testsupport::TestPause pauses;
    FtpSession session{quickTimeouts};
    EXPECT_EQ(session.connect("127.0.0.1:" + std::to_string(testsupport::unusedLocalPort()), password),
              FtpOutcome::Failed);
    EXPECT_FALSE(session.errorText().empty());
    EXPECT_EQ(pauses.pauses(), (std::vector<std::chrono::milliseconds>{1000ms, 3000ms}));
}

TEST(FtpClientServers, ResetConnectionIsTriedAgain)
{
    struct Case {
        int resets;
        FtpOutcome outcome;
        std::vector<std::chrono::milliseconds> pauses;
    };
    const Case cases[] = {
        {1, FtpOutcome::Done, {1000ms}},
        {2, FtpOutcome::Done, {1000ms, 3000ms}},
        {3, FtpOutcome::Failed, {1000ms, 3000ms}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resets);
        testsupport::TestPause pauses;
        FtpTestServer::Options options;
        options.resetFirst = c.resets;
        FtpTestServer server(options);
        FtpSession session{quickTimeouts};
        EXPECT_EQ(session.connect(server.address(), password), c.outcome) << session.errorText();
        EXPECT_EQ(pauses.pauses(), c.pauses);
    }
}

TEST(FtpClientServers, RefusedLoginFailsWithoutRetry)
{
    testsupport::TestPause pauses;
    FtpTestServer server(serverWith([](FtpTestServer::Options& o) { o.mode = FtpTestServer::Mode::RefuseLogin; }));
    FtpSession session{quickTimeouts};
    EXPECT_EQ(session.connect(server.address(), password), FtpOutcome::Failed);
    EXPECT_NE(session.errorText().find("530"), std::string::npos) << session.errorText();
    EXPECT_TRUE(pauses.pauses().empty());
}

TEST(FtpClientServers, ServerThatNeverAnswersTimesOutWithoutRetry)
{
    testsupport::TestPause pauses;
    FtpTestServer server(serverWith([](FtpTestServer::Options& o) { o.mode = FtpTestServer::Mode::Silent; }));
    // The greeting and the login fall under the connect time-out, which ends the wait here.
    FtpSession session{platform::FtpTimeouts{3000ms, 60s}};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(session.connect(server.address(), password), FtpOutcome::Failed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
    EXPECT_NE(session.errorText().find("time"), std::string::npos) << session.errorText();
    EXPECT_TRUE(pauses.pauses().empty());
}

TEST(FtpClientServers, UnansweredCommandsAreInternetErrorsNotRefusals)
{
    testsupport::WorkingFolder folder;
    testsupport::TestPause pauses;
    folder.write("archive.zip", "z");
    FtpTestServer server(serverWith([](FtpTestServer::Options& o) { o.unansweredCommands = true; }));
    std::filesystem::create_directories(server.root() / "a");
    FtpSession session{quickTimeouts};
    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done) << session.errorText();
    EXPECT_EQ(session.changeFolder("a"), FtpOutcome::Failed);
    EXPECT_NE(session.errorText().find("time"), std::string::npos) << session.errorText();

    ASSERT_EQ(session.connect(server.address(), password), FtpOutcome::Done) << session.errorText();
    std::int64_t sent = 0;
    EXPECT_EQ(session.upload((folder.path() / "archive.zip").string(), "x.zip", sent), FtpOutcome::Failed);
    EXPECT_TRUE(pauses.pauses().empty());
}

} // namespace
