// The writer's result codes: refused calls, failed writes and seeks, entries that do not fit,
// and the archive that remains readable after each of them.
#include "zip/ZipArchiveWriter.h"

#include "SpecialFiles.h"
#include "WorkingFolder.h"
#include "ZipTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

namespace fs = std::filesystem;
using namespace ziptest;
using Zip = ZipArchiveWriter;

namespace {

const std::string emptyArchive = std::string("PK\x05\x06", 4) + std::string(18, '\0');

void expectReadersAccept(const fs::path& archive, const std::string& password,
                         const std::vector<std::pair<std::string, std::string>>& expected)
{
    std::string output;
    EXPECT_EQ(run("unzip -t " + (password.empty() ? std::string() : "-P " + quoted(password) + " ")
                      + quoted(archive.string()),
                  output),
              0)
        << output;
    EXPECT_EQ(checkWithPython(archive, password, expected), "ok");
}

} // namespace

TEST(ZipArchiveWriter, CallsAfterCloseGiveZipEnded)
{
    testsupport::WorkingFolder folder;
    folder.write("a.txt", "a");
    Zip::Handle writer = Zip::Create("out.zip");
    const Zip::Handle kept = writer;
    ASSERT_EQ(Zip::Close(writer), ZipOk);
    EXPECT_EQ(writer, Zip::Handle::None);

    EXPECT_EQ(Zip::AddFile(kept, "a.txt", "a.txt"), ZipEnded);
    EXPECT_EQ(Zip::LastResult(), ZipEnded);
    EXPECT_EQ(Zip::AddFolder(kept, "Dir"), ZipEnded);
    Zip::Handle again = kept;
    EXPECT_EQ(Zip::Close(again), ZipEnded);
    EXPECT_EQ(again, Zip::Handle::None);
    EXPECT_EQ(folder.read("out.zip"), emptyArchive);
}

TEST(ZipArchiveWriter, CallsWithoutAWritersHandleAreRefused)
{
    testsupport::WorkingFolder folder;
    folder.write("a.txt", "a");
    const Zip::Handle neverGiven = static_cast<Zip::Handle>(std::numeric_limits<std::uint64_t>::max());
    const struct {
        Zip::Handle handle;
        ZipResult result;
    } cases[] = {{Zip::Handle::None, ZipBadArguments}, {neverGiven, ZipWrongHandle}};
    for (const auto& entry : cases) {
        SCOPED_TRACE(static_cast<std::uint64_t>(entry.handle));
        EXPECT_EQ(Zip::AddFile(entry.handle, "a.txt", "a.txt"), entry.result);
        EXPECT_EQ(Zip::AddFolder(entry.handle, "Dir"), entry.result);
        Zip::Handle handle = entry.handle;
        EXPECT_EQ(Zip::Close(handle), entry.result);
        EXPECT_EQ(Zip::LastResult(), entry.result);
        EXPECT_EQ(handle, Zip::Handle::None);
    }
}

TEST(ZipArchiveWriter, CreateGivesNoWriterWhenTheArchiveCannotBeMade)
{
    testsupport::WorkingFolder folder;
    fs::create_directory("existing folder");
    for (const char* path : {"missing\\folder\\out.zip", "existing folder", "D:\\out.zip", ""}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(Zip::Create(path), Zip::Handle::None);
        EXPECT_EQ(Zip::LastResult(), ZipNoFile);
    }
    EXPECT_FALSE(folder.exists("missing"));
}

