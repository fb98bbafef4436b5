#include "AddUpdateLine.h"
#include "BrowseReg.h"
#include "FolderDialog.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedScreen.h"

#include "WorkingFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr char InvalidFileFormat[] = "Missing or invalid value in the File Format field.";
constexpr char InvalidFolder[] = "Missing or invalid value in the Folder field.";
constexpr char InvalidNumberOfFiles[] = "Missing or invalid value in the Number of Files field.";
constexpr char InvalidRegistryPath[] = "Missing or invalid value in the Registry Path.";
constexpr char PathTooLong[] = "The path is too long.";

constexpr char Hive[] = "Windows Registry Editor Version 5.00\r\n"
                        "\r\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n"
                        "\"Id\"=\"PC-7\"\r\n"
                        "\r\n"
                        "[HKEY_CURRENT_USER\\Software\\Vendor]\r\n";

// A rule dialog for the package "Logs" on a scripted screen, over a small hive.
struct RuleDialog {
    RuleDialog() { folder.write("MorvaneRegistry.reg", Hive); }

    void openFileRule(int index, const FileRule& initial, std::vector<FileRule> existing)
    {
        dialog.mode = AddUpdateLine::FileRuleMode;
        dialog.adding = index < 0 ? 1 : 0;
        dialog.ruleIndex = index;
        if (index >= 0) {
            dialog.numberOfFiles = initial.Filenum;
            dialog.recursive = initial.Recursive == "1" ? 1 : 0;
            dialog.folder = initial.Directory;
            dialog.fileFormat = initial.FileFormat;
        }
        dialog.existingFileRules = std::move(existing);
        open();
    }

    void openRegistryRule(int index, const std::string& initial, std::vector<RegistryRule> existing)
    {
        dialog.mode = AddUpdateLine::RegistryRuleMode;
        dialog.adding = index < 0 ? 1 : 0;
        dialog.ruleIndex = index;
        if (index >= 0)
            dialog.registryPath = initial;
        dialog.existingRegistryRules = std::move(existing);
        open();
    }

    void open()
    {
        dialog.packageName = packageName;
        dialog.attach(&screen);
        dialog.OnInitDialog();
    }

    // The user types into the file format, one character at a time.
    void typeFileFormat(const std::string& text)
    {
        for (char c : text) {
            screen.setControlText(AddUpdateLine::FileFormatField, screen.controlText(AddUpdateLine::FileFormatField) + c);
            dialog.OnFileFormatChanged();
        }
    }

    void enter(const std::string& fileFormat, const std::string& folderText)
    {
        screen.setControlText(AddUpdateLine::FileFormatField, fileFormat);
        screen.setControlText(AddUpdateLine::FolderField, folderText);
    }

    std::string packageName = "Logs";
    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    ScriptedScreen screen;
    AddUpdateLine dialog{store, &boxes};
};

const std::vector<FileRule> FourRules = {
    {"2", "0", "C:\\var\\log\\", "*.log"},
    {"1", "1", "C:\\Logs\\", "trace.txt"},
    {"3", "0", "C:\\opt\\app\\", "*.ini"},
    {"4", "0", "C:\\srv\\", "*.dat"},
};

