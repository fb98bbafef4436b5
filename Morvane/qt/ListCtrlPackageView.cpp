#include "ListCtrlPackageView.h"

#include "platform/WindowDirectory.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <qdrawutil.h>

#include <algorithm>

namespace {

QColor toQColor(Colour colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Colour toColour(const QColor& colour)
{
    return MakeColour(colour.red(), colour.green(), colour.blue());
}

Qt::Alignment toQtAlignment(ColumnAlignment alignment)
{
    switch (alignment) {
    case ColumnAlignment::Centre:
        return Qt::AlignHCenter;
    case ColumnAlignment::Right:
        return Qt::AlignRight;
    case ColumnAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

constexpr int TextMargin = 2;

// A sunken box with, when checked, a tick of seven short strokes.
void paintCheckbox(QPainter& painter, const QRect& box, bool checked, const QColor& tick, const QPalette& palette)
{
    qDrawWinPanel(&painter, box, palette, true, &palette.brush(QPalette::Base));
    if (!checked)
        return;
    const int scale = std::max(1, (box.height() - 4) / 9);
    const int left = box.center().x() - (7 * scale) / 2;
    const int top = box.center().y() - (5 * scale) / 2;
    static constexpr int strokeOffsets[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int stroke = 0; stroke < 7; ++stroke)
        painter.fillRect(left + stroke * scale, top + strokeOffsets[stroke] * scale, scale, 3 * scale, tick);
}

} // namespace

// The table of a ListCtrlPackage as the item view reads it.
class ListCtrlPackageItemModel : public QAbstractTableModel {
public:
    explicit ListCtrlPackageItemModel(ListCtrlPackage& list) : m_list(list) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_list.GetItemCount();
    }

    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_list.GetColumnCount();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return QString::fromStdString(m_list.GetItemText(index.row(), index.column()));
        if (role == Qt::ToolTipRole) {
            const CellData* cell = m_list.GetCellData(index.row(), index.column());
            if (cell && !cell->tooltipText.empty())
                return QString::fromStdString(cell->tooltipText);
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal)
            return {};
        if (role == Qt::DisplayRole)
            return QString::fromStdString(m_list.GetColumnHeading(section));
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(toQtAlignment(m_list.GetColumnAlignment(section)) | Qt::AlignVCenter);
        return {};
    }

    void refresh()
    {
        beginResetModel();
        endResetModel();
    }

    void refreshCell(int row, int column)
    {
        const QModelIndex changed = index(row, column);
        emit dataChanged(changed, changed);
    }

private:
    ListCtrlPackage& m_list;
};

namespace {

// Paints every cell by the list's drawing rules.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(ListCtrlPackageView& view) : QStyledItemDelegate(&view), m_view(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const ListCtrlPackage& list = m_view.list();
        const int row = index.row();
        const int column = index.column();
        const CellData* cell = list.GetCellData(row, column);
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const CellColours colours = list.DrawingColours(row, column, selected, m_view.hasFocus());
        const QRect rect = option.rect;
        const QString text = QString::fromStdString(list.GetItemText(row, column));

        painter->save();
        painter->fillRect(rect, toQColor(colours.background));
        QFont font = option.font;
        if (cell && cell->bold)
            font.setWeight(QFont::Bold);
        painter->setFont(font);
        painter->setPen(toQColor(colours.text));

        if (cell && cell->checkState >= 0) {
            const CellRect box = ListCtrlPackage::CheckboxRect(
                {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()}, !text.isEmpty());
            paintCheckbox(*painter, QRect(box.left, box.top, box.width(), box.height()), cell->checkState == 1,
                          toQColor(list.TickColour(row)), option.palette);
            if (!text.isEmpty()) {
                const int left = ListCtrlPackage::CheckboxTextLeft(box);
                const QRect textRect(left, rect.top(), std::max(0, rect.right() + 1 - left), rect.height());
                painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                                  painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
            }
        } else {
            int left = rect.left() + TextMargin;
            if (cell && cell->image >= 0) {
                if (const QPixmap* image = m_view.image(cell->image)) {
                    painter->drawPixmap(left, rect.top() + (rect.height() - image->height()) / 2, *image);
                    left += image->width() + TextMargin;
                }
            }
            const QRect textRect(left, rect.top(), std::max(0, rect.right() + 1 - TextMargin - left), rect.height());
            painter->drawText(textRect,
                              toQtAlignment(list.DrawingAlignment(column)) | Qt::AlignVCenter | Qt::TextSingleLine,
                              painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
        }
        painter->restore();
    }

private:
    ListCtrlPackageView& m_view;
};

} // namespace

