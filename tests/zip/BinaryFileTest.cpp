// The platform's binary file access: what opens for reading, the facts of an open file, and
// the faults tests inject into files created for writing.
#include "platform/BinaryFile.h"

#include "SpecialFiles.h"
#include "WorkingFolder.h"
#include "ZipTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using platform::BinaryFile;

TEST(BinaryFile, OpensOnlyRegularFilesForReading)
{
    testsupport::WorkingFolder folder;
    folder.write("file.txt", "content");
    fs::create_directory("folder");
    testsupport::makeFifo("pipe");
    fs::create_symlink("file.txt", "link to file");
    fs::create_symlink("folder", "link to folder");
    const struct {
        const char* path;
        bool opens;
    } cases[] = {
        {"file.txt", true}, {"link to file", true}, {"folder", false},
        {"link to folder", false}, {"pipe", false}, {"missing", false},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.path);
        BinaryFile file;
        EXPECT_EQ(file.openForReading(entry.path), entry.opens);
        EXPECT_EQ(file.isOpen(), entry.opens);
    }
}

TEST(BinaryFile, ReadsBlocksToTheEndAndTellsTheFactsOfTheOpenFile)
{
    testsupport::WorkingFolder folder;
    const std::string content = ziptest::randomBytes(40000, 1);
    const std::time_t written = ziptest::utc(2021, 6, 7, 10, 15, 31);
    const std::time_t accessed = ziptest::utc(2022, 2, 3, 4, 5, 6);
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        ziptest::writeSource("data.bin", content, written, accessed);
        fs::permissions("data.bin", fs::perms::owner_write,
                        readOnly ? fs::perm_options::remove : fs::perm_options::add);
        BinaryFile file;
        ASSERT_TRUE(file.openForReading("data.bin"));
        platform::FileFacts facts;
        ASSERT_TRUE(file.facts(facts));
        EXPECT_EQ(facts.size, content.size());
        EXPECT_EQ(facts.lastWriteTime, written);
        EXPECT_EQ(facts.lastAccessTime, accessed);
        EXPECT_EQ(facts.readOnly, readOnly);
        EXPECT_FALSE(facts.folder);

        std::string read;
        std::string block(16384, '\0');
        std::size_t count = 0;
        while (file.read(block.data(), block.size(), count) && count > 0)
            read.append(block.data(), count);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(read, content);
        EXPECT_TRUE(file.close());
    }
}

TEST(BinaryFile, InjectedFaultsCutWritesAndFailSeeksOfCreatedFilesOnly)
{
    testsupport::WorkingFolder folder;
    folder.write("source.txt", "0123456789");
    std::vector<std::pair<std::uint64_t, std::size_t>> writes;
    const ziptest::InjectedFaults faults({[&](std::uint64_t offset, std::size_t size) {
                                              writes.emplace_back(offset, size);
                                              return offset == 0 ? size : size / 2;
                                          },
                                          [](std::uint64_t offset) { return offset != 3; }});
    BinaryFile output;
    ASSERT_TRUE(output.createForWriting("out.bin"));
    EXPECT_EQ(output.write("abcd", 4), 4u);
    EXPECT_EQ(output.write("efgh", 4), 2u);
    EXPECT_FALSE(output.seek(3));
    EXPECT_TRUE(output.seek(1));
    EXPECT_EQ(output.write("XY", 2), 1u);
    EXPECT_TRUE(output.close());
    EXPECT_EQ(folder.read("out.bin"), "aXcdef");
    EXPECT_EQ(writes, (std::vector<std::pair<std::uint64_t, std::size_t>>{{0, 4}, {4, 4}, {1, 2}}));

    BinaryFile input;
    ASSERT_TRUE(input.openForReading("source.txt"));
    char buffer[16];
    std::size_t count = 0;
    EXPECT_TRUE(input.read(buffer, sizeof buffer, count));
    EXPECT_EQ(std::string(buffer, count), "0123456789");
}
