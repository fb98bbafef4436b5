#include "BrowseRegView.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int ItemRole = Qt::UserRole;
constexpr int ImageSize = 16;

void drawFolder(QPainter& painter, bool open)
{
    const QColor paper(0xF5, 0xC8, 0x42);
    const QColor edge(0xB0, 0x84, 0x10);
    painter.setPen(edge);
    painter.setBrush(paper.darker(110));
    painter.drawRect(1, 3, 6, 2);
    painter.drawRect(1, 4, 13, 10);
    if (open) {
        QPainterPath flap;
        flap.moveTo(3.5, 7.5);
        flap.lineTo(15.5, 7.5);
        flap.lineTo(13.5, 14.5);
        flap.lineTo(1.5, 14.5);
        flap.closeSubpath();
        painter.setBrush(paper.lighter(115));
        painter.drawPath(flap);
    } else {
        painter.setBrush(paper);
        painter.drawRect(1, 6, 13, 8);
    }
}

void drawComputer(QPainter& painter)
{
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.setBrush(QColor(0xD8, 0xD8, 0xD8));
    painter.drawRect(1, 1, 13, 9);
    painter.setBrush(QColor(0x30, 0x70, 0xC0));
    painter.drawRect(3, 3, 9, 5);
    painter.setBrush(QColor(0xD8, 0xD8, 0xD8));
    painter.drawRect(6, 10, 3, 2);
    painter.drawRect(2, 12, 11, 2);
}

void drawValue(QPainter& painter, const QString& text, const QColor& colour)
{
    painter.setPen(QColor(0x70, 0x70, 0x70));
    painter.setBrush(Qt::white);
    painter.drawRect(0, 1, 15, 13);
    QFont font = painter.font();
    font.setPixelSize(text.size() > 2 ? 6 : 9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRect(0, 1, 16, 14), Qt::AlignCenter | Qt::TextWordWrap, text);
}

} // namespace

QPixmap BrowseRegView::image(int which)
{
    QPixmap pixmap(ImageSize, ImageSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    switch (which) {
    case BrowseReg::ClosedFolder:
        drawFolder(painter, false);
        break;
    case BrowseReg::OpenFolder:
        drawFolder(painter, true);
        break;
    case BrowseReg::Computer:
        drawComputer(painter);
        break;
    case BrowseReg::TextValue:
        drawValue(painter, QStringLiteral("ab"), QColor(0xC0, 0x20, 0x20));
        break;
    default:
        drawValue(painter, QStringLiteral("011 110"), QColor(0x20, 0x50, 0xB0));
        break;
    }
    return pixmap;
}

BrowseRegView::BrowseRegView(BrowseReg& logic, QWidget* parent) : QDialog(parent), m_logic(logic), m_screen(*this)
{
    resize(420, 460);
    for (std::size_t which = 0; which < m_images.size(); ++which)
        m_images[which] = image(static_cast<int>(which));

    m_tree = new QTreeWidget;
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(true);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setMouseTracking(true);
    m_tree->setIconSize(QSize(ImageSize, ImageSize));
    auto* path = new QLineEdit;
    path->setReadOnly(true);
    auto* values = new QListWidget;
    values->hide();
    auto* splitter = new QPushButton(tr("Splitter"));
    splitter->hide();
    auto* ok = new QPushButton(tr("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addWidget(values);
    layout->addWidget(splitter);
    layout->addWidget(path);
    layout->addLayout(buttons);

    m_screen.addControl(BrowseReg::RegistryTree, m_tree);
    m_screen.addControl(BrowseReg::PathField, path);
    m_screen.addControl(BrowseReg::ValueList, values);
    m_screen.addControl(BrowseReg::SplitterButton, splitter);
    m_screen.addControl(BrowseReg::OkButton, ok);
    m_screen.addControl(BrowseReg::CancelButton, cancel);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (!current)
            return;
        const int item = current->data(0, ItemRole).toInt();
        m_logic.OnSelChanged(item);
        showItems(item);
    });
    connect(ok, &QPushButton::clicked, this, [this] { m_logic.OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { m_logic.OnCancel(); });
    m_screen.onEnd = [this](int result) { done(result); };
    m_logic.attach(&m_screen);
}

BrowseRegView::~BrowseRegView()
{
    m_logic.attach(nullptr);
}

int BrowseRegView::run()
{
    m_logic.OnInitDialog();
    showItems(-1);
    const int result = exec();
    return result == QDialog::Rejected ? MessageAnswer(MessageButton::Cancel) : result;
}

void BrowseRegView::reject()
{
    m_logic.OnCancel();
}

QTreeWidgetItem* BrowseRegView::treeItem(int item) const
{
    return item >= 0 && item < static_cast<int>(m_items.size()) ? m_items[static_cast<std::size_t>(item)] : nullptr;
}

QIcon BrowseRegView::icon(const BrowseReg::TreeItem& item) const
{
    QIcon icon(m_images[static_cast<std::size_t>(item.image)]);
    icon.addPixmap(m_images[static_cast<std::size_t>(item.selectedImage)], QIcon::Selected);
    return icon;
}

void BrowseRegView::showItems(int selected)
{
    const std::vector<BrowseReg::TreeItem>& items = m_logic.items();
    const std::size_t shown = m_items.size();
    for (std::size_t index = shown; index < items.size(); ++index) {
        const BrowseReg::TreeItem& item = items[index];
        QTreeWidgetItem* parent = treeItem(item.parent);
        auto* row = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        row->setText(0, QString::fromStdString(item.text));
        row->setIcon(0, icon(item));
        row->setData(0, ItemRole, static_cast<int>(index));
        m_items.push_back(row);
    }
    if (QTreeWidgetItem* row = treeItem(selected)) {
        row->setIcon(0, icon(items[static_cast<std::size_t>(selected)]));
        row->setExpanded(true);
    }
}
