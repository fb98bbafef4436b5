#include "FtpTestServer.h"
#include "ScriptedMessageBox.h"
#include "TestPause.h"
#include "WorkingFolder.h"

#include "engine/CollectionEngine.h"
#include "platform/MessageBox.h"
#include "store/PackageStore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

using testsupport::FtpTestServer;

namespace {

const std::string archiveBytes = [] {
    std::string bytes = "PK\x03\x04";
    for (int i = 0; i < 5000; ++i)
        bytes += static_cast<char>(i * 31 & 0xFF);
    return bytes + "\r\n\n";
}();

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> logLines()
{
    std::vector<std::string> lines;
    std::istringstream in(readFile("MorvaneLog.txt"));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The message part of each error line of the log.
std::vector<std::string> errorLines()
{
    std::vector<std::string> errors;
    for (const std::string& line : logLines()) {
        const auto marker = line.find("|  ***  ");
        if (marker != std::string::npos)
            errors.push_back(line.substr(marker + 8));
    }
    return errors;
}

class FtpTransfer : public ::testing::Test {
protected:
    FtpTransfer()
    {
        engine.machineId = "PC1";
        engine.problemTime = "2024_01_02_03_04";
        engine.settingsPath = engine.store().CurrentSettingsPath();
        engine.zipPath = ".\\Morvane Output\\PC1_2024_01_02_03_04.zip";
        folder.write("Morvane Output/PC1_2024_01_02_03_04.zip", archiveBytes);
    }

    // The settings file with the two FTP keys (an empty value leaves the key out).
    void writeSettings(const std::string& ftpPath, const std::string& ftpServer)
    {
        std::string text = "[CONFIGURATION]\r\nLocal Directory=.\\Morvane Output\\\r\nPerform FTP=1\r\n";
        if (!ftpPath.empty())
            text += "FTP Path=" + ftpPath + "\r\n";
        if (!ftpServer.empty())
            text += "FTP Server=" + ftpServer + "\r\n";
        folder.write("Morvane Package/Current_Morvane.ini", text);
    }

    std::filesystem::path uploaded(const std::string& remoteFolder) const
    {
        return server.root() / remoteFolder / "PC1_2024_01_02_03_04.zip";
    }

    testsupport::WorkingFolder folder;
    testsupport::TestPause pauses;
    testsupport::ScriptedMessageBox boxes;
    FtpTestServer server;
    CollectionEngine engine;
};

TEST_F(FtpTransfer, UploadsTheArchiveIntoTheFolderTheTargetNames)
{
    struct Case {
        const char* name;
        std::string ftpPath;
        std::string ftpServer;
        std::string expectedFolder;
    };
    const std::string host = server.address();
    const Case cases[] = {
        {"server mode goes through Output", "", host + "\\incoming", "Output/incoming"},
        {"path mode walks every folder and leaves Output alone", host + "\\a\\b", "", "a/b"},
        {"path mode wins over server mode", host + "\\a", host + "\\incoming", "a"},
        {"server mode takes only the first folder", "", host + "\\incoming\\b", "Output/incoming"},
        {"blanks around components are dropped", " " + host + " \\ a \\ b ", "", "a/b"},
    };
    std::filesystem::create_directories(server.root() / "Output/incoming/b");
    std::filesystem::create_directories(server.root() / "Output/a/b");
    std::filesystem::create_directories(server.root() / "a/b");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeSettings(c.ftpPath, c.ftpServer);
        for (int unattended : {0, 1}) {
            engine.unattended = unattended;
            EXPECT_EQ(engine.transferArchive(), 1);
            EXPECT_TRUE(readFile(uploaded(c.expectedFolder)) == archiveBytes);
            std::filesystem::remove(uploaded(c.expectedFolder));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(uploaded("Output/a/b")));
    EXPECT_TRUE(errorLines().empty());
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(pauses.pauses().empty());
}

TEST_F(FtpTransfer, ServerModeWithoutOutputUsesTheFolderFromTheTop)
{
    // The change to the folder after "Output" decides, from wherever the session then is.
    std::filesystem::create_directories(server.root() / "incoming");
    writeSettings("", server.address() + "\\incoming");
    EXPECT_EQ(engine.transferArchive(), 1);
    EXPECT_TRUE(readFile(uploaded("incoming")) == archiveBytes);
    EXPECT_TRUE(errorLines().empty());
}

TEST_F(FtpTransfer, FolderThatCannotBeReachedGivesThePathMessage)
{
    struct Case {
        const char* name;
        std::string ftpPath;
        std::string ftpServer;
        std::string shownTarget;
    };
    const std::string host = server.address();
    std::filesystem::create_directories(server.root() / "Output/incoming");
    std::filesystem::create_directories(server.root() / "a");
    const Case cases[] = {
        {"path mode with the host alone", host, "", host},
        {"path mode with the host and a separator", host + "\\", "", host + "\\"},
        {"path mode with a missing last folder", host + "\\a\\missing", "", host + "\\a\\missing"},
        {"server mode with a missing folder", "", host + "\\missing", host + "\\missing"},
        {"server mode with nothing after the host", "", host + "\\", host + "\\"},
        {"server mode without any separator", "", host, host},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove("MorvaneLog.txt");
        writeSettings(c.ftpPath, c.ftpServer);
        const std::string message = " FTP Server path '\\" + c.shownTarget + "' cannot be found\n";

        engine.unattended = 1;
        EXPECT_EQ(engine.transferArchive(), 0);
        engine.unattended = 0;
        const auto boxesBefore = boxes.shown().size();
        EXPECT_EQ(engine.transferArchive(), 0);

        // The log holds the message with its line end made a blank.
        const std::string logged = " FTP Server path '\\" + c.shownTarget + "' cannot be found ";
        EXPECT_EQ(errorLines(), (std::vector<std::string>{logged, logged}));
        const auto shown = boxes.shown();
        ASSERT_EQ(shown.size(), boxesBefore + 1);
        EXPECT_EQ(shown.back().text, message);
        EXPECT_EQ(shown.back().caption, "Error");
        EXPECT_EQ(shown.back().style, MB_OK | MB_ICONERROR);
    }
    EXPECT_TRUE(std::filesystem::is_empty(server.root() / "a"));
    EXPECT_TRUE(std::filesystem::is_empty(server.root() / "Output/incoming"));
}

TEST_F(FtpTransfer, UnreachableServerGivesOneErrorLineAndABoxOnlyWhenAttended)
{
    const std::string deadHost = "127.0.0.1:" + std::to_string(testsupport::unusedLocalPort());
    writeSettings("", deadHost + "\\incoming");

    engine.unattended = 1;
    EXPECT_EQ(engine.transferArchive(), 0);
    const auto errors = errorLines();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("FTP ERROR !!!  ", 0), 0u) << errors[0];
    EXPECT_GT(errors[0].size(), std::string("FTP ERROR !!!   ").size()) << "the client's error text is missing";
    EXPECT_TRUE(boxes.shown().empty());

    engine.unattended = 0;
    EXPECT_EQ(engine.transferArchive(), 0);
    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.rfind("FTP ERROR !!!  ", 0), 0u);
    EXPECT_EQ(shown[0].text.back(), '\n');
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(errorLines().size(), 2u);
}

