// Archives read back by independent readers: unzip, zipinfo and Python's zipfile, with and
// without a password, their contents byte for byte those of the sources.
#include "zip/ZipArchiveWriter.h"

#include "WorkingFolder.h"
#include "ZipTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ziptest;
using Zip = ZipArchiveWriter;

TEST(ZipArchiveWriter, IndependentReadersAcceptArchivesWithAndWithoutPassword)
{
    testsupport::WorkingFolder folder;
    const std::time_t when = utc(2021, 6, 7, 10, 15, 31);
    writeSource("work/PC042_2006_11_16_08_35.txt", "Problem description\r\n", when, when);
    writeSource("work/ -PASSWORD=s3cret pass", "", when, when);
    writeSource("work/CoreLogs/Logs/App/trace.log", logText(600000, 7), when, when);
    writeSource("work/CoreLogs/Logs/App/empty.log", "", when, when);
    writeSource("work/CoreLogs/dump.bin", randomBytes(100000, 8), when, when);
    writeSource("work/CoreLogs/rotated.log.gz", randomBytes(30000, 9), when, when);
    writeSource("work/CoreLogs/exactly one block.txt", logText(16384, 10), when, when);

    // (entry name as the packing gives it, source); folders have no source.
    const std::vector<std::pair<std::string, std::string>> entries = {
        {"PC042_2006_11_16_08_35.txt", "work\\PC042_2006_11_16_08_35.txt"},
        {" -PASSWORD=s3cret pass", "work\\ -PASSWORD=s3cret pass"},
        {"CoreLogs", ""},
        {"CoreLogs\\Logs", ""},
        {"CoreLogs\\Logs\\App", ""},
        {"CoreLogs\\Logs\\App\\trace.log", "work\\CoreLogs\\Logs\\App\\trace.log"},
        {"CoreLogs\\Logs\\App\\empty.log", "work\\CoreLogs\\Logs\\App\\empty.log"},
        {"CoreLogs\\Logs\\Empty Package", ""},
        {"CoreLogs\\dump.bin", "work\\CoreLogs\\dump.bin"},
        {"CoreLogs\\rotated.log.gz", "work\\CoreLogs\\rotated.log.gz"},
        {"CoreLogs\\exactly one block.txt", "work\\CoreLogs\\exactly one block.txt"},
    };
    std::vector<std::pair<std::string, std::string>> expected;
    for (const auto& [name, source] : entries) {
        std::string stored = name;
        std::replace(stored.begin(), stored.end(), '\\', '/');
        std::string linuxSource = source;
        std::replace(linuxSource.begin(), linuxSource.end(), '\\', '/');
        expected.emplace_back(source.empty() ? stored + "/" : stored, linuxSource);
    }

    for (const std::string password : {"", "s3cret pass"}) {
        SCOPED_TRACE(password.empty() ? "without password" : "with password");
        Zip::Handle writer = Zip::Create("out.zip", password);
        for (const auto& [name, source] : entries)
            EXPECT_EQ(source.empty() ? Zip::AddFolder(writer, name) : Zip::AddFile(writer, name, source), ZipOk) << name;
        ASSERT_EQ(Zip::Close(writer), ZipOk);

        std::string output;
        const std::string passwordOption = password.empty() ? "" : "-P " + quoted(password) + " ";
        EXPECT_EQ(run("unzip -t " + passwordOption + "out.zip", output), 0) << output;
        EXPECT_NE(output.find("No errors detected"), std::string::npos) << output;

        EXPECT_EQ(run("zipinfo out.zip", output), 0) << output;
        for (const auto& [name, source] : expected)
            EXPECT_NE(output.find(name), std::string::npos) << name;

        EXPECT_EQ(checkWithPython("out.zip", password, expected), "ok");

        // unzip writes out what it reads: the files must come back as they were.
        EXPECT_EQ(run("rm -rf unpacked && unzip -q " + passwordOption + "-d unpacked out.zip", output), 0) << output;
        for (const auto& [name, source] : expected) {
            if (!source.empty()) {
                EXPECT_EQ(folder.read("unpacked/" + name), folder.read(source)) << name;
            }
        }
        EXPECT_TRUE(folder.exists("unpacked/CoreLogs/Logs/Empty Package"));
    }
}

TEST(ZipArchiveWriter, AWrongPasswordOpensNothing)
{
    testsupport::WorkingFolder folder;
    folder.write("secret.txt", logText(5000, 11));
    Zip::Handle writer = Zip::Create("out.zip", "right");
    EXPECT_EQ(Zip::AddFile(writer, "secret.txt", "secret.txt"), ZipOk);
    ASSERT_EQ(Zip::Close(writer), ZipOk);

    std::string output;
    EXPECT_NE(run("unzip -t -P wrong out.zip", output), 0) << output;
    EXPECT_NE(checkWithPython("out.zip", "wrong", {{"secret.txt", "secret.txt"}}), "ok");
    EXPECT_EQ(checkWithPython("out.zip", "right", {{"secret.txt", "secret.txt"}}), "ok");
}