TEST(ZipArchiveWriter, RefusedAddsWriteNothing)
{
    testsupport::WorkingFolder folder;
    folder.write("a.txt", "a");
    fs::create_directory("folder");
    testsupport::makeFifo("pipe");
    const std::string tooLong(260, 'n');
    const struct {
        const char* label;
        bool folderEntry;
        std::string name;
        std::string source;
        ZipResult result;
    } cases[] = {
        {"empty file name", false, "", "a.txt", ZipBadArguments},
        {"empty folder name", true, "", "", ZipBadArguments},
        {"file name over 259 characters", false, tooLong, "a.txt", ZipBadArguments},
        {"folder name over 259 characters with its slash", true, std::string(259, 'n'), "", ZipBadArguments},
        {"missing source", false, "a.txt", "missing.txt", ZipNoFile},
        {"source in a missing folder", false, "a.txt", "missing\\a.txt", ZipNoFile},
        {"folder as source", false, "folder", "folder", ZipNoFile},
        {"named pipe as source", false, "pipe", "pipe", ZipNoFile},
        {"source on another drive", false, "a.txt", "D:\\a.txt", ZipNoFile},
    };
    for (const char* password : {"", "secret"}) {
        Zip::Handle writer = Zip::Create("out.zip", password);
        for (const auto& entry : cases) {
            SCOPED_TRACE(std::string(entry.label) + (*password ? " with a password" : ""));
            const ZipResult result = entry.folderEntry ? Zip::AddFolder(writer, entry.name)
                                                       : Zip::AddFile(writer, entry.name, entry.source);
            EXPECT_EQ(result, entry.result);
            EXPECT_EQ(Zip::LastResult(), entry.result);
        }
        ASSERT_EQ(Zip::Close(writer), ZipOk);
        EXPECT_EQ(folder.read("out.zip"), emptyArchive);
    }
}

TEST(ZipArchiveWriter, AcceptsNamesOf259Characters)
{
    testsupport::WorkingFolder folder;
    folder.write("a.txt", "a");
    const std::string fileName(259, 'f');
    const std::string folderName(258, 'd');
    Zip::Handle writer = Zip::Create("out.zip");
    EXPECT_EQ(Zip::AddFile(writer, fileName, "a.txt"), ZipOk);
    EXPECT_EQ(Zip::AddFolder(writer, folderName), ZipOk);
    ASSERT_EQ(Zip::Close(writer), ZipOk);
    expectReadersAccept("out.zip", "", {{fileName, "a.txt"}, {folderName + "/", ""}});
}

TEST(ZipArchiveWriter, AShortWriteFailsOnlyTheEntryItMeets)
{
    testsupport::WorkingFolder folder;
    folder.write("a.txt", logText(3000, 1));
    folder.write("b.log", logText(200000, 2) + randomBytes(50000, 3));
    folder.write("c.txt", logText(3000, 4));

    const auto pack = [](const std::string& password, ZipResult& resultOfB) {
        Zip::Handle writer = Zip::Create("out.zip", password);
        EXPECT_EQ(Zip::AddFile(writer, "a.txt", "a.txt"), ZipOk);
        resultOfB = Zip::AddFile(writer, "b.log", "b.log");
        EXPECT_EQ(Zip::LastResult(), resultOfB);
        EXPECT_EQ(Zip::AddFile(writer, "c.txt", "c.txt"), ZipOk);
        EXPECT_EQ(Zip::Close(writer), ZipOk);
    };

    enum class Where { LocalHeader, Data, Descriptor, RewrittenHeader };
    const struct {
        const char* label;
        const char* password;
        Where where;
    } cases[] = {
        {"local header", "", Where::LocalHeader},
        {"data", "", Where::Data},
        {"rewritten local header", "", Where::RewrittenHeader},
        {"encrypted local header", "pw", Where::LocalHeader},
        {"encrypted data", "pw", Where::Data},
        {"data descriptor", "pw", Where::Descriptor},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.label);
        ZipResult resultOfB = ZipOk;
        pack(entry.password, resultOfB);
        ASSERT_EQ(resultOfB, ZipOk);
        std::string error;
        const ZipLayout clean = ZipLayout::read("out.zip", error);
        ASSERT_EQ(error, "");
        const CentralHeader& b = clean.central.at(1);
        const LocalHeader local = clean.local(b);

        // Where the write to cut starts or what it covers, and which write touching it is cut.
        std::uint64_t cutAt = 0;
        int touch = 1;
        switch (entry.where) {
        case Where::LocalHeader: cutAt = b.localHeaderOffset + 10; break;
        case Where::Data: cutAt = local.dataOffset + b.compressedSize / 2; break;
        case Where::Descriptor: cutAt = local.dataOffset + b.compressedSize + 4; break;
        case Where::RewrittenHeader: cutAt = b.localHeaderOffset + 10; touch = 2; break;
        }
        int touches = 0;
        const InjectedFaults faults({[&](std::uint64_t offset, std::size_t size) -> std::size_t {
                                         if (offset <= cutAt && cutAt < offset + size && ++touches == touch)
                                             return static_cast<std::size_t>(cutAt - offset);
                                         return size;
                                     },
                                     {}});
        pack(entry.password, resultOfB);
        EXPECT_EQ(resultOfB, ZipWriteError);
        EXPECT_GE(touches, touch);
        expectReadersAccept("out.zip", entry.password, {{"a.txt", "a.txt"}, {"c.txt", "c.txt"}});
    }
}