TEST_F(FtpTransfer, EmptyOrUnsafeTargetFailsAtOnceWithTheErrorMessage)
{
    struct Case {
        const char* name;
        std::string ftpPath;
        std::string ftpServer;
    };
    const std::string host = server.address();
    std::filesystem::create_directories(server.root() / "Output/in");
    std::ofstream(server.root() / "keep.txt") << "keep";
    const Case cases[] = {
        {"no target at all", "", ""},
        {"path mode without a host", "\\a\\b", ""},
        {"carriage return in a folder", host + "\\in\rDELE keep.txt", ""},
        {"escape in the host", "", host + "\x1B\\in"},
        {"tab inside a folder", "", host + "\\i\tn"},
        {"control character after the folders used", "", host + "\\in\\x\x01y"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove("MorvaneLog.txt");
        writeSettings(c.ftpPath, c.ftpServer);
        engine.unattended = 1;
        EXPECT_EQ(engine.transferArchive(), 0);
        const auto errors = errorLines();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].rfind("FTP ERROR !!!  ", 0), 0u) << errors[0];
    }
    EXPECT_TRUE(pauses.pauses().empty());
    EXPECT_TRUE(std::filesystem::exists(server.root() / "keep.txt"));
    EXPECT_TRUE(std::filesystem::is_empty(server.root() / "Output/in"));
}

