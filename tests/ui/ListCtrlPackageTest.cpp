#include "ListCtrlPackage.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

class RecordingObserver : public ListCtrlPackage::Observer {
public:
    void checkboxClicked(int row, int column) override { clicks.emplace_back(row, column); }
    void cellChanged(int, int) override { ++cellChanges; }
    void tableChanged() override { ++tableChanges; }

    std::vector<std::pair<int, int>> clicks;
    int cellChanges = 0;
    int tableChanges = 0;
};

// Two columns, three rows "a", "b", "c" with an unchecked box in column 0.
class ListCtrlPackageTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        list.InsertColumn(0, "Select", ColumnAlignment::Centre, 50);
        list.InsertColumn(1, "Package", ColumnAlignment::Left, 162);
        for (const char* name : {"a", "b", "c"}) {
            const int row = list.InsertItem(list.GetItemCount(), "");
            list.SetItemText(row, 1, name);
            list.SetCheckbox(row, 0, 0);
        }
        list.addObserver(&observer);
    }

    ListCtrlPackage list;
    RecordingObserver observer;
};

} // namespace

TEST(ListCtrlPackage, NewRowsGetDefaultRecordsForEveryColumnInTheListsColours)
{
    ListCtrlPackage list;
    ListColours colours;
    colours.windowText = MakeColour(1, 2, 3);
    colours.window = MakeColour(4, 5, 6);
    list.SetColours(colours);
    list.InsertColumn(0, "A");
    list.InsertColumn(1, "B");
    list.InsertColumn(2, "C");

    ASSERT_EQ(list.InsertItem(0, "first"), 0);
    for (int column = 0; column < 3; ++column) {
        SCOPED_TRACE(column);
        const CellData* cell = list.GetCellData(0, column);
        ASSERT_NE(cell, nullptr);
        EXPECT_TRUE(cell->enabled);
        EXPECT_FALSE(cell->bold);
        EXPECT_EQ(cell->image, -1);
        EXPECT_EQ(cell->tooltipText, "");
        EXPECT_EQ(cell->textColour, MakeColour(1, 2, 3));
        EXPECT_EQ(cell->backgroundColour, MakeColour(4, 5, 6));
        EXPECT_EQ(cell->checkState, -1);
        EXPECT_EQ(cell->itemData, 0u);
    }
    EXPECT_EQ(list.GetItemText(0, 0), "first");
    EXPECT_EQ(list.GetCellData(0, 3), nullptr);

    // A colour change reaches new rows only.
    colours.window = MakeColour(7, 8, 9);
    list.SetColours(colours);
    list.InsertItem(1, "second");
    EXPECT_EQ(list.GetCellData(0, 0)->backgroundColour, MakeColour(4, 5, 6));
    EXPECT_EQ(list.GetCellData(1, 0)->backgroundColour, MakeColour(7, 8, 9));
}

TEST_F(ListCtrlPackageTable, InsertsRowsAtAnyIndexUpToTheEnd)
{
    EXPECT_EQ(list.InsertItem(0, "top"), 0);
    EXPECT_EQ(list.InsertItem(4, "bottom"), 4);
    EXPECT_EQ(list.InsertItem(2, "middle"), 2);
    EXPECT_EQ(list.GetItemCount(), 6);
    EXPECT_EQ(list.GetItemText(0, 0), "top");
    EXPECT_EQ(list.GetItemText(2, 0), "middle");
    EXPECT_EQ(list.GetItemText(3, 1), "b");
    EXPECT_EQ(list.GetItemText(5, 0), "bottom");
}

