#include "FolderDialogView.h"

#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

FolderDialogView::FolderDialogView(CFolderDialog& logic, QWidget* parent)
    : QDialog(parent), m_logic(logic), m_screen(*this)
{
    resize(420, 440);
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(QStringLiteral("/"));

    m_tree = new QTreeView;
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_tree->hideColumn(column);

    auto* status = new QLabel;
    status->setVisible(logic.showsStatusText());
    auto* ok = new QPushButton(tr("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);

    m_screen.addControl(CFolderDialog::FolderTree, m_tree);
    m_screen.addControl(CFolderDialog::StatusText, status);
    m_screen.addControl(CFolderDialog::OkButton, ok);
    m_screen.addControl(CFolderDialog::CancelButton, cancel);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { m_logic.OnSelChanged(selectedPath().toStdString()); });
    connect(ok, &QPushButton::clicked, this, [this] { done(m_logic.OnChosen(selectedPath().toStdString())); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(CFolderDialog::Cancelled); });
    m_screen.onEnd = [this](int result) { done(result); };
    m_logic.attach(&m_screen);
}

FolderDialogView::~FolderDialogView()
{
    m_logic.attach(nullptr);
}

int FolderDialogView::run()
{
    m_logic.OnInitialized();
    if (!m_tree->currentIndex().isValid())
        m_logic.OnSelChanged({});
    const int result = exec();
    return result == QDialog::Rejected ? CFolderDialog::Cancelled : result;
}

QString FolderDialogView::selectedPath() const
{
    const QModelIndex current = m_tree->currentIndex();
    return current.isValid() ? m_model->filePath(current) : QString();
}

void FolderDialogView::selectPath(const QString& path)
{
    const QModelIndex index = m_model->index(QDir::cleanPath(path));
    if (!index.isValid())
        return;
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
}

std::string FolderDialogView::BrowserScreen::controlText(int id) const
{
    if (id == CFolderDialog::FolderTree)
        return m_view.selectedPath().toStdString();
    return QtScreen::controlText(id);
}

void FolderDialogView::BrowserScreen::setControlText(int id, const std::string& text)
{
    if (id == CFolderDialog::FolderTree)
        m_view.selectPath(QString::fromStdString(text));
    else
        QtScreen::setControlText(id, text);
}