TEST(ZipArchiveWriter, AShortWriteInTheCentralDirectoryFailsClose)
{
    testsupport::WorkingFolder folder;
    folder.write("a.txt", "some text");
    // Two entries of 63 bytes, central headers of 60 bytes each from 126, the end record at 246.
    for (const std::uint64_t cutAt : {std::uint64_t{150}, std::uint64_t{200}, std::uint64_t{250}}) {
        SCOPED_TRACE(cutAt);
        Zip::Handle writer = Zip::Create("out.zip");
        EXPECT_EQ(Zip::AddFile(writer, "a.txt", "a.txt"), ZipOk);
        EXPECT_EQ(Zip::AddFile(writer, "b.txt", "a.txt"), ZipOk);
        const InjectedFaults faults({[&](std::uint64_t offset, std::size_t size) -> std::size_t {
                                         return offset <= cutAt && cutAt < offset + size ? cutAt - offset : size;
                                     },
                                     {}});
        EXPECT_EQ(Zip::Close(writer), ZipWriteError);
        EXPECT_EQ(Zip::LastResult(), ZipWriteError);
    }
}

TEST(ZipArchiveWriter, AFailedSeekLeavesTheEntryOut)
{
    testsupport::WorkingFolder folder;
    folder.write("a.txt", logText(3000, 1));
    folder.write("b.txt", logText(3000, 2));
    folder.write("c.txt", logText(3000, 3));

    // The first seek of an unencrypted add returns to its local header; the second comes back.
    const struct {
        const char* label;
        int failingSeek;
        ZipResult resultOfC;
        std::vector<std::pair<std::string, std::string>> kept;
    } cases[] = {
        {"back to the local header", 1, ZipOk, {{"a.txt", "a.txt"}, {"c.txt", "c.txt"}}},
        {"forward to the end", 2, ZipPreviousError, {{"a.txt", "a.txt"}}},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.label);
        Zip::Handle writer = Zip::Create("out.zip");
        EXPECT_EQ(Zip::AddFile(writer, "a.txt", "a.txt"), ZipOk);
        {
            int seeks = 0;
            const InjectedFaults faults({{}, [&](std::uint64_t) { return ++seeks != entry.failingSeek; }});
            EXPECT_EQ(Zip::AddFile(writer, "b.txt", "b.txt"), ZipSeekFailed);
        }
        EXPECT_EQ(Zip::AddFile(writer, "c.txt", "c.txt"), entry.resultOfC);
        EXPECT_EQ(Zip::Close(writer), ZipOk);
        expectReadersAccept("out.zip", "", entry.kept);
    }
}

TEST(ZipArchiveWriter, RefusesEntriesThatWouldNotFitTheClassicContainer)
{
    testsupport::WorkingFolder folder;
    folder.write("small.txt", "small");
    const std::uint64_t fourGiB = std::uint64_t{1} << 32;
    // Sparse sources: measured, never read.
    const struct {
        const char* label;
        const char* name;
        std::uint64_t size;
    } cases[] = {
        {"a source of 4 GiB", "big.log", fourGiB},
        {"a source of 4 GiB less one byte", "big.log", fourGiB - 1},
        {"a stored source that fits alone but not with its headers", "big.zip", fourGiB - 100},
        {"a deflated source that fits alone but not with the compressor's bound", "big.txt", fourGiB - 1'000'000},
    };
    for (const char* password : {"", "pw"}) {
        Zip::Handle writer = Zip::Create("out.zip", password);
        EXPECT_EQ(Zip::AddFile(writer, "small.txt", "small.txt"), ZipOk);
        const std::uint64_t before = fs::file_size("out.zip");
        for (const auto& entry : cases) {
            SCOPED_TRACE(std::string(entry.label) + (*password ? " with a password" : ""));
            {
                std::ofstream(entry.name).close();
                fs::resize_file(entry.name, entry.size);
            }
            EXPECT_EQ(Zip::AddFile(writer, entry.name, entry.name), ZipTooLarge);
            EXPECT_EQ(Zip::LastResult(), ZipTooLarge);
            EXPECT_EQ(fs::file_size("out.zip"), before);
            fs::remove(entry.name);
        }
        EXPECT_EQ(Zip::AddFile(writer, "again.txt", "small.txt"), ZipOk);
        EXPECT_EQ(Zip::Close(writer), ZipOk);
        expectReadersAccept("out.zip", password, {{"small.txt", "small.txt"}, {"again.txt", "small.txt"}});
    }
}