TEST_F(ListCtrlPackageTable, RefusesEveryOperationOutsideTheTable)
{
    struct Case {
        const char* name;
        std::function<bool(ListCtrlPackage&)> refused;
    };
    const std::vector<Case> cases = {
        {"InsertItem before the first row", [](ListCtrlPackage& l) { return l.InsertItem(-1, "x") == -1; }},
        {"InsertItem past the end", [](ListCtrlPackage& l) { return l.InsertItem(4, "x") == -1; }},
        {"InsertColumn past the end", [](ListCtrlPackage& l) { return l.InsertColumn(3, "x") == -1; }},
        {"SetItemText row -1", [](ListCtrlPackage& l) { return !l.SetItemText(-1, 0, "x"); }},
        {"SetItemText row past the end", [](ListCtrlPackage& l) { return !l.SetItemText(3, 0, "x"); }},
        {"SetItemText column past the end", [](ListCtrlPackage& l) { return !l.SetItemText(0, 2, "x"); }},
        {"SetItemColors column -1", [](ListCtrlPackage& l) { return !l.SetItemColors(0, -1, "x", 0, 0); }},
        {"SetItemColors row past the end", [](ListCtrlPackage& l) { return !l.SetItemColors(3, 0, "x", 0, 0); }},
        {"SetCheckbox column past the end", [](ListCtrlPackage& l) { return !l.SetCheckbox(0, 2, 1); }},
        {"SetCheckbox state 2", [](ListCtrlPackage& l) { return !l.SetCheckbox(0, 0, 2); }},
        {"SetCheckbox state -2", [](ListCtrlPackage& l) { return !l.SetCheckbox(0, 0, -2); }},
        {"GetCheckbox row past the end", [](ListCtrlPackage& l) { return l.GetCheckbox(3, 0) == -1; }},
        {"GetCheckbox column -1", [](ListCtrlPackage& l) { return l.GetCheckbox(0, -1) == -1; }},
        {"SetEnabled row -1", [](ListCtrlPackage& l) { return !l.SetEnabled(-1, false); }},
        {"SetBold column past the end", [](ListCtrlPackage& l) { return !l.SetBold(0, 2, true); }},
        {"SetItemImage row past the end", [](ListCtrlPackage& l) { return !l.SetItemImage(3, 0, 1); }},
        {"SetItemToolTipText row -1", [](ListCtrlPackage& l) { return !l.SetItemToolTipText(-1, 0, "x"); }},
        {"SetItemData column past the end", [](ListCtrlPackage& l) { return !l.SetItemData(0, 5, 1); }},
        {"DeleteItem row -1", [](ListCtrlPackage& l) { return !l.DeleteItem(-1); }},
        {"DeleteItem row past the end", [](ListCtrlPackage& l) { return !l.DeleteItem(3); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.refused(list));
        ASSERT_EQ(list.GetItemCount(), 3);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(list.GetItemText(row, 0), "");
            EXPECT_EQ(list.GetCheckbox(row, 0), 0);
            EXPECT_TRUE(list.GetEnabled(row));
        }
    }
    EXPECT_EQ(observer.cellChanges, 0);
    EXPECT_EQ(observer.tableChanges, 0);
}

TEST_F(ListCtrlPackageTable, ColumnsAddedLaterHoldTextsButNoRecordsForOlderRows)
{
    ASSERT_EQ(list.InsertColumn(2, "Size"), 2);
    EXPECT_TRUE(list.SetItemText(0, 2, "12"));
    EXPECT_EQ(list.GetItemText(0, 2), "12");
    EXPECT_EQ(list.GetCellData(0, 2), nullptr);
    EXPECT_FALSE(list.SetCheckbox(0, 2, 1));
    EXPECT_EQ(list.GetCheckbox(0, 2), -1);
    EXPECT_FALSE(list.SetItemColors(0, 2, "13", 0, 0));
    EXPECT_EQ(list.GetItemText(0, 2), "12");

    const int row = list.InsertItem(3, "new");
    EXPECT_NE(list.GetCellData(row, 2), nullptr);
}

TEST(ListCtrlPackage, ARowInsertedWithoutColumnsHasNoRecords)
{
    ListCtrlPackage list;
    ASSERT_EQ(list.InsertItem(0, "bare"), 0);
    EXPECT_EQ(list.GetItemText(0, 0), "bare");
    EXPECT_EQ(list.GetCheckbox(0, 0), -1);
    EXPECT_FALSE(list.SetCheckbox(0, 0, 1));
    EXPECT_FALSE(list.GetEnabled(0));
    EXPECT_EQ(list.OnLeftButtonDown(0, 0), ClickOutcome::Ignored);
}