TEST_F(FtpTransfer, UploadThatIsNotWholeIsAQuietFailure)
{
    struct Case {
        const char* name;
        FtpTestServer::Options server;
        const char* zipPath;
        int result;
    };
    FtpTestServer::Options unconfirmed;
    unconfirmed.unconfirmedUploads = true;
    FtpTestServer::Options shortSize;
    shortSize.sizeOffset = -1;
    FtpTestServer::Options longSize;
    longSize.sizeOffset = 1;
    FtpTestServer::Options noSize;
    noSize.noSize = true;
    const Case cases[] = {
        {"the server does not confirm the end", unconfirmed, nullptr, 0},
        {"the server holds fewer bytes", shortSize, nullptr, 0},
        {"the server holds more bytes", longSize, nullptr, 0},
        {"the server does not tell the size", noSize, nullptr, 1},
        {"the archive is missing", {}, ".\\Morvane Output\\absent.zip", 0},
        {"the archive path names nothing here", {}, "D:\\Morvane Output\\x.zip", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FtpTestServer other(c.server);
        std::filesystem::create_directories(other.root() / "Output/in");
        writeSettings("", other.address() + "\\in");
        engine.zipPath = c.zipPath ? c.zipPath : ".\\Morvane Output\\PC1_2024_01_02_03_04.zip";
        for (int unattended : {0, 1}) {
            engine.unattended = unattended;
            EXPECT_EQ(engine.transferArchive(), c.result);
        }
    }
    EXPECT_TRUE(errorLines().empty());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(FtpTransfer, UploadTheServerRefusesIsAQuietFailure)
{
    std::filesystem::create_directories(server.root() / "Output/in/PC1_2024_01_02_03_04.zip");
    writeSettings("", server.address() + "\\in");
    engine.unattended = 0;
    EXPECT_EQ(engine.transferArchive(), 0);
    EXPECT_TRUE(errorLines().empty());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(FtpTransfer, ConnectionResetBeforeTheUploadIsTriedAgain)
{
    FtpTestServer::Options options;
    options.resetFirst = 2;
    FtpTestServer flaky(options);
    std::filesystem::create_directories(flaky.root() / "Output/in");
    writeSettings("", flaky.address() + "\\in");
    engine.unattended = 1;
    EXPECT_EQ(engine.transferArchive(), 1);
    EXPECT_TRUE(readFile(flaky.root() / "Output/in/PC1_2024_01_02_03_04.zip") == archiveBytes);
    EXPECT_EQ(pauses.pauses(), (std::vector<std::chrono::milliseconds>{std::chrono::seconds(1), std::chrono::seconds(3)}));
    EXPECT_TRUE(errorLines().empty());
}

TEST_F(FtpTransfer, RefusedLoginAndSilentServerEndWithTheErrorMessage)
{
    struct Case {
        const char* name;
        FtpTestServer::Mode mode;
    };
    const Case cases[] = {
        {"refused login", FtpTestServer::Mode::RefuseLogin},
        // Ends on the 30 s connect time-out of the transfer.
        {"server that never answers", FtpTestServer::Mode::Silent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove("MorvaneLog.txt");
        FtpTestServer::Options options;
        options.mode = c.mode;
        FtpTestServer other(options);
        writeSettings("", other.address() + "\\in");
        engine.unattended = 1;
        EXPECT_EQ(engine.transferArchive(), 0);
        const auto errors = errorLines();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].rfind("FTP ERROR !!!  ", 0), 0u) << errors[0];
    }
    EXPECT_TRUE(pauses.pauses().empty());
}

} // namespace