ListCtrlPackageCheckboxEvent::ListCtrlPackageCheckboxEvent(int row, int column)
    : QEvent(registeredType()), m_row(row), m_column(column)
{
}

QEvent::Type ListCtrlPackageCheckboxEvent::registeredType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

unsigned ListCtrlPackageCheckboxEvent::registeredMessage()
{
    static const unsigned message = platform::registerWindowMessage(ListCtrlPackage::CheckboxClickedMessage);
    return message;
}

ListCtrlPackageView::ListCtrlPackageView(ListCtrlPackage& list, QWidget* parent)
    : QTreeView(parent), m_list(list), m_model(std::make_unique<ListCtrlPackageItemModel>(list))
{
    setModel(m_model.get());
    setItemDelegate(new CellDelegate(*this));
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    takeSystemColours();
    applyColumns();
    m_list.addObserver(this);
}

ListCtrlPackageView::~ListCtrlPackageView()
{
    m_list.removeObserver(this);
    setModel(nullptr);
}

void ListCtrlPackageView::setImages(std::vector<QPixmap> images)
{
    m_images = std::move(images);
    viewport()->update();
}

const QPixmap* ListCtrlPackageView::image(int index) const
{
    return index >= 0 && index < static_cast<int>(m_images.size()) ? &m_images[index] : nullptr;
}

QRect ListCtrlPackageView::cellRect(int row, int column) const
{
    return visualRect(m_model->index(row, column));
}

void ListCtrlPackageView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const int row = rowAt(point.y());
    const int column = row < 0 ? -1 : header()->logicalIndexAt(point.x());
    if (m_list.OnLeftButtonDown(row, column) == ClickOutcome::Ignored) {
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void ListCtrlPackageView::paintEvent(QPaintEvent* event)
{
    QTreeView::paintEvent(event);
    if (m_list.GetItemCount() != 0)
        return;
    QPainter painter(viewport());
    QRect area = viewport()->rect();
    area.setTop(area.top() + 10);
    painter.fillRect(area, toQColor(m_list.GetColours().window));
    painter.setPen(toQColor(m_list.GetColours().windowText));
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     QString::fromUtf8(ListCtrlPackage::EmptyListText));
}

void ListCtrlPackageView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        takeSystemColours();
    QTreeView::changeEvent(event);
}

void ListCtrlPackageView::cellChanged(int row, int column)
{
    m_model->refreshCell(row, column);
}

void ListCtrlPackageView::tableChanged()
{
    m_model->refresh();
    applyColumns();
}

void ListCtrlPackageView::checkboxClicked(int row, int column)
{
    if (QWidget* owner = parentWidget()) {
        ListCtrlPackageCheckboxEvent notification(row, column);
        QCoreApplication::sendEvent(owner, &notification);
    }
    emit checkboxToggled(row, column);
}

void ListCtrlPackageView::takeSystemColours()
{
    const QPalette colours = palette();
    ListColours system;
    system.windowText = toColour(colours.color(QPalette::Active, QPalette::Text));
    system.window = toColour(colours.color(QPalette::Active, QPalette::Base));
    system.highlight = toColour(colours.color(QPalette::Active, QPalette::Highlight));
    system.highlightText = toColour(colours.color(QPalette::Active, QPalette::HighlightedText));
    system.buttonFace = toColour(colours.color(QPalette::Active, QPalette::Button));
    system.grayText = toColour(colours.color(QPalette::Disabled, QPalette::Text));
    if (system != m_list.GetColours())
        m_list.SetColours(system);
}

void ListCtrlPackageView::applyColumns()
{
    setSelectionBehavior(m_list.fullRowSelect ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setAllColumnsShowFocus(m_list.fullRowSelect);
    const int columns = m_list.GetColumnCount();
    if (columns == m_appliedColumns)
        return;
    for (int column = 0; column < columns; ++column)
        header()->resizeSection(column, m_list.GetColumnWidth(column));
    m_appliedColumns = columns;
}

int ListCtrlPackageView::rowAt(int y) const
{
    for (int column = 0; column < m_list.GetColumnCount(); ++column) {
        const int x = std::max(0, header()->sectionViewportPosition(column));
        if (x < header()->sectionViewportPosition(column) + header()->sectionSize(column)) {
            const QModelIndex index = indexAt(QPoint(x, y));
            return index.isValid() ? index.row() : -1;
        }
    }
    return -1;
}
