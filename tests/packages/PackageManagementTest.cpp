#include "AddUpdateLine.h"
#include "ListPackage.h"
#include "MorvaneDlg.h"
#include "NewPackage.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedScreen.h"

#include "WorkingFolder.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int CancelAnswer = 2;

constexpr char DefaultSettings[] = "[CONFIGURATION]\r\nPerform FTP=1\r\n\r\n[SELECT PACKAGE]\r\n0)Name=Logs\r\n";
// Two file rules, the first recursive, and one registry rule.
constexpr char LogsPackage[] = "[FILES]\r\n"
                               "0)Filenum=3\r\n0)Directory=C:\\var\\log\\\r\n0)FileFormat=*.log\r\n0)Recursive=1\r\n"
                               "1)Filenum=1\r\n1)Directory=C:\\etc\\\r\n1)FileFormat=hosts\r\n1)Recursive=0\r\n"
                               "[REGISTRY]\r\n0)HKEY=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\r\n";
// What the package writer makes of LogsPackage.
constexpr char LogsAsWritten[] = "\r\n\r\n\r\n\r\n[FILES]\r\n"
                                 "0)Filenum=3\r\n0)Directory=C:\\var\\log\\\r\n0)FileFormat=*.log\r\n0)Recursive=1\r\n"
                                 "1)Filenum=1\r\n1)Directory=C:\\etc\\\r\n1)FileFormat=hosts\r\n1)Recursive=0\r\n"
                                 "\r\n\r\n\r\n[REGISTRY]\r\n0)HKEY=HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\r\n";
constexpr char EmptyPackageAsWritten[] = "\r\n\r\n\r\n\r\n\r\n\r\n\r\n[REGISTRY]\r\n";

using Rows = std::vector<std::vector<std::string>>;

// The default package Logs, selected by the default settings; the window is started on a
// scripted screen, so the store holds the current copies of the defaults.
class PackageManagementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.write("Morvane Package/Morvane.ini", DefaultSettings);
        folder.write("Morvane Package/package_Logs.ini", LogsPackage);
        window.attach(&screen);
    }

    void start() { window.OnInitDialog(); }

    // The user chooses a package in the combo.
    void choose(const std::string& name)
    {
        ASSERT_GE(window.packageCombo.SelectString(name), 0) << name;
        window.OnPackageSelected();
    }

    void showTab(int tab)
    {
        screen.setControlValue(MorvaneDlg::PackageTab, tab);
        window.ShowTab(tab);
    }

    void writeCurrentPackage(const std::string& name, const std::string& bytes)
    {
        ASSERT_TRUE(platform::replaceFile(store.CurrentPackagePath(name), bytes));
    }

    // The current copy of a package, found as the store finds it (whatever its spelling).
    std::string currentPackage(const std::string& name) const
    {
        std::string bytes;
        platform::readFile(store.CurrentPackagePath(name), bytes);
        return bytes;
    }

    std::string selection() const
    {
        std::string list;
        int count = 0;
        store.ReadSelection(store.CurrentSettingsPath(), list, count);
        return list;
    }

    std::vector<std::string> comboEntries() const
    {
        std::vector<std::string> entries;
        for (int i = 0; i < window.packageCombo.GetCount(); ++i)
            entries.push_back(window.packageCombo.GetLBText(i));
        return entries;
    }

    // Number of files, recursive, folder and file format of each row of the file list.
    Rows fileRows() const
    {
        Rows rows;
        for (int row = 0; row < window.fileList.GetItemCount(); ++row)
            rows.push_back({window.fileList.GetItemText(row, 1), window.fileList.GetItemText(row, 2),
                            window.fileList.GetItemText(row, 3), window.fileList.GetItemText(row, 4)});
        return rows;
    }

    std::vector<std::string> registryRows() const
    {
        std::vector<std::string> rows;
        for (int row = 0; row < window.registryList.GetItemCount(); ++row)
            rows.push_back(window.registryList.GetItemText(row, 0));
        return rows;
    }

    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    ScriptedScreen screen;
    MorvaneDlg window{store, &boxes,
                      [](const std::string&, const std::string&, const std::string&, int) { return 100u; }};
};

