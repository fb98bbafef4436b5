#include "BrowseReg.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedScreen.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char Hive[] = "Windows Registry Editor Version 5.00\r\n"
                        "\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n"
                        "@=\"the default value is not listed\"\r\n"
                        "\"Id\"=\"PC-7\"\r\n"
                        "\"Slash\"=\"a/b\"\r\n"
                        "\"Empty\"=\"\"\r\n"
                        "\"Count\"=dword:00000010\r\n"
                        "\"LogPath\"=hex(2):25,00,54,00,25,00,00,00\r\n"
                        "\"Names\"=hex(7):61,00,00,00,00,00\r\n"
                        "\"Blob\"=hex:01,02\r\n"
                        "\"Stamp\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                        "\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Settings]\r\n"
                        "\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\My Computer]\r\n"
                        "\r\n"
                        "[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n";

constexpr char InvalidRegistryPath[] = "Missing or invalid value in Registry Path";

class BrowseRegTest : public ::testing::Test {
protected:
    void SetUp() override { folder.write("MorvaneRegistry.reg", Hive); }

    void open(int valueMode)
    {
        browser.valueMode = valueMode;
        browser.attach(&screen);
        browser.OnInitDialog();
    }

    // The child of an item with this text; -1 when there is none.
    int child(int parent, const std::string& text) const
    {
        for (int index : browser.items()[static_cast<std::size_t>(parent)].children) {
            if (browser.items()[static_cast<std::size_t>(index)].text == text)
                return index;
        }
        return -1;
    }

    // Selects each item of the path below "My Computer" in turn, as the user opens it.
    int select(std::initializer_list<const char*> path)
    {
        int item = 0;
        browser.OnSelChanged(item);
        for (const char* text : path) {
            item = child(item, text);
            EXPECT_NE(item, -1) << text;
            if (item == -1)
                return -1;
            browser.OnSelChanged(item);
        }
        return item;
    }

    std::vector<std::string> childTexts(int item) const
    {
        std::vector<std::string> texts;
        for (int index : browser.items()[static_cast<std::size_t>(item)].children)
            texts.push_back(browser.items()[static_cast<std::size_t>(index)].text);
        return texts;
    }

    std::string pathField() const { return screen.control(BrowseReg::PathField).text; }

    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    ScriptedScreen screen;
    BrowseReg browser{store, &boxes};
};