TEST_F(ListCtrlPackageTable, SetItemColorsTakesTheTextWhenGivenAndTheListsColoursForMinusOne)
{
    ListColours colours;
    colours.windowText = MakeColour(10, 10, 10);
    colours.window = MakeColour(250, 250, 250);
    list.SetColours(colours);

    EXPECT_TRUE(list.SetItemColors(1, 1, "bee", MakeColour(255, 0, 0), MakeColour(0, 0, 255)));
    EXPECT_EQ(list.GetItemText(1, 1), "bee");
    EXPECT_EQ(list.GetCellData(1, 1)->textColour, MakeColour(255, 0, 0));
    EXPECT_EQ(list.GetCellData(1, 1)->backgroundColour, MakeColour(0, 0, 255));

    EXPECT_TRUE(list.SetItemColors(1, 1, std::nullopt, DefaultColour, DefaultColour));
    EXPECT_EQ(list.GetItemText(1, 1), "bee");
    EXPECT_EQ(list.GetCellData(1, 1)->textColour, MakeColour(10, 10, 10));
    EXPECT_EQ(list.GetCellData(1, 1)->backgroundColour, MakeColour(250, 250, 250));
}

TEST_F(ListCtrlPackageTable, AClickOnACheckBoxTogglesItAndNotifiesOnce)
{
    EXPECT_EQ(list.OnLeftButtonDown(1, 0), ClickOutcome::Toggled);
    EXPECT_EQ(list.GetCheckbox(1, 0), 1);
    EXPECT_EQ(list.OnLeftButtonDown(1, 0), ClickOutcome::Toggled);
    EXPECT_EQ(list.GetCheckbox(1, 0), 0);
    EXPECT_EQ(observer.clicks, (std::vector<std::pair<int, int>>{{1, 0}, {1, 0}}));
    EXPECT_EQ(list.GetCheckbox(0, 0), 0);
    EXPECT_EQ(list.GetCheckbox(2, 0), 0);
}

TEST_F(ListCtrlPackageTable, ClicksElsewhereToggleNothing)
{
    list.SetEnabled(2, false);
    struct Case {
        const char* name;
        int row;
        int column;
        ClickOutcome outcome;
    };
    const Case cases[] = {
        {"a cell without a check box", 0, 1, ClickOutcome::Selected},
        {"beyond the last column", 0, -1, ClickOutcome::Selected},
        {"below the last row", -1, -1, ClickOutcome::Outside},
        {"past the last row", 3, 0, ClickOutcome::Outside},
        {"the check box of a disabled row", 2, 0, ClickOutcome::Ignored},
        {"another cell of a disabled row", 2, 1, ClickOutcome::Ignored},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(list.OnLeftButtonDown(c.row, c.column), c.outcome);
    }
    EXPECT_TRUE(observer.clicks.empty());
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(list.GetCheckbox(row, 0), 0);
}

TEST_F(ListCtrlPackageTable, OnlyColumnZeroSaysWhetherARowIsEnabled)
{
    list.SetCheckbox(0, 1, 1);
    EXPECT_TRUE(list.SetEnabled(0, false));
    EXPECT_FALSE(list.GetEnabled(0));
    EXPECT_FALSE(list.GetCellData(0, 0)->enabled);
    EXPECT_TRUE(list.GetCellData(0, 1)->enabled);
    EXPECT_EQ(list.OnLeftButtonDown(0, 1), ClickOutcome::Ignored);
    EXPECT_EQ(list.GetCheckbox(0, 1), 1);

    EXPECT_TRUE(list.SetEnabled(0, true));
    EXPECT_EQ(list.OnLeftButtonDown(0, 1), ClickOutcome::Toggled);
    EXPECT_EQ(list.GetCheckbox(0, 1), 0);
}

TEST_F(ListCtrlPackageTable, DeletedRowsTakeTheirRecordsWithThem)
{
    list.SetCheckbox(1, 0, 1);
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(0, 1), "b");
    EXPECT_EQ(list.GetCheckbox(0, 0), 1);
    EXPECT_EQ(list.GetCheckbox(2, 0), -1);

    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetCheckbox(0, 0), -1);
    EXPECT_EQ(list.OnLeftButtonDown(0, 0), ClickOutcome::Outside);
    EXPECT_EQ(list.GetColumnCount(), 2);
}