const Rows LogsFileRows = {{"3", "Yes", "C:\\var\\log\\", "*.log"}, {"1", "", "C:\\etc\\", "hosts"}};

} // namespace

TEST_F(PackageManagementTest, TheComboOffersNamesOfAtMost25CharactersUnlessThereIsOnlyOnePackage)
{
    const std::string name25 = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    const std::string name26 = name25 + "Z";
    struct Case {
        const char* title;
        std::vector<std::string> packages;
        std::vector<std::string> offered;
    };
    const std::vector<Case> cases = {
        {"several packages, sorted without regard to case", {"Gamma", name26, "beta", name25, "Alpha"},
         {name25, "Alpha", "beta", "Gamma"}},
        {"the only package, whatever its length", {name26}, {name26}},
        {"no package", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        std::filesystem::remove_all("Morvane Package");
        for (const std::string& package : c.packages)
            folder.write("Morvane Package/Current_Package_" + package + ".ini", "");
        window.packageCombo.AddString("stale");
        window.packageCombo.SetCurSel(0);

        window.FillPackageCombo();
        EXPECT_EQ(comboEntries(), c.offered);
        EXPECT_EQ(window.packageCombo.GetCurSel(), -1);
        EXPECT_EQ(window.packageCombo.GetWindowText(), "");
    }
}

TEST_F(PackageManagementTest, StartsWithNoPackageChosenAndTheEmptyFileListShown)
{
    start();
    EXPECT_EQ(comboEntries(), (std::vector<std::string>{"Logs"}));
    EXPECT_EQ(window.packageCombo.GetCurSel(), -1);
    EXPECT_EQ(window.fileList.GetItemCount(), 0);
    EXPECT_EQ(window.registryList.GetItemCount(), 0);
    EXPECT_TRUE(screen.control(MorvaneDlg::FileList).visible);
    EXPECT_FALSE(screen.control(MorvaneDlg::RegistryList).visible);
    EXPECT_EQ(screen.control(MorvaneDlg::FileList).value, -1);
    EXPECT_EQ(screen.control(MorvaneDlg::RegistryList).value, -1);

    struct Column {
        std::string heading;
        ColumnAlignment alignment;
        int width;
    };
    const std::vector<Column> fileColumns = {{"", ColumnAlignment::Centre, 0},
                                             {"Files Num", ColumnAlignment::Centre, 60},
                                             {"Recursive", ColumnAlignment::Centre, 60},
                                             {"Folder", ColumnAlignment::Left, 240},
                                             {"File Format", ColumnAlignment::Left, 94}};
    ASSERT_EQ(window.fileList.GetColumnCount(), 5);
    for (int column = 0; column < 5; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(window.fileList.GetColumnHeading(column), fileColumns[column].heading);
        EXPECT_EQ(window.fileList.GetColumnAlignment(column), fileColumns[column].alignment);
        EXPECT_EQ(window.fileList.GetColumnWidth(column), fileColumns[column].width);
    }
    EXPECT_TRUE(window.fileList.fullRowSelect);
    ASSERT_EQ(window.registryList.GetColumnCount(), 1);
    EXPECT_EQ(window.registryList.GetColumnHeading(0), "Registry List");
    EXPECT_EQ(window.registryList.GetColumnWidth(0), 460);
    EXPECT_EQ(window.registryList.layoutName, "listreg");
}

TEST_F(PackageManagementTest, ChoosingAPackageLoadsItsRulesAndShowsRestoreListOnlyWithADefaultCopy)
{
    writeCurrentPackage("Mine", "[FILES]\r\n0)Filenum=2\r\n0)Directory=C:\\tmp\\\r\n0)FileFormat=*.txt\r\n"
                                "0)Recursive=7\r\n");
    start();
    choose("Logs");
    EXPECT_EQ(fileRows(), LogsFileRows);
    EXPECT_EQ(registryRows(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane"}));
    const CellData* path = window.registryList.GetCellData(0, 0);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->textColour, MakeColour(0, 0, 0));
    EXPECT_EQ(path->backgroundColour, MakeColour(255, 255, 255));
    EXPECT_TRUE(screen.control(MorvaneDlg::RestoreListButton).visible);

    choose("Mine");
    EXPECT_EQ(fileRows(), (Rows{{"2", "Yes", "C:\\tmp\\", "*.txt"}}));
    EXPECT_TRUE(registryRows().empty());
    EXPECT_FALSE(screen.control(MorvaneDlg::RestoreListButton).visible);

    window.ShowTab(1);
    EXPECT_FALSE(screen.control(MorvaneDlg::FileList).visible);
    EXPECT_TRUE(screen.control(MorvaneDlg::RegistryList).visible);
    window.ShowTab(2);
    EXPECT_TRUE(screen.control(MorvaneDlg::RegistryList).visible);
    window.ShowTab(0);
    EXPECT_TRUE(screen.control(MorvaneDlg::FileList).visible);
    EXPECT_FALSE(screen.control(MorvaneDlg::RegistryList).visible);
}

TEST_F(PackageManagementTest, SavingWritesTheCurrentCopyInThePackageLayout)
{
    struct Case {
        const char* title;
        std::string stored;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"file and registry rules, renumbered, recursive as 1 or 0",
         "[REGISTRY]\n0)HKEY= HKEY_CURRENT_USER\\Software \n1)HKEY=HKEY_USERS\\.DEFAULT\n"
         "[FILES]\n0)Recursive=2\n0)FileFormat=*.log\n0)Directory=C:\\var\\log\\\n0)Filenum=3\n"
         "1)Filenum=12\n1)Directory=C:\\etc\\\n1)FileFormat=hosts\n1)Recursive=x\n",
         "\r\n\r\n\r\n\r\n[FILES]\r\n"
         "0)Filenum=3\r\n0)Directory=C:\\var\\log\\\r\n0)FileFormat=*.log\r\n0)Recursive=1\r\n"
         "1)Filenum=12\r\n1)Directory=C:\\etc\\\r\n1)FileFormat=hosts\r\n1)Recursive=0\r\n"
         "\r\n\r\n\r\n[REGISTRY]\r\n0)HKEY=HKEY_CURRENT_USER\\Software\r\n1)HKEY=HKEY_USERS\\.DEFAULT\r\n"},
        {"registry rules only: no FILES section", "[REGISTRY]\r\n0)HKEY=HKEY_CURRENT_USER\\Software\r\n",
         "\r\n\r\n\r\n\r\n\r\n\r\n\r\n[REGISTRY]\r\n0)HKEY=HKEY_CURRENT_USER\\Software\r\n"},
        {"no rules", "", EmptyPackageAsWritten},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        writeCurrentPackage("Mine", c.stored);
        window.FillPackageCombo();
        choose("Mine");
        EXPECT_TRUE(window.SavePackageLists());
        EXPECT_EQ(currentPackage("Mine"), c.written);
    }
}

TEST_F(PackageManagementTest, ARuleEqualToARowInAnotherCaseWithBlanksAddsNothing)
{
    struct Case {
        int tab;
        const char* folder;
        const char* fileFormat;
        bool added;
    };
    const Case cases[] = {
        {0, "  c:\\VAR\\LOG\\ ", "\t*.LOG ", false},
        {0, "C:\\var\\log\\", "*.txt", true},
        {0, "C:\\var\\", "*.log", true},
        {1, " hkey_local_machine\\software\\MORVANE\t", "", false},
        {1, "HKEY_LOCAL_MACHINE\\SOFTWARE", "", true},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " " + c.fileFormat);
        writeCurrentPackage("Logs", LogsPackage);
        choose("Logs");
        showTab(c.tab);
        ListCtrlPackage& list = c.tab == 1 ? window.registryList : window.fileList;
        const int rows = list.GetItemCount();

        window.AddOrUpdateRow(true, "5", c.folder, c.fileFormat, 0);
        EXPECT_EQ(list.GetItemCount(), rows + (c.added ? 1 : 0));
        const std::string line = c.tab == 1 ? std::string("1)HKEY=") + c.folder : std::string("2)Directory=") + c.folder;
        if (c.added)
            EXPECT_NE(currentPackage("Logs").find(line + "\r\n"), std::string::npos);
        else
            EXPECT_EQ(currentPackage("Logs"), LogsPackage);
        EXPECT_TRUE(boxes.shown().empty());
    }
}

