#include "ListCtrlPackage.h"

#include <algorithm>

void ListCtrlPackage::addObserver(Observer* observer)
{
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void ListCtrlPackage::removeObserver(Observer* observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

int ListCtrlPackage::InsertColumn(int column, const std::string& heading, ColumnAlignment alignment, int width)
{
    if (column < 0 || column > GetColumnCount())
        return -1;
    m_columns.insert(m_columns.begin() + column, Column{heading, alignment, width});
    // The texts follow their columns; the records stay those the rows were inserted with.
    for (Row& row : m_rows) {
        if (static_cast<int>(row.texts.size()) >= column)
            row.texts.insert(row.texts.begin() + column, std::string());
    }
    notifyTable();
    return column;
}

int ListCtrlPackage::GetColumnCount() const
{
    return static_cast<int>(m_columns.size());
}

std::string ListCtrlPackage::GetColumnHeading(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[column].heading : std::string();
}

ColumnAlignment ListCtrlPackage::GetColumnAlignment(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[column].alignment : ColumnAlignment::Left;
}

int ListCtrlPackage::GetColumnWidth(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[column].width : 0;
}

int ListCtrlPackage::InsertItem(int row, const std::string& text)
{
    if (row < 0 || row > GetItemCount())
        return -1;
    Row inserted;
    inserted.texts.resize(std::max<std::size_t>(m_columns.size(), 1));
    inserted.texts[0] = text;
    CellData defaults;
    defaults.textColour = m_colours.windowText;
    defaults.backgroundColour = m_colours.window;
    inserted.cells.assign(m_columns.size(), defaults);
    m_rows.insert(m_rows.begin() + row, std::move(inserted));
    notifyTable();
    return row;
}

int ListCtrlPackage::GetItemCount() const
{
    return static_cast<int>(m_rows.size());
}

bool ListCtrlPackage::DeleteItem(int row)
{
    if (!hasRow(row))
        return false;
    m_rows.erase(m_rows.begin() + row);
    notifyTable();
    return true;
}

bool ListCtrlPackage::DeleteAllItems()
{
    m_rows.clear();
    notifyTable();
    return true;
}

bool ListCtrlPackage::SetItemText(int row, int column, const std::string& text)
{
    if (!hasRow(row) || column < 0 || column >= std::max(GetColumnCount(), 1))
        return false;
    std::vector<std::string>& texts = m_rows[row].texts;
    if (static_cast<int>(texts.size()) <= column)
        texts.resize(column + 1);
    texts[column] = text;
    notifyCell(row, column);
    return true;
}

std::string ListCtrlPackage::GetItemText(int row, int column) const
{
    if (!hasRow(row) || column < 0)
        return {};
    const std::vector<std::string>& texts = m_rows[row].texts;
    return column < static_cast<int>(texts.size()) ? texts[column] : std::string();
}

bool ListCtrlPackage::SetItemColors(int row, int column, const std::optional<std::string>& text, Colour textColour,
                                    Colour backgroundColour)
{
    CellData* record = cell(row, column);
    if (!record)
        return false;
    if (text)
        m_rows[row].texts[column] = *text;
    record->textColour = textColour == DefaultColour ? m_colours.windowText : textColour;
    record->backgroundColour = backgroundColour == DefaultColour ? m_colours.window : backgroundColour;
    notifyCell(row, column);
    return true;
}

bool ListCtrlPackage::SetCheckbox(int row, int column, int state)
{
    CellData* record = cell(row, column);
    if (!record || state < -1 || state > 1)
        return false;
    record->checkState = state;
    notifyCell(row, column);
    return true;
}

int ListCtrlPackage::GetCheckbox(int row, int column) const
{
    const CellData* record = GetCellData(row, column);
    return record ? record->checkState : -1;
}

bool ListCtrlPackage::SetEnabled(int row, bool enabled)
{
    CellData* record = cell(row, 0);
    if (!record)
        return false;
    record->enabled = enabled;
    for (int column = 0; column < static_cast<int>(m_rows[row].cells.size()); ++column)
        notifyCell(row, column);
    return true;
}

bool ListCtrlPackage::GetEnabled(int row) const
{
    const CellData* record = GetCellData(row, 0);
    return record && record->enabled;
}

bool ListCtrlPackage::SetBold(int row, int column, bool bold)
{
    CellData* record = cell(row, column);
    if (!record)
        return false;
    record->bold = bold;
    notifyCell(row, column);
    return true;
}

bool ListCtrlPackage::SetItemImage(int row, int column, int image)
{
    CellData* record = cell(row, column);
    if (!record || image < -1)
        return false;
    record->image = image;
    notifyCell(row, column);
    return true;
}

bool ListCtrlPackage::SetItemToolTipText(int row, int column, const std::string& text)
{
    CellData* record = cell(row, column);
    if (!record)
        return false;
    record->tooltipText = text;
    return true;
}

bool ListCtrlPackage::SetItemData(int row, int column, std::uint32_t data)
{
    CellData* record = cell(row, column);
    if (!record)
        return false;
    record->itemData = data;
    return true;
}

const CellData* ListCtrlPackage::GetCellData(int row, int column) const
{
    if (!hasRow(row) || column < 0 || column >= static_cast<int>(m_rows[row].cells.size()))
        return nullptr;
    return &m_rows[row].cells[column];
}

void ListCtrlPackage::SetColours(const ListColours& colours)
{
    m_colours = colours;
    notifyTable();
}

ClickOutcome ListCtrlPackage::OnLeftButtonDown(int row, int column)
{
    if (!hasRow(row))
        return ClickOutcome::Outside;
    if (!GetEnabled(row))
        return ClickOutcome::Ignored;
    CellData* record = cell(row, column);
    if (!record || record->checkState < 0)
        return ClickOutcome::Selected;
    record->checkState = record->checkState == 0 ? 1 : 0;
    notifyCell(row, column);
    const std::vector<Observer*> observers = m_observers;
    for (Observer* observer : observers)
        observer->checkboxClicked(row, column);
    return ClickOutcome::Toggled;
}

ColumnAlignment ListCtrlPackage::DrawingAlignment(int column) const
{
    if ((layoutName == "2col" && column == 0) || (layoutName == "list" && (column == 0 || column == 1)))
        return ColumnAlignment::Centre;
    if (column == 3)
        return ColumnAlignment::Left;
    return GetColumnAlignment(column);
}

CellColours ListCtrlPackage::DrawingColours(int row, int column, bool selected, bool focused) const
{
    if (selected && (fullRowSelect || column == 0)) {
        if (focused)
            return {m_colours.highlightText, m_colours.highlight};
        if (showSelectionAlways)
            return {m_colours.windowText, m_colours.buttonFace};
    }
    if (const CellData* record = GetCellData(row, column))
        return {record->textColour, record->backgroundColour};
    return {m_colours.windowText, m_colours.window};
}

Colour ListCtrlPackage::TickColour(int row) const
{
    return GetEnabled(row) ? MakeColour(0, 0, 0) : m_colours.grayText;
}

CellRect ListCtrlPackage::CheckboxRect(const CellRect& cell, bool hasText)
{
    const int side = cell.height();
    const int left = hasText ? cell.left + 9 : cell.left + (cell.width() - side) / 2;
    return {left, cell.top, left + side, cell.bottom};
}

int ListCtrlPackage::CheckboxTextLeft(const CellRect& box)
{
    return box.right + 4;
}

bool ListCtrlPackage::hasRow(int row) const
{
    return row >= 0 && row < GetItemCount();
}

CellData* ListCtrlPackage::cell(int row, int column)
{
    return const_cast<CellData*>(GetCellData(row, column));
}

void ListCtrlPackage::notifyCell(int row, int column)
{
    const std::vector<Observer*> observers = m_observers;
    for (Observer* observer : observers)
        observer->cellChanged(row, column);
}

void ListCtrlPackage::notifyTable()
{
    const std::vector<Observer*> observers = m_observers;
    for (Observer* observer : observers)
        observer->tableChanged();
}