TEST_F(BrowseRegTest, OpensWithMyComputerAndTheFiveRootsOnly)
{
    open(0);
    const auto& items = browser.items();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0].text, "My Computer");
    EXPECT_EQ(items[0].image, BrowseReg::Computer);
    EXPECT_EQ(items[0].selectedImage, BrowseReg::Computer);
    EXPECT_EQ(childTexts(0), (std::vector<std::string>{"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                                       "HKEY_USERS", "HKEY_CURRENT_CONFIG"}));
    for (int root : items[0].children) {
        EXPECT_EQ(items[static_cast<std::size_t>(root)].image, BrowseReg::ClosedFolder);
        EXPECT_EQ(items[static_cast<std::size_t>(root)].selectedImage, BrowseReg::OpenFolder);
    }
    EXPECT_EQ(pathField(), "");
    EXPECT_EQ(screen.busyDepth, 0);
}

TEST_F(BrowseRegTest, SelectingARootShowsItsPathReadsItsKeysAndKeyModeReturnsIt)
{
    open(0);
    const int machine = select({"HKEY_LOCAL_MACHINE"});
    EXPECT_EQ(pathField(), "My Computer\\HKEY_LOCAL_MACHINE\\");
    EXPECT_EQ(childTexts(machine), (std::vector<std::string>{"SOFTWARE", "SYSTEM"}));
    browser.OnOK();
    EXPECT_EQ(screen.endResult, IDOK);
    EXPECT_EQ(browser.resultPath, "HKEY_LOCAL_MACHINE\\");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(BrowseRegTest, AKeyIsReadOnceButAKeyWithoutChildrenIsReadAtEachSelection)
{
    open(0);
    const int machine = select({"HKEY_LOCAL_MACHINE"});
    const int user = select({"HKEY_CURRENT_USER"});
    EXPECT_TRUE(childTexts(user).empty());

    folder.write("MorvaneRegistry.reg", std::string(Hive) + "\r\n[HKEY_LOCAL_MACHINE\\HARDWARE]\r\n"
                                                            "\r\n[HKEY_CURRENT_USER\\Software]\r\n");
    browser.OnSelChanged(machine);
    browser.OnSelChanged(machine);
    EXPECT_EQ(childTexts(machine), (std::vector<std::string>{"SOFTWARE", "SYSTEM"}));
    browser.OnSelChanged(user);
    EXPECT_EQ(childTexts(user), (std::vector<std::string>{"Software"}));
}

TEST_F(BrowseRegTest, ValueModeListsNamedValuesAfterTheSubKeysWithTheImageOfTheirType)
{
    open(1);
    const int vendor = select({"HKEY_LOCAL_MACHINE", "SOFTWARE", "Vendor"});
    ASSERT_EQ(childTexts(vendor), (std::vector<std::string>{"Settings", "Id", "Slash", "Empty", "Count", "LogPath",
                                                            "Names", "Blob", "Stamp"}));
    struct Case {
        const char* name;
        int image;
    };
    const Case cases[] = {
        {"Settings", BrowseReg::ClosedFolder}, {"Id", BrowseReg::TextValue},       {"Count", BrowseReg::BinaryValue},
        {"LogPath", BrowseReg::TextValue},     {"Names", BrowseReg::TextValue},    {"Blob", BrowseReg::BinaryValue},
        {"Stamp", BrowseReg::BinaryValue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto& item = browser.items()[static_cast<std::size_t>(child(vendor, c.name))];
        EXPECT_EQ(item.image, c.image);
        EXPECT_EQ(item.selectedImage, BrowseReg::OpenFolder);
    }

    const int count = child(vendor, "Count");
    browser.OnSelChanged(count);
    EXPECT_EQ(pathField(), "My Computer\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Count");
    EXPECT_EQ(browser.items()[static_cast<std::size_t>(count)].selectedImage, BrowseReg::BinaryValue);
    EXPECT_TRUE(browser.items()[static_cast<std::size_t>(count)].children.empty());
}

TEST_F(BrowseRegTest, KeyModeListsKeysOnly)
{
    open(0);
    const int vendor = select({"HKEY_LOCAL_MACHINE", "SOFTWARE", "Vendor"});
    EXPECT_EQ(childTexts(vendor), (std::vector<std::string>{"Settings"}));
    browser.OnOK();
    EXPECT_EQ(browser.resultPath, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\");
}

TEST_F(BrowseRegTest, ValueModeAcceptsOnlyAReadableValueWhoseDataIsAValidName)
{
    struct Case {
        const char* name;
        std::initializer_list<const char*> path;
        std::string message; // empty: accepted
    };
    const Case cases[] = {
        {"text", {"HKEY_LOCAL_MACHINE", "SOFTWARE", "Vendor", "Id"}, ""},
        {"number", {"HKEY_LOCAL_MACHINE", "SOFTWARE", "Vendor", "Count"}, ""},
        {"a slash in the data", {"HKEY_LOCAL_MACHINE", "SOFTWARE", "Vendor", "Slash"},
         "Invalid character '/' in File Format field."},
        {"empty data", {"HKEY_LOCAL_MACHINE", "SOFTWARE", "Vendor", "Empty"},
         "Invalid character '' in File Format field."},
        {"a kind that cannot be read", {"HKEY_LOCAL_MACHINE", "SOFTWARE", "Vendor", "LogPath"}, InvalidRegistryPath},
        {"a key", {"HKEY_LOCAL_MACHINE", "SOFTWARE", "Vendor"}, InvalidRegistryPath},
        {"nothing below My Computer", {}, InvalidRegistryPath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedScreen caseScreen;
        ScriptedMessageBoxes caseBoxes;
        BrowseReg caseBrowser(store, &caseBoxes, 1);
        caseBrowser.attach(&caseScreen);
        caseBrowser.OnInitDialog();
        int item = 0;
        caseBrowser.OnSelChanged(item);
        for (const char* text : c.path) {
            int next = -1;
            for (int index : caseBrowser.items()[static_cast<std::size_t>(item)].children) {
                if (caseBrowser.items()[static_cast<std::size_t>(index)].text == text)
                    next = index;
            }
            ASSERT_NE(next, -1) << text;
            item = next;
            caseBrowser.OnSelChanged(item);
        }
        caseBrowser.OnOK();
        if (c.message.empty()) {
            EXPECT_EQ(caseScreen.endResult, IDOK);
            EXPECT_TRUE(caseBoxes.shown().empty());
        } else {
            EXPECT_FALSE(caseScreen.endResult.has_value());
            ASSERT_EQ(caseBoxes.shown().size(), 1u);
            EXPECT_EQ(caseBoxes.shown()[0].caption, "Error");
            EXPECT_EQ(caseBoxes.shown()[0].text, c.message);
        }
    }
}

TEST_F(BrowseRegTest, ValueModeReturnsTheValuePathWithoutMyComputer)
{
    open(1);
    select({"HKEY_LOCAL_MACHINE", "SOFTWARE", "Vendor", "Id"});
    browser.OnOK();
    EXPECT_EQ(screen.endResult, IDOK);
    EXPECT_EQ(browser.resultPath, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Id");
}

TEST_F(BrowseRegTest, MyComputerReadsNothingAndGivesAnEmptyKeyPath)
{
    open(0);
    browser.OnSelChanged(0);
    EXPECT_EQ(pathField(), "My Computer\\");
    EXPECT_EQ(browser.items().size(), 6u);
    browser.OnOK();
    EXPECT_EQ(screen.endResult, IDOK);
    EXPECT_EQ(browser.resultPath, "");
}

TEST_F(BrowseRegTest, AKeyNamedMyComputerKeepsItsPlaceInThePath)
{
    open(0);
    select({"HKEY_LOCAL_MACHINE", "SOFTWARE", "My Computer"});
    browser.OnOK();
    EXPECT_EQ(browser.resultPath, "HKEY_LOCAL_MACHINE\\SOFTWARE\\My Computer\\");
}

TEST_F(BrowseRegTest, CancelEndsTheDialogAsCancel)
{
    open(0);
    browser.OnCancel();
    EXPECT_EQ(screen.endResult, 2);
}

} // namespace