TEST_F(PackageManagementTest, AFolderHoldingACommaShowsSplitAfterReloading)
{
    start();
    window.OnTemporaryPackage();
    window.AddOrUpdateRow(true, "2", "C:\\a,b\\", "*.log", 0);
    EXPECT_EQ(fileRows(), (Rows{{"2", "", "C:\\a,b\\", "*.log"}}));

    window.OnPackageSelected();
    EXPECT_EQ(fileRows(), (Rows{{"2", "", "C:\\a", "b\\"}}));
}

TEST_F(PackageManagementTest, AddOpensTheRuleDialogForTheTabAndAppendsTheRuleItReturns)
{
    start();
    choose("Logs");
    screen.setControlValue(MorvaneDlg::FileList, 1);
    screen.setNextDialog([](Dialog& dialog) {
        auto& rule = dynamic_cast<AddUpdateLine&>(dialog);
        EXPECT_EQ(rule.mode, 0);
        EXPECT_EQ(rule.adding, 1);
        EXPECT_EQ(rule.packageName, "Logs");
        EXPECT_EQ(rule.ruleIndex, -1);
        EXPECT_EQ(rule.folder, "");
        EXPECT_EQ(rule.existingFileRules.size(), 2u);
        EXPECT_EQ(rule.existingFileRules.at(1).Directory, "C:\\etc\\");
        rule.folder = "C:\\tmp\\";
        rule.fileFormat = "*.txt";
        rule.numberOfFiles = "4";
        rule.recursive = 1;
        return IDOK;
    });
    window.OnAdd();
    EXPECT_EQ(fileRows().back(), (std::vector<std::string>{"4", "Yes", "C:\\tmp\\", "*.txt"}));
    EXPECT_EQ(screen.control(MorvaneDlg::FileList).value, 1);
    EXPECT_NE(currentPackage("Logs").find("2)Filenum=4\r\n2)Directory=C:\\tmp\\\r\n2)FileFormat=*.txt\r\n2)Recursive=1"),
              std::string::npos);

    showTab(1);
    screen.setNextDialog([](Dialog& dialog) {
        auto& rule = dynamic_cast<AddUpdateLine&>(dialog);
        EXPECT_EQ(rule.mode, 1);
        EXPECT_EQ(rule.existingRegistryRules.size(), 1u);
        rule.registryPath = "HKEY_CURRENT_USER\\Software";
        return IDOK;
    });
    window.OnAdd();
    EXPECT_EQ(registryRows().back(), "HKEY_CURRENT_USER\\Software");
    EXPECT_NE(currentPackage("Logs").find("1)HKEY=HKEY_CURRENT_USER\\Software"), std::string::npos);

    // Nothing is added for a cancelled dialog, nor for an empty path.
    const std::string saved = currentPackage("Logs");
    screen.setNextDialog([](Dialog&) { return CancelAnswer; });
    window.OnAdd();
    screen.setNextDialog([](Dialog&) { return IDOK; });
    window.OnAdd();
    EXPECT_EQ(registryRows().size(), 2u);
    EXPECT_EQ(currentPackage("Logs"), saved);
    EXPECT_EQ(screen.busyDepth, 0);
}

