#include "AddUpdateLineView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <typename Widget>
Widget* placed(Widget* widget, int x, int y, int width, int height)
{
    widget->setGeometry(x, y, width, height);
    return widget;
}

} // namespace

AddUpdateLineView::AddUpdateLineView(AddUpdateLine& logic, QWidget* parent)
    : QDialog(parent), m_logic(logic), m_screen(*this)
{
    m_frame = placed(new QGroupBox(this), 8, 4, 464, 150);

    auto* folderLabel = placed(new QLabel(tr("Folder:"), this), 16, 24, 140, 22);
    auto* folder = placed(new QLineEdit(this), 160, 24, 256, 22);
    folder->setReadOnly(true);
    auto* browseFolder = placed(new QPushButton(tr("..."), this), 424, 24, 36, 22);
    auto* formatLabel = placed(new QLabel(tr("File Format ('xxx.type'):"), this), 16, 54, 140, 22);
    auto* format = placed(new QLineEdit(this), 160, 54, 160, 22);
    auto* formatButton = placed(new QPushButton(tr("..."), this), 324, 54, 36, 22);
    auto* numberLabel = placed(new QLabel(tr("Number of Files:"), this), 16, 84, 140, 22);
    auto* number = placed(new QComboBox(this), 160, 84, 70, 22);
    for (const std::string& item : AddUpdateLine::NumberOfFilesItems())
        number->addItem(QString::fromStdString(item));
    number->setMaxVisibleItems(AddUpdateLine::MaximumNumberOfFiles);
    auto* recursive = placed(new QCheckBox(tr("Recursive"), this), 160, 114, 120, 22);
    auto* ok = placed(new QPushButton(tr("OK"), this), 300, 164, 80, 26);
    auto* cancel = placed(new QPushButton(tr("Cancel"), this), 388, 164, 80, 26);

    auto* pathLabel = placed(new QLabel(tr("Registry Path:"), this), 16, 24, 100, 22);
    auto* path = placed(new QLineEdit(this), 120, 24, 296, 22);
    auto* browseRegistry = placed(new QPushButton(tr("..."), this), 424, 24, 36, 22);
    auto* registryOk = placed(new QPushButton(tr("OK"), this), 300, 80, 80, 26);
    auto* registryCancel = placed(new QPushButton(tr("Cancel"), this), 388, 80, 80, 26);

    m_screen.addControl(AddUpdateLine::FolderLabel, folderLabel);
    m_screen.addControl(AddUpdateLine::FolderField, folder);
    m_screen.addControl(AddUpdateLine::FolderButton, browseFolder);
    m_screen.addControl(AddUpdateLine::FileFormatLabel, formatLabel);
    m_screen.addControl(AddUpdateLine::FileFormatField, format);
    m_screen.addControl(AddUpdateLine::FileFormatButton, formatButton);
    m_screen.addControl(AddUpdateLine::NumberOfFilesLabel, numberLabel);
    m_screen.addControl(AddUpdateLine::NumberOfFilesList, number);
    m_screen.addControl(AddUpdateLine::RecursiveCheck, recursive);
    m_screen.addControl(AddUpdateLine::OkButton, ok);
    m_screen.addControl(AddUpdateLine::CancelButton, cancel);
    m_screen.addControl(AddUpdateLine::RegistryPathLabel, pathLabel);
    m_screen.addControl(AddUpdateLine::RegistryPathField, path);
    m_screen.addControl(AddUpdateLine::RegistryBrowseButton, browseRegistry);
    m_screen.addControl(AddUpdateLine::RegistryOkButton, registryOk);
    m_screen.addControl(AddUpdateLine::RegistryCancelButton, registryCancel);

    connect(format, &QLineEdit::textEdited, this, [this] { m_logic.OnFileFormatChanged(); });
    connect(browseFolder, &QPushButton::clicked, this, [this] { m_logic.OnBrowseFolder(); });
    connect(browseRegistry, &QPushButton::clicked, this, [this] { m_logic.OnBrowseRegistry(); });
    for (QPushButton* button : {ok, registryOk})
        connect(button, &QPushButton::clicked, this, [this] { m_logic.OnOK(); });
    for (QPushButton* button : {cancel, registryCancel})
        connect(button, &QPushButton::clicked, this, [this] { m_logic.OnCancel(); });
    m_screen.onEnd = [this](int result) { done(result); };
    m_logic.attach(&m_screen);
}

AddUpdateLineView::~AddUpdateLineView()
{
    m_logic.attach(nullptr);
}

int AddUpdateLineView::run()
{
    const bool fileMode = m_logic.mode == AddUpdateLine::FileRuleMode;
    m_frame->setVisible(fileMode);
    const int ok = fileMode ? AddUpdateLine::OkButton : AddUpdateLine::RegistryOkButton;
    if (auto* button = qobject_cast<QPushButton*>(m_screen.control(ok)))
        button->setDefault(true);
    m_logic.OnInitDialog();
    const int result = exec();
    return result == QDialog::Rejected ? MessageAnswer(MessageButton::Cancel) : result;
}

void AddUpdateLineView::reject()
{
    m_logic.OnCancel();
}
