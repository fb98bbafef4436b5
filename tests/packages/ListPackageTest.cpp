#include "ListPackage.h"
#include "ScriptedMessageBoxes.h"
#include "ScriptedScreen.h"

#include "WorkingFolder.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int CancelAnswer = 2;

constexpr char ConfirmSelection[] = "Are you sure you want to change the list of packages for file collection? \n\n";
constexpr char ConfirmNoSelection[] = " No package is selected for file collection. \n\n Are you sure?";
constexpr char ConfirmRestore[] =
    "Are you sure you want to restoring the selected packages to their default values? \n\n";
constexpr char ConfirmNoRestore[] = " No package has been selected. \n\n Do you want to continue?";

std::string settings(const std::vector<std::string>& selected)
{
    std::string text = "[CONFIGURATION]\r\nPerform FTP=1\r\n\r\n[SELECT PACKAGE]\r\n";
    for (std::size_t i = 0; i < selected.size(); ++i)
        text += std::to_string(i) + ")Name=" + selected[i] + "\r\n";
    return text;
}

class ListPackageTest : public ::testing::Test {
protected:
    void open(int selectMode)
    {
        dialog.attach(&screen);
        dialog.selectMode = selectMode;
        dialog.OnInitDialog();
    }

    void writeCurrentSettings(const std::vector<std::string>& selected)
    {
        folder.write("Morvane Package/Current_Morvane.ini", settings(selected));
    }

    void writePackage(const std::string& file, const std::string& bytes = "[FILES]\r\n")
    {
        folder.write("Morvane Package/" + file, bytes);
    }

    // A click on the check box of a row.
    void click(int row)
    {
        dialog.OnListClicked();
        dialog.list.OnLeftButtonDown(row, 0);
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> shown;
        for (int row = 0; row < dialog.list.GetItemCount(); ++row)
            shown.push_back(dialog.list.GetItemText(row, 1));
        return shown;
    }

    std::vector<int> checks() const
    {
        std::vector<int> states;
        for (int row = 0; row < dialog.list.GetItemCount(); ++row)
            states.push_back(dialog.list.GetCheckbox(row, 0));
        return states;
    }

    std::string selection() const
    {
        std::string list;
        int count = 0;
        store.ReadSelection(store.CurrentSettingsPath(), list, count);
        return list;
    }

    std::string log() const { return folder.read("MorvaneLog.txt"); }

    testsupport::WorkingFolder folder;
    PackageStore store;
    ScriptedMessageBoxes boxes;
    ScriptedScreen screen;
    ListPackage dialog{store, &boxes};
};

} // namespace

TEST_F(ListPackageTest, SelectModeListsTheCurrentPackagesCheckedWhenTheSelectionNamesThem)
{
    writeCurrentSettings({"cab", "Logs"});
    writePackage("Current_Package_cab.ini");
    writePackage("current_package_ab.INI");
    writePackage("Current_package_Logs.ini");
    writePackage("Current_Package_logs2.ini");
    writePackage("package_Defaults.ini");
    writePackage("Current_Package_notes.txt");
    std::filesystem::create_directories("Morvane Package/Current_Package_Folder.ini");
    open(1);

    EXPECT_EQ(screen.title, "Select Packages");
    EXPECT_EQ(dialog.list.layoutName, "2col");
    ASSERT_EQ(dialog.list.GetColumnCount(), 2);
    EXPECT_EQ(dialog.list.GetColumnHeading(0), "Select");
    EXPECT_EQ(dialog.list.GetColumnAlignment(0), ColumnAlignment::Centre);
    EXPECT_EQ(dialog.list.GetColumnHeading(1), "Package");
    EXPECT_EQ(dialog.list.GetColumnWidth(1), 162);
    EXPECT_EQ(names(), (std::vector<std::string>{"ab", "cab", "Logs", "logs2"}));
    // Only whole entries of the selection count: "ab" merely ends "cab", and "logs2" is no "Logs".
    EXPECT_EQ(checks(), (std::vector<int>{0, 1, 1, 0}));
    const CellData* name = dialog.list.GetCellData(1, 1);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->textColour, MakeColour(0, 0, 0));
    EXPECT_EQ(name->backgroundColour, MakeColour(255, 255, 255));
    EXPECT_EQ(dialog.listChanged, 0);
}