TEST_F(PackageManagementTest, UpdateFillsTheRuleDialogFromTheSelectedRowAndRewritesThatRow)
{
    start();
    choose("Logs");
    screen.setControlValue(MorvaneDlg::FileList, 0);
    screen.setNextDialog([](Dialog& dialog) {
        auto& rule = dynamic_cast<AddUpdateLine&>(dialog);
        EXPECT_EQ(rule.adding, 0);
        EXPECT_EQ(rule.ruleIndex, 0);
        EXPECT_EQ(rule.numberOfFiles, "3");
        EXPECT_EQ(rule.recursive, 1);
        EXPECT_EQ(rule.folder, "C:\\var\\log\\");
        EXPECT_EQ(rule.fileFormat, "*.log");
        rule.numberOfFiles = "9";
        rule.recursive = 0;
        return IDOK;
    });
    window.OnUpdate();
    EXPECT_EQ(fileRows(), (Rows{{"9", "", "C:\\var\\log\\", "*.log"}, LogsFileRows[1]}));
    EXPECT_NE(currentPackage("Logs").find("0)Filenum=9\r\n0)Directory=C:\\var\\log\\\r\n0)FileFormat=*.log\r\n"
                                          "0)Recursive=0"),
              std::string::npos);

    showTab(1);
    screen.setControlValue(MorvaneDlg::RegistryList, 0);
    screen.setNextDialog([](Dialog& dialog) {
        auto& rule = dynamic_cast<AddUpdateLine&>(dialog);
        EXPECT_EQ(rule.mode, 1);
        EXPECT_EQ(rule.registryPath, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane");
        rule.registryPath = "HKEY_LOCAL_MACHINE\\SOFTWARE";
        return IDOK;
    });
    window.OnUpdate();
    EXPECT_EQ(registryRows(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE"}));
    EXPECT_NE(currentPackage("Logs").find("0)HKEY=HKEY_LOCAL_MACHINE\\SOFTWARE\r\n"), std::string::npos);
}

TEST_F(PackageManagementTest, RowCommandsNeedAPackageAndASelectedRow)
{
    constexpr char NoPackage[] = "Missing or invalid value in the Package Name field.";
    struct Case {
        const char* title;
        bool packageChosen;
        int tab;
        std::function<void(MorvaneDlg&)> command;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"Add without a package", false, 0, [](MorvaneDlg& w) { w.OnAdd(); }, NoPackage},
        {"Update without a package", false, 0, [](MorvaneDlg& w) { w.OnUpdate(); }, NoPackage},
        {"Delete without a package", false, 1, [](MorvaneDlg& w) { w.OnDelete(); }, NoPackage},
        {"Restore List without a package", false, 0, [](MorvaneDlg& w) { w.OnRestoreList(); }, NoPackage},
        {"Delete Package without a package", false, 0, [](MorvaneDlg& w) { w.OnDeletePackage(); }, NoPackage},
        {"Delete without a file row", true, 0, [](MorvaneDlg& w) { w.OnDelete(); },
         "No file was selected for delete. Please select file."},
        {"Delete without a registry row", true, 1, [](MorvaneDlg& w) { w.OnDelete(); },
         "No Registry was selected for delete. Please select Registry."},
        {"Update without a registry row", true, 1, [](MorvaneDlg& w) { w.OnUpdate(); },
         "No Registry was selected for update. Please select Registry."},
        {"Update without a file row", true, 0, [](MorvaneDlg& w) { w.OnUpdate(); },
         "No file was selected for update. Please select file."},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        window.packageCombo.SetCurSel(-1);
        if (c.packageChosen)
            choose("Logs");
        showTab(c.tab);
        boxes.clear();

        c.command(window);
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, c.message);
        EXPECT_EQ(boxes.shown()[0].caption, "Error");
        EXPECT_EQ(boxes.shown()[0].style, MB_ICONHAND);
        EXPECT_TRUE(screen.dialogsRun.empty());
        EXPECT_EQ(currentPackage("Logs"), LogsPackage);
    }
}

TEST_F(PackageManagementTest, DeletingTheOnlyRowLeavesAnEmptyRegistrySection)
{
    writeCurrentPackage("Only", "[FILES]\r\n0)Filenum=1\r\n0)Directory=C:\\tmp\\\r\n0)FileFormat=a.txt\r\n"
                                "0)Recursive=0\r\n");
    start();
    choose("Only");
    screen.setControlValue(MorvaneDlg::FileList, 0);
    boxes.setNextAnswer(IDNO);
    window.OnDelete();
    EXPECT_EQ(window.fileList.GetItemCount(), 1);

    boxes.setNextAnswer(IDYES);
    window.OnDelete();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].text,
              "Are you sure you want to delete the \n 'C:\\tmp\\a.txt' \n file from package 'Only'? \n\n");
    EXPECT_EQ(boxes.shown()[1].caption, "Confirmation");
    EXPECT_EQ(boxes.shown()[1].style, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(window.fileList.GetItemCount(), 0);
    EXPECT_EQ(screen.control(MorvaneDlg::FileList).value, -1);
    EXPECT_EQ(currentPackage("Only"), EmptyPackageAsWritten);
}