TEST(AddUpdateLine, OKChecksTheRuleInOrderAndRefusesWhatThePackageHolds)
{
    struct Case {
        const char* name;
        std::function<void(RuleDialog&)> act;
        std::vector<std::string> boxes; // empty: the dialog ends with OK
    };
    const Case cases[] = {
        {"a rule updated unchanged",
         [](RuleDialog& d) { d.openFileRule(1, FourRules[1], FourRules); }, {}},
        {"the same folder and format in other letter case",
         [](RuleDialog& d) {
             d.openFileRule(-1, {}, {{"1", "0", "c:\\logs\\", "*.log"}});
             d.enter("*.LOG", "C:\\Logs\\");
         },
         {"file already exists in package 'Logs'"}},
        {"rule 3 updated to the values of rule 1",
         [](RuleDialog& d) {
             d.openFileRule(3, FourRules[3], FourRules);
             d.enter("trace.txt", "C:\\Logs\\");
         },
         {"file already exists in package 'Logs'"}},
        {"rule 3 that already held the values of rule 1",
         [](RuleDialog& d) {
             std::vector<FileRule> rules = FourRules;
             rules[3] = rules[1];
             d.openFileRule(3, rules[3], rules);
         },
         {}},
        {"a package name with New in it is kept whole",
         [](RuleDialog& d) {
             d.packageName = "New Logs";
             d.openFileRule(-1, {}, FourRules);
             d.enter("*.ini", "C:\\OPT\\APP\\");
         },
         {"file already exists in package 'New Logs'"}},
        {"an empty file format",
         [](RuleDialog& d) {
             d.openFileRule(-1, {}, {});
             d.enter("", "C:\\Logs\\");
         },
         {InvalidFileFormat}},
        {"a forbidden character",
         [](RuleDialog& d) {
             d.openFileRule(-1, {}, {});
             d.enter("a|b:c", "C:\\Logs\\");
         },
         {"Invalid character ':' in File Format field."}},
        {"a file format of 29 characters",
         [](RuleDialog& d) {
             d.openFileRule(-1, {}, {});
             d.enter(std::string(29, 'f'), "C:\\Logs\\");
         },
         {}},
        {"a file format of 30 characters",
         [](RuleDialog& d) {
             d.openFileRule(-1, {}, {});
             d.enter(std::string(30, 'f'), "C:\\Logs\\");
             d.dialog.OnOK();
             EXPECT_EQ(d.screen.controlText(AddUpdateLine::FileFormatField), "");
         },
         {InvalidFileFormat, InvalidFileFormat}},
        {"a folder without a drive",
         [](RuleDialog& d) {
             d.openFileRule(-1, {}, {});
             d.enter("*.log", "\\\\server\\logs\\");
         },
         {InvalidFolder}},
        {"no number of files",
         [](RuleDialog& d) {
             d.openFileRule(0, {"25", "0", "C:\\Logs\\", "*.log"}, {});
             EXPECT_EQ(d.screen.controlValue(AddUpdateLine::NumberOfFilesList), -1);
         },
         {InvalidNumberOfFiles}},
        {"a registry path that is a duplicate but for its trailing backslash",
         [](RuleDialog& d) {
             d.openRegistryRule(-1, "", {{"HKEY_CURRENT_USER\\Software\\"}, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\"}});
             d.screen.setControlText(AddUpdateLine::RegistryPathField, "hkey_local_machine\\software\\vendor");
         },
         {"Registry path already exists in package 'Logs'"}},
        {"a registry rule updated unchanged",
         [](RuleDialog& d) {
             d.openRegistryRule(1, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\",
                                {{"HKEY_CURRENT_USER\\Software\\"}, {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\"}});
         },
         {}},
        {"a value path in registry mode",
         [](RuleDialog& d) {
             d.openRegistryRule(-1, "", {});
             d.screen.setControlText(AddUpdateLine::RegistryPathField, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Id");
         },
         {InvalidRegistryPath}},
        {"a key that does not exist",
         [](RuleDialog& d) {
             d.openRegistryRule(-1, "", {});
             d.screen.setControlText(AddUpdateLine::RegistryPathField, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Other");
         },
         {InvalidRegistryPath}},
        {"a registry path without a backslash",
         [](RuleDialog& d) {
             d.openRegistryRule(-1, "", {});
             d.screen.setControlText(AddUpdateLine::RegistryPathField, "HKEY_LOCAL_MACHINE");
         },
         {InvalidRegistryPath}},
        {"a registry path with a doubled backslash",
         [](RuleDialog& d) {
             d.openRegistryRule(-1, "", {});
             d.screen.setControlText(AddUpdateLine::RegistryPathField, "HKEY_LOCAL_MACHINE\\\\SOFTWARE");
         },
         {InvalidRegistryPath}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RuleDialog d;
        c.act(d);
        d.dialog.OnOK();
        EXPECT_EQ(d.boxes.texts(), c.boxes);
        for (const ShownMessageBox& box : d.boxes.shown())
            EXPECT_EQ(box.caption, "Error");
        if (c.boxes.empty())
            EXPECT_EQ(d.screen.endResult, IDOK);
        else
            EXPECT_FALSE(d.screen.endResult.has_value());
    }
}

TEST(AddUpdateLine, HandsBackTheValuesOfTheRule)
{
    RuleDialog file;
    file.openFileRule(-1, {}, FourRules);
    file.enter("*.txt", "C:\\Logs\\");
    file.screen.setControlValue(AddUpdateLine::NumberOfFilesList, 11);
    file.screen.setControlValue(AddUpdateLine::RecursiveCheck, 1);
    file.dialog.OnOK();
    ASSERT_EQ(file.screen.endResult, IDOK);
    EXPECT_EQ(file.dialog.fileFormat, "*.txt");
    EXPECT_EQ(file.dialog.folder, "C:\\Logs\\");
    EXPECT_EQ(file.dialog.numberOfFiles, "12");
    EXPECT_EQ(file.dialog.recursive, 1);

    RuleDialog registry;
    registry.openRegistryRule(-1, "", {});
    registry.screen.setControlText(AddUpdateLine::RegistryPathField, "hkey_local_machine\\SOFTWARE\\Vendor");
    registry.dialog.OnOK();
    ASSERT_EQ(registry.screen.endResult, IDOK);
    EXPECT_EQ(registry.dialog.registryPath, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
    EXPECT_EQ(registry.screen.controlText(AddUpdateLine::RegistryPathField), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
}

TEST(AddUpdateLine, ARuleWithoutANumberOfFilesGetsOneSelectedWhenRefused)
{
    RuleDialog d;
    d.openFileRule(0, {"x", "0", "C:\\Logs\\", "*.log"}, {});
    ASSERT_EQ(d.screen.controlValue(AddUpdateLine::NumberOfFilesList), -1);
    d.dialog.OnOK();
    EXPECT_EQ(d.boxes.texts(), std::vector<std::string>{InvalidNumberOfFiles});
    EXPECT_EQ(d.screen.controlValue(AddUpdateLine::NumberOfFilesList), 0);
    d.dialog.OnOK();
    EXPECT_EQ(d.screen.endResult, IDOK);
    EXPECT_EQ(d.dialog.numberOfFiles, "1");
}

TEST(AddUpdateLine, TypingAFileFormatSelectsOneFileForPlainNamesAndForStarDotStar)
{
    struct Case {
        const char* typed;
        int selected;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"*.*", 0, {}},
        {"trace.txt", 0, {}},
        {"*.log", 4, {}},
        {"*.lo?", 4, {"Invalid character '?' in File Format field."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        RuleDialog d;
        d.openFileRule(0, {"5", "0", "C:\\Logs\\", ""}, {});
        ASSERT_EQ(d.screen.controlValue(AddUpdateLine::NumberOfFilesList), 4);
        d.typeFileFormat(c.typed);
        EXPECT_EQ(d.screen.controlValue(AddUpdateLine::NumberOfFilesList), c.selected);
        EXPECT_EQ(d.screen.controlText(AddUpdateLine::FileFormatField), c.typed);
        EXPECT_EQ(d.boxes.texts(), c.boxes);
    }
}

TEST(AddUpdateLine, TheFileFormatStopsAtThirtyBytesTyped)
{
    RuleDialog d;
    d.openFileRule(-1, {}, {});
    d.typeFileFormat(std::string(31, 'x'));
    EXPECT_EQ(d.screen.controlText(AddUpdateLine::FileFormatField), std::string(30, 'x'));
}

TEST(AddUpdateLine, OpensWithTheTitleSizeAndControlsOfItsMode)
{
    struct Case {
        int mode;
        int adding;
        const char* title;
        int height;
    };
    const Case cases[] = {
        {AddUpdateLine::FileRuleMode, 1, "Add File", 200},
        {AddUpdateLine::FileRuleMode, 0, "Update File", 200},
        {AddUpdateLine::RegistryRuleMode, 1, "Add Registry Path", 120},
        {AddUpdateLine::RegistryRuleMode, 0, "Update Registry Path", 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        RuleDialog d;
        d.dialog.mode = c.mode;
        d.dialog.adding = c.adding;
        d.dialog.numberOfFiles = "7";
        d.open();
        EXPECT_EQ(d.screen.title, c.title);
        EXPECT_EQ(d.screen.size, std::make_pair(480, c.height));
        const bool fileMode = c.mode == AddUpdateLine::FileRuleMode;
        for (int id : {AddUpdateLine::FolderField, AddUpdateLine::FileFormatField, AddUpdateLine::NumberOfFilesList,
                       AddUpdateLine::RecursiveCheck, AddUpdateLine::OkButton, AddUpdateLine::CancelButton})
            EXPECT_EQ(d.screen.control(id).visible, fileMode) << id;
        for (int id : {AddUpdateLine::RegistryPathField, AddUpdateLine::RegistryBrowseButton,
                       AddUpdateLine::RegistryOkButton, AddUpdateLine::RegistryCancelButton})
            EXPECT_EQ(d.screen.control(id).visible, !fileMode) << id;
        EXPECT_FALSE(d.screen.control(AddUpdateLine::FileFormatButton).visible);
        EXPECT_EQ(d.screen.controlValue(AddUpdateLine::NumberOfFilesList), c.adding ? 0 : 6);
    }
    EXPECT_EQ(AddUpdateLine::NumberOfFilesItems().size(), 24u);
    EXPECT_EQ(AddUpdateLine::NumberOfFilesItems().front(), "1");
    EXPECT_EQ(AddUpdateLine::NumberOfFilesItems().back(), "24");
}

TEST(AddUpdateLine, TheBrowsersFillTheFolderAndTheRegistryPath)
{
    RuleDialog d;
    d.openFileRule(-1, {}, {});
    d.screen.setNextDialog([](Dialog& opened) {
        auto& picker = dynamic_cast<CFolderDialog&>(opened);
        EXPECT_EQ(picker.title(), "Select Folder to Gather Files");
        EXPECT_EQ(picker.flags(), 0x40001u);
        return picker.OnChosen("/var/log");
    });
    d.dialog.OnBrowseFolder();
    EXPECT_EQ(d.screen.controlText(AddUpdateLine::FolderField), "C:\\var\\log\\");

    d.screen.setNextDialog([](Dialog& opened) {
        return dynamic_cast<CFolderDialog&>(opened).OnChosen("/" + std::string(257, 'd'));
    });
    d.dialog.OnBrowseFolder();
    EXPECT_EQ(d.boxes.texts(), std::vector<std::string>{PathTooLong});
    EXPECT_EQ(d.screen.controlText(AddUpdateLine::FolderField), "C:\\var\\log\\");

    RuleDialog registry;
    registry.openRegistryRule(-1, "", {});
    registry.screen.setNextDialog([](Dialog& opened) {
        auto& browser = dynamic_cast<BrowseReg&>(opened);
        EXPECT_EQ(browser.valueMode, 0);
        browser.resultPath = "HKEY_CURRENT_USER\\Software\\Vendor\\";
        return IDOK;
    });
    registry.dialog.OnBrowseRegistry();
    EXPECT_EQ(registry.screen.controlText(AddUpdateLine::RegistryPathField), "HKEY_CURRENT_USER\\Software\\Vendor\\");
    EXPECT_EQ(registry.dialog.registryPath, "HKEY_CURRENT_USER\\Software\\Vendor\\");
}

TEST(AddUpdateLine, CancelEndsTheDialogAsCancel)
{
    RuleDialog d;
    d.openFileRule(-1, {}, {});
    d.dialog.OnCancel();
    EXPECT_EQ(d.screen.endResult, 2);
}

} // namespace
