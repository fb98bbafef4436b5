// The report-view list with per-cell attributes and a check box per cell: its table of rows,
// columns and cell records, and the rules of clicking and drawing, apart from any painting.
//
// Rows and columns are 0-based. Each row owns one CellData record per column that existed when
// the row was inserted; an operation given a row or a column outside the table (or outside the
// records of that row, for the cell attributes) does nothing and returns failure. Only the
// record of column 0 says whether a row is enabled. Observers hear of every change, so a view
// can redraw what changed, and of every click on a check box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A colour as red, green and blue bytes, 0x00BBGGRR.
using Colour = std::uint32_t;
// Given to SetItemColors: the list's own colour.
constexpr Colour DefaultColour = 0xFFFFFFFFu;

constexpr Colour MakeColour(unsigned red, unsigned green, unsigned blue)
{
    return (red & 0xFFu) | (green & 0xFFu) << 8 | (blue & 0xFFu) << 16;
}

struct CellData {
    bool enabled = true;       // column 0 only: a disabled row ignores clicks, its tick is grey
    bool bold = false;         // text in bold (weight 700)
    int image = -1;            // index into the list's images; -1 none
    std::string tooltipText;   // nothing is shown while empty
    Colour textColour = 0;     // the list's text colour when the row was inserted
    Colour backgroundColour = 0; // the list's background colour when the row was inserted
    int checkState = -1;       // -1 no check box, 0 unchecked, 1 checked
    std::uint32_t itemData = 0; // free for the owner
};

// The colours the list takes from the system when it is created and on every colour change.
struct ListColours {
    Colour windowText = MakeColour(0, 0, 0);
    Colour window = MakeColour(255, 255, 255);
    Colour highlight = MakeColour(0, 120, 215);
    Colour highlightText = MakeColour(255, 255, 255);
    Colour buttonFace = MakeColour(240, 240, 240);
    Colour grayText = MakeColour(109, 109, 109);

    bool operator==(const ListColours&) const = default;
};

enum class ColumnAlignment { Left, Centre, Right };

// A rectangle in pixels; right and bottom are exclusive.
struct CellRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const CellRect&) const = default;
};

// What a left click on the list does.
enum class ClickOutcome {
    Outside,  // no row there: the list's own handling only
    Ignored,  // a disabled row, or one without records: nothing at all happens
    Toggled,  // a check box changed and its notification went out; selection follows
    Selected, // a cell without a check box: selection only
};

// What a cell is drawn with.
struct CellColours {
    Colour text = 0;
    Colour background = 0;
};

class ListCtrlPackage {
public:
    // The name of the notification that a check box was clicked (row, column).
    static constexpr const char* CheckboxClickedMessage = "WM_LISTCTRLPACKAGE_CHECKBOX_CLICKED";
    // Shown under the header while the list has no rows.
    static constexpr const char* EmptyListText = "There are no items to show in this view.";

    class Observer {
    public:
        virtual ~Observer() = default;
        // A cell's text or attributes changed.
        virtual void cellChanged(int /*row*/, int /*column*/) {}
        // Rows or columns were inserted or deleted.
        virtual void tableChanged() {}
        // A check box was clicked and has toggled.
        virtual void checkboxClicked(int /*row*/, int /*column*/) {}
    };

    ListCtrlPackage() = default;
    ListCtrlPackage(const ListCtrlPackage&) = delete;
    ListCtrlPackage& operator=(const ListCtrlPackage&) = delete;

    void addObserver(Observer* observer);
    void removeObserver(Observer* observer);

    // "2col" centres the text of column 0, "list" that of columns 0 and 1; any other name
    // ("listreg") adds nothing.
    std::string layoutName;
    // Selection behaviour the drawing depends on.
    bool fullRowSelect = false;
    bool showSelectionAlways = false;

    // Columns. InsertColumn returns the new column's index, -1 when the index is outside 0 to
    // the number of columns.
    int InsertColumn(int column, const std::string& heading, ColumnAlignment alignment = ColumnAlignment::Left,
                     int width = 100);
    int GetColumnCount() const;
    std::string GetColumnHeading(int column) const;
    ColumnAlignment GetColumnAlignment(int column) const;
    int GetColumnWidth(int column) const;

    // Rows. InsertItem takes an index from 0 to the number of rows and returns it, or -1.
    int InsertItem(int row, const std::string& text);
    int GetItemCount() const;
    bool DeleteItem(int row);
    bool DeleteAllItems();

    // Texts; columns are those of the list.
    bool SetItemText(int row, int column, const std::string& text);
    std::string GetItemText(int row, int column) const;

    // Cell attributes; columns are those the row has records for.
    bool SetItemColors(int row, int column, const std::optional<std::string>& text, Colour textColour,
                       Colour backgroundColour);
    // state is -1, 0 or 1.
    bool SetCheckbox(int row, int column, int state);
    // The check state; -1 when there is no such cell.
    int GetCheckbox(int row, int column) const;
    bool SetEnabled(int row, bool enabled);
    // False for a row without records or outside the table.
    bool GetEnabled(int row) const;
    bool SetBold(int row, int column, bool bold);
    bool SetItemImage(int row, int column, int image);
    bool SetItemToolTipText(int row, int column, const std::string& text);
    bool SetItemData(int row, int column, std::uint32_t data);
    // The record of a cell, or null.
    const CellData* GetCellData(int row, int column) const;

    // The system colours; new cells take windowText and window. Existing cells keep theirs.
    void SetColours(const ListColours& colours);
    const ListColours& GetColours() const { return m_colours; }

    // A left click on a row (or -1 for none) in a column (or -1): toggles a check box there
    // unless the row is disabled, and tells the observers.
    ClickOutcome OnLeftButtonDown(int row, int column);

    // Drawing rules.
    // The alignment the text of a column is drawn with.
    ColumnAlignment DrawingAlignment(int column) const;
    // The colours of a cell, given whether its row is selected and the list has the focus.
    CellColours DrawingColours(int row, int column, bool selected, bool focused) const;
    // The colour of a tick: black for enabled rows, grey text otherwise.
    Colour TickColour(int row) const;
    // The box of a check-box cell: a square as high as the cell, 9 pixels from its left edge, or
    // centred in the cell when the cell has no text.
    static CellRect CheckboxRect(const CellRect& cell, bool hasText);
    // Where the text of a check-box cell starts: 4 pixels right of the box.
    static int CheckboxTextLeft(const CellRect& box);

private:
    struct Column {
        std::string heading;
        ColumnAlignment alignment = ColumnAlignment::Left;
        int width = 100;
    };
    struct Row {
        std::vector<std::string> texts;
        std::vector<CellData> cells;
    };

    bool hasRow(int row) const;
    CellData* cell(int row, int column);
    void notifyCell(int row, int column);
    void notifyTable();

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    ListColours m_colours;
    std::vector<Observer*> m_observers;
};