TEST_F(PackageManagementTest, DeletingARegistryRowAsksWithItsPathAndSaves)
{
    start();
    choose("Logs");
    showTab(1);
    screen.setControlValue(MorvaneDlg::RegistryList, 0);
    boxes.setNextAnswer(IDYES);
    window.OnDelete();
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Are you sure you want to delete the \n  'HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane'  \n "
                                "Registry Path from package 'Logs'? \n\n");
    EXPECT_TRUE(registryRows().empty());
    EXPECT_EQ(fileRows(), LogsFileRows);
    const std::string saved = LogsAsWritten;
    EXPECT_EQ(currentPackage("Logs"), saved.substr(0, saved.find("0)HKEY")));
}

TEST_F(PackageManagementTest, TemporaryPackageTwiceShowsThatItExistsAndShowsTheExistingOne)
{
    start();
    window.OnTemporaryPackage();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(currentPackage("Temporary"), "");
    EXPECT_TRUE(platform::pathExists(store.CurrentPackagePath("Temporary")));
    EXPECT_EQ(selection(), "Logs*Temporary*");
    EXPECT_EQ(window.packageCombo.GetWindowText(), "Temporary");
    EXPECT_FALSE(screen.control(MorvaneDlg::RestoreListButton).visible);
    window.AddOrUpdateRow(true, "1", "C:\\tmp\\", "*.dmp", 0);
    const std::string saved = currentPackage("Temporary");

    choose("Logs");
    EXPECT_TRUE(screen.control(MorvaneDlg::RestoreListButton).visible);
    window.OnTemporaryPackage();
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Package 'Temporary' already exists.");
    EXPECT_EQ(boxes.shown()[0].caption, "Error");
    EXPECT_EQ(window.packageCombo.GetWindowText(), "Temporary");
    EXPECT_EQ(fileRows(), (Rows{{"1", "", "C:\\tmp\\", "*.dmp"}}));
    EXPECT_FALSE(screen.control(MorvaneDlg::RestoreListButton).visible);
    EXPECT_EQ(currentPackage("Temporary"), saved);
    EXPECT_EQ(selection(), "Logs*Temporary*");
}