TEST_F(ListPackageTest, OkWithoutAClickClosesAtOnceWhenSomethingIsCheckedAndAsksOtherwise)
{
    struct Case {
        int selectMode;
        std::vector<std::string> selected;
        std::optional<int> answer;
        const char* question;
        std::optional<int> result;
        std::string selectionAfter;
    };
    const Case cases[] = {
        {1, {"Logs"}, std::nullopt, nullptr, IDOK, "Logs*"},
        {1, {}, IDNO, ConfirmNoSelection, std::nullopt, ""},
        {1, {}, IDYES, ConfirmNoSelection, IDOK, ""},
        {0, {"Logs"}, IDNO, ConfirmNoRestore, std::nullopt, "Logs*"},
    };
    writePackage("Current_Package_Logs.ini");
    writePackage("package_Logs.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.selectMode) + " " + std::to_string(c.selected.size()) + " " +
                     std::to_string(c.answer.value_or(0)));
        writeCurrentSettings(c.selected);
        const std::string before = folder.read("Morvane Package/Current_Morvane.ini");
        boxes.clear();
        screen.endResult.reset();
        ListPackage fresh(store, &boxes);
        fresh.attach(&screen);
        fresh.selectMode = c.selectMode;
        fresh.OnInitDialog();
        if (c.answer)
            boxes.setNextAnswer(*c.answer);

        fresh.OnOK();
        if (c.question) {
            ASSERT_EQ(boxes.shown().size(), 1u);
            EXPECT_EQ(boxes.shown()[0].text, c.question);
            EXPECT_EQ(boxes.shown()[0].caption, "Confirmation");
            EXPECT_EQ(boxes.shown()[0].style, MB_YESNO | MB_ICONQUESTION);
        } else {
            EXPECT_TRUE(boxes.shown().empty());
        }
        EXPECT_EQ(screen.endResult, c.result);
        EXPECT_EQ(selection(), c.selectionAfter);
        if (!c.result || !c.question) {
            EXPECT_EQ(folder.read("Morvane Package/Current_Morvane.ini"), before);
        }
    }
}

TEST_F(ListPackageTest, CheckedRowsAreLoggedLastFirstAndSelectedInListOrder)
{
    writeCurrentSettings({"row0"});
    for (const char* name : {"row0", "row1", "row2", "row3"})
        writePackage(std::string("Current_Package_") + name + ".ini");
    open(1);
    click(0);
    click(1);
    click(2);
    click(3);
    EXPECT_EQ(dialog.CollectCheckedNames(), "row3 , row2 , row1");

    boxes.setNextAnswer(IDYES);
    dialog.OnOK();
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{ConfirmSelection}));
    EXPECT_EQ(screen.endResult, IDOK);
    EXPECT_EQ(selection(), "row1*row2*row3*");
    const std::string settingsFile = folder.read("Morvane Package/Current_Morvane.ini");
    EXPECT_EQ(settingsFile.substr(settingsFile.find("[SELECT PACKAGE]")),
              "[SELECT PACKAGE]\r\n0)Name=row1\r\n1)Name=row2\r\n2)Name=row3\r\n");
    const std::string line = "|  Packages 'row3 , row2 , row1' have been Select to default values.\r\n";
    ASSERT_GE(log().size(), line.size());
    EXPECT_EQ(log().substr(log().size() - line.size()), line);
    EXPECT_EQ(log().find("***"), std::string::npos);
}

TEST_F(ListPackageTest, RestoreCopiesTheDefaultsAndAddsDefaultSelectedPackagesToTheSelectionOnce)
{
    folder.write("Morvane Package/Morvane.ini", settings({"Logs", "Net", "Tools"}));
    writeCurrentSettings({"Tools"});
    writePackage("package_Logs.ini", "[FILES]\r\n0)Filenum=1\r\n");
    writePackage("package_Net.ini", "[REGISTRY]\r\n0)HKEY=HKEY_USERS\r\n");
    writePackage("package_Tools.ini", "[FILES]\r\n0)Filenum=2\r\n");
    writePackage("package_Extra.ini", "[FILES]\r\n0)Filenum=3\r\n");
    writePackage("Current_package_Net.ini", "edited");
    writePackage("Current_Package_Tools.ini", "edited");
    open(0);
    EXPECT_EQ(screen.title, "Restore Packages");
    EXPECT_EQ(names(), (std::vector<std::string>{"Extra", "Logs", "Net", "Tools"}));
    EXPECT_EQ(checks(), (std::vector<int>{0, 0, 0, 0}));

    for (int row : {0, 1, 2, 3})
        click(row);
    click(2);
    boxes.setNextAnswer(IDYES);
    dialog.OnOK();
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{ConfirmRestore}));
    EXPECT_EQ(screen.endResult, IDOK);

    EXPECT_EQ(folder.read("Morvane Package/current_package_Logs.ini"), "[FILES]\r\n0)Filenum=1\r\n");
    EXPECT_EQ(folder.read("Morvane Package/current_package_Extra.ini"), "[FILES]\r\n0)Filenum=3\r\n");
    EXPECT_EQ(folder.read("Morvane Package/Current_Package_Tools.ini"), "[FILES]\r\n0)Filenum=2\r\n");
    EXPECT_EQ(folder.read("Morvane Package/Current_package_Net.ini"), "edited");
    // Tools was selected already, Extra is not selected by default, Net was not restored.
    EXPECT_EQ(selection(), "Tools*Logs*");
    const std::string line = "|  Packages 'Tools , Logs , Extra' have been restored to default values.\r\n";
    ASSERT_GE(log().size(), line.size());
    EXPECT_EQ(log().substr(log().size() - line.size()), line);
}

TEST_F(ListPackageTest, CancelAndAnyAnswerButYesLeaveTheStoreAlone)
{
    writeCurrentSettings({"Logs"});
    writePackage("Current_Package_Logs.ini");
    open(1);
    click(0);
    boxes.setNextAnswer(IDNO);
    dialog.OnOK();
    EXPECT_FALSE(screen.endResult.has_value());

    dialog.OnCancel();
    EXPECT_EQ(screen.endResult, CancelAnswer);
    EXPECT_EQ(selection(), "Logs*");
    EXPECT_FALSE(folder.exists("MorvaneLog.txt"));
}