TEST(ZipArchiveWriter, RefusesEntriesBeyond65534)
{
    testsupport::WorkingFolder folder;
    folder.write("a.txt", "a");
    Zip::Handle writer = Zip::Create("out.zip");
    std::vector<std::pair<std::string, std::string>> expected;
    for (int i = 0; i < 65534; ++i) {
        const std::string name = "d" + std::to_string(i);
        ASSERT_EQ(Zip::AddFolder(writer, name), ZipOk) << i;
        expected.emplace_back(name + "/", "");
    }
    EXPECT_EQ(Zip::AddFolder(writer, "one more"), ZipTooLarge);
    EXPECT_EQ(Zip::AddFile(writer, "a.txt", "a.txt"), ZipTooLarge);
    EXPECT_EQ(Zip::Close(writer), ZipOk);

    std::string error;
    const ZipLayout layout = ZipLayout::read("out.zip", error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(layout.end.entries, 65534);
    EXPECT_EQ(checkWithPython("out.zip", "", expected), "ok");
}

TEST(ZipArchiveWriter, ASourceThatDiffersFromItsMeasuredSizeIsStoredAsRead)
{
    // The kernel reports size 0 for this file, and it reads as several hundred bytes.
    const std::string source = "C:\\proc\\self\\status";
    testsupport::WorkingFolder folder;
    folder.write("a.txt", "a");
    const struct {
        const char* password;
        ZipResult stored;
    } cases[] = {{"", ZipOk}, {"pw", ZipCannotCorrect}};
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.password);
        Zip::Handle writer = Zip::Create("out.zip", entry.password);
        EXPECT_EQ(Zip::AddFile(writer, "status.zip", source), entry.stored);
        EXPECT_EQ(Zip::AddFile(writer, "status.txt", source), ZipOk);
        EXPECT_EQ(Zip::AddFile(writer, "a.txt", "a.txt"), ZipOk);
        EXPECT_EQ(Zip::Close(writer), ZipOk);

        std::string output;
        EXPECT_EQ(run("unzip -t " + (*entry.password ? std::string("-P pw ") : "") + "out.zip", output), 0) << output;
        std::string error;
        const ZipLayout layout = ZipLayout::read("out.zip", error);
        EXPECT_EQ(error, "");
        const CentralHeader* status = layout.find("status.txt");
        ASSERT_NE(status, nullptr);
        EXPECT_GT(status->uncompressedSize, 100u);
        EXPECT_EQ(layout.find("status.zip") != nullptr, entry.stored == ZipOk);
    }
}

TEST(ZipArchiveWriter, ASourceThatCannotBeReadFailsItsEntry)
{
    // Opens as a regular file; reading its first page fails.
    const std::string source = "C:\\proc\\self\\mem";
    testsupport::WorkingFolder folder;
    folder.write("a.txt", "a");
    for (const char* name : {"mem.txt", "mem.zip"}) {
        SCOPED_TRACE(name);
        Zip::Handle writer = Zip::Create("out.zip");
        EXPECT_EQ(Zip::AddFile(writer, name, source), ZipNoFile);
        EXPECT_EQ(Zip::AddFile(writer, "a.txt", "a.txt"), ZipOk);
        EXPECT_EQ(Zip::Close(writer), ZipOk);
        expectReadersAccept("out.zip", "", {{"a.txt", "a.txt"}});
    }
}