TEST_F(PackageManagementTest, APackageThatCannotBeCreatedIsReportedAndThePackageShownStays)
{
    start();
    choose("Logs");
    std::filesystem::rename("Morvane Package", "Moved away");

    window.OnTemporaryPackage();
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0],
              "Package 'Temporary' could not be created as '.\\Morvane Package\\Current_Package_Temporary.ini'.");
    EXPECT_EQ(window.packageCombo.GetWindowText(), "Logs");
    EXPECT_EQ(fileRows(), LogsFileRows);
}

TEST_F(PackageManagementTest, AFailedSaveIsReportedAndLeavesTheFileWhole)
{
    start();
    choose("Logs");
    ASSERT_TRUE(platform::setFileAttributes(store.CurrentPackagePath("Logs"), FILE_ATTRIBUTE_READONLY));
    screen.setControlValue(MorvaneDlg::FileList, 0);
    boxes.setNextAnswer(IDYES);
    window.OnDelete();
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].caption, "Error");
    EXPECT_EQ(boxes.shown()[1].text,
              "Package 'Logs' could not be written to '.\\Morvane Package\\Current_Package_Logs.ini'.");
    EXPECT_EQ(currentPackage("Logs"), LogsPackage);
}

TEST_F(PackageManagementTest, DeletePackageAsksByItsDefaultCopyAndRemovesTheCurrentCopyAndItsSelection)
{
    struct Case {
        const char* name;
        int answer;
        const char* question;
        bool deleted;
    };
    const Case cases[] = {
        {"Logs", IDYES, "Are you sure you want to delete the 'Logs' package?\n\n", true},
        {"Mine", IDYES, " Are you sure you want to delete package 'Mine'?\n This package cannot be restored.\n\n", true},
        {"Mine", IDNO, " Are you sure you want to delete package 'Mine'?\n This package cannot be restored.\n\n", false},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.deleted ? " deleted" : " kept"));
        window.OnReset();
        writeCurrentPackage("Mine", LogsPackage);
        folder.write("Morvane Package/Current_Morvane.ini", std::string(DefaultSettings) + "1)Name=Mine\r\n");
        window.FillPackageCombo();
        choose(c.name);
        boxes.clear();
        boxes.setNextAnswer(c.answer);

        window.OnDeletePackage();
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, c.question);
        EXPECT_EQ(boxes.shown()[0].caption, "Confirmation");
        EXPECT_EQ(boxes.shown()[0].style, MB_YESNO | MB_ICONQUESTION);
        EXPECT_EQ(platform::pathExists(store.CurrentPackagePath(c.name)), !c.deleted);
        EXPECT_TRUE(platform::pathExists(store.DefaultPackagePath("Logs")));
        EXPECT_EQ(selection().find(std::string(c.name) + "*") == std::string::npos, c.deleted);
        EXPECT_EQ(window.packageCombo.FindString(c.name) == -1, c.deleted);
        EXPECT_EQ(window.packageCombo.GetCurSel() == -1, c.deleted);
        EXPECT_EQ(window.fileList.GetItemCount() == 0, c.deleted);
        EXPECT_EQ(screen.busyDepth, 0);
    }
}