TEST(ListCtrlPackage, LayoutNamesCentreTheirColumnsAndColumnThreeStaysLeft)
{
    struct Case {
        const char* layout;
        int column;
        ColumnAlignment expected;
    };
    const Case cases[] = {
        {"", 0, ColumnAlignment::Left},          {"", 1, ColumnAlignment::Right},
        {"", 2, ColumnAlignment::Centre},        {"", 3, ColumnAlignment::Left},
        {"2col", 0, ColumnAlignment::Centre},    {"2col", 1, ColumnAlignment::Right},
        {"list", 0, ColumnAlignment::Centre},    {"list", 1, ColumnAlignment::Centre},
        {"list", 2, ColumnAlignment::Centre},    {"list", 3, ColumnAlignment::Left},
        {"listreg", 0, ColumnAlignment::Left},   {"listreg", 1, ColumnAlignment::Right},
        {"listreg", 3, ColumnAlignment::Left},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " column " + std::to_string(c.column));
        ListCtrlPackage list;
        list.layoutName = c.layout;
        list.InsertColumn(0, "zero", ColumnAlignment::Left);
        list.InsertColumn(1, "one", ColumnAlignment::Right);
        list.InsertColumn(2, "two", ColumnAlignment::Centre);
        list.InsertColumn(3, "three", ColumnAlignment::Right);
        EXPECT_EQ(list.DrawingAlignment(c.column), c.expected);
    }
}

TEST(ListCtrlPackage, SelectedCellsUseHighlightOrButtonFaceColours)
{
    ListColours colours;
    colours.windowText = 1;
    colours.window = 2;
    colours.highlight = 3;
    colours.highlightText = 4;
    colours.buttonFace = 5;
    struct Case {
        const char* name;
        bool fullRow;
        bool showAlways;
        int column;
        bool selected;
        bool focused;
        Colour text;
        Colour background;
    };
    const Case cases[] = {
        {"not selected", true, true, 1, false, true, 11, 12},
        {"column 0 of a selected row, focused", false, false, 0, true, true, 4, 3},
        {"column 1 of a selected row without full-row selection", false, false, 1, true, true, 11, 12},
        {"column 1 of a selected row with full-row selection", true, false, 1, true, true, 4, 3},
        {"selected, unfocused, selection always shown", true, true, 1, true, false, 1, 5},
        {"selected, unfocused, selection hidden", true, false, 1, true, false, 11, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ListCtrlPackage list;
        list.SetColours(colours);
        list.fullRowSelect = c.fullRow;
        list.showSelectionAlways = c.showAlways;
        list.InsertColumn(0, "a");
        list.InsertColumn(1, "b");
        list.InsertItem(0, "x");
        list.SetItemColors(0, 0, std::nullopt, 11, 12);
        list.SetItemColors(0, 1, std::nullopt, 11, 12);
        const CellColours drawn = list.DrawingColours(0, c.column, c.selected, c.focused);
        EXPECT_EQ(drawn.text, c.text);
        EXPECT_EQ(drawn.background, c.background);
    }
}

TEST_F(ListCtrlPackageTable, TicksOfDisabledRowsAreGrey)
{
    list.SetEnabled(1, false);
    EXPECT_EQ(list.TickColour(0), MakeColour(0, 0, 0));
    EXPECT_EQ(list.TickColour(1), list.GetColours().grayText);
}

TEST(ListCtrlPackage, CheckBoxesSitNinePixelsInOrCentredWithoutText)
{
    const CellRect cell{100, 20, 200, 38};
    const CellRect withText = ListCtrlPackage::CheckboxRect(cell, true);
    EXPECT_EQ(withText, (CellRect{109, 20, 127, 38}));
    EXPECT_EQ(ListCtrlPackage::CheckboxTextLeft(withText), 131);
    EXPECT_EQ(ListCtrlPackage::CheckboxRect(cell, false), (CellRect{141, 20, 159, 38}));
}