TEST_F(PackageManagementTest, NewPackageCreatesTheNamedPackageSelectedAndShowsIt)
{
    start();
    choose("Logs");
    screen.setNextDialog([](Dialog&) { return CancelAnswer; });
    window.OnNewPackage();
    EXPECT_EQ(window.packageCombo.GetWindowText(), "Logs");
    EXPECT_EQ(fileRows(), LogsFileRows);

    screen.setNextDialog([](Dialog& dialog) {
        dynamic_cast<NewPackage&>(dialog).resultName = "Mine";
        return IDOK;
    });
    window.OnNewPackage();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(currentPackage("Mine"), "");
    EXPECT_TRUE(platform::pathExists(store.CurrentPackagePath("Mine")));
    EXPECT_EQ(selection(), "Logs*Mine*");
    EXPECT_EQ(comboEntries(), (std::vector<std::string>{"Logs", "Mine"}));
    EXPECT_EQ(window.packageCombo.GetWindowText(), "Mine");
    EXPECT_TRUE(fileRows().empty());
    EXPECT_FALSE(screen.control(MorvaneDlg::RestoreListButton).visible);
}

TEST_F(PackageManagementTest, RestorePackagesShowsThePackageShownBeforeAndNoneWhenNoneWas)
{
    start();
    screen.setNextDialog([](Dialog& dialog) {
        EXPECT_EQ(dynamic_cast<ListPackage&>(dialog).selectMode, 0);
        return CancelAnswer;
    });
    window.OnRestorePackages();
    EXPECT_EQ(window.packageCombo.GetCurSel(), -1);
    EXPECT_EQ(window.fileList.GetItemCount(), 0);

    choose("Logs");
    screen.setControlValue(MorvaneDlg::FileList, 0);
    boxes.setNextAnswer(IDYES);
    window.OnDelete();
    ASSERT_EQ(fileRows().size(), 1u);
    // The user restores Logs in the dialog.
    ScriptedScreen dialogScreen;
    screen.setNextDialog([&](Dialog& dialog) {
        auto& packages = dynamic_cast<ListPackage&>(dialog);
        packages.attach(&dialogScreen);
        packages.OnInitDialog();
        packages.OnListClicked();
        packages.list.OnLeftButtonDown(0, 0);
        boxes.setNextAnswer(IDYES);
        packages.OnOK();
        packages.attach(nullptr);
        return dialogScreen.endResult.value_or(CancelAnswer);
    });
    window.OnRestorePackages();
    EXPECT_EQ(window.packageCombo.GetWindowText(), "Logs");
    EXPECT_EQ(fileRows(), LogsFileRows);
    EXPECT_EQ(screen.busyDepth, 0);
}

TEST_F(PackageManagementTest, RestoreListPutsBackTheDefaultRulesOfTheSelectedTab)
{
    start();
    choose("Logs");
    window.AddOrUpdateRow(true, "1", "C:\\tmp\\", "*.dmp", 0);
    showTab(1);
    window.AddOrUpdateRow(true, "", "HKEY_CURRENT_USER\\Software", "", 0);

    showTab(0);
    boxes.setNextAnswer(IDYES);
    window.OnRestoreList();
    EXPECT_EQ(boxes.texts().back(),
              "Are you sure you want to restore the file list of package 'Logs' to its default value? \n\n");
    EXPECT_EQ(fileRows(), LogsFileRows);
    EXPECT_EQ(registryRows().size(), 2u);

    showTab(1);
    boxes.setNextAnswer(IDNO);
    window.OnRestoreList();
    EXPECT_EQ(boxes.texts().back(),
              "Are you sure you want to restore the registry list of package 'Logs' to its default value? \n\n");
    EXPECT_EQ(registryRows().size(), 2u);
    boxes.setNextAnswer(IDYES);
    window.OnRestoreList();
    EXPECT_EQ(registryRows(), (std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane"}));
    EXPECT_TRUE(screen.control(MorvaneDlg::RestoreListButton).visible);
}

TEST_F(PackageManagementTest, SelectPackagesOpensTheSelectionDialogAndSilencesTheSelectionQuestions)
{
    start();
    folder.write("Morvane Package/Current_Morvane.ini", "[CONFIGURATION]\r\nPerform FTP=1\r\n");
    screen.setNextDialog([](Dialog& dialog) {
        EXPECT_EQ(dynamic_cast<ListPackage&>(dialog).selectMode, 1);
        return CancelAnswer;
    });
    window.OnSelectPackages();
    EXPECT_EQ(window.selectionOpened, 1);

    window.OnCollect();
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(PackageManagementTest, ResetPutsBackEveryDefaultAndShowsNoPackage)
{
    start();
    window.CreatePackage("Mine");
    choose("Logs");
    window.OnReset();
    EXPECT_FALSE(platform::pathExists(store.CurrentPackagePath("Mine")));
    EXPECT_EQ(comboEntries(), (std::vector<std::string>{"Logs"}));
    EXPECT_EQ(window.packageCombo.GetCurSel(), -1);
    EXPECT_EQ(window.fileList.GetItemCount(), 0);
    EXPECT_EQ(selection(), "Logs*");
}
