#include "AdvancedView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

AdvancedView::AdvancedView(Advanced& logic, QWidget* parent) : QDialog(parent), m_logic(logic), m_screen(*this)
{
    auto* target = new QGroupBox(tr("Target Settings"));
    auto* ftpServer = new QLineEdit;
    ftpServer->setReadOnly(true);
    auto* localFolder = new QLineEdit;
    localFolder->setReadOnly(true);
    auto* browseFolder = new QPushButton(tr("..."));
    browseFolder->setFixedWidth(28);
    auto* performFtp = new QCheckBox(tr("Transfer to FTP Server"));
    auto* passwordEnable = new QCheckBox(tr("Password Enable"));
    auto* password = new QLineEdit;
    auto* mirror = new QLineEdit;
    mirror->setReadOnly(true);

    auto* targetLayout = new QGridLayout(target);
    targetLayout->addWidget(new QLabel(tr("FTP Server:")), 0, 0);
    targetLayout->addWidget(ftpServer, 0, 1, 1, 2);
    targetLayout->addWidget(new QLabel(tr("Local Folder:")), 1, 0);
    targetLayout->addWidget(localFolder, 1, 1);
    targetLayout->addWidget(browseFolder, 1, 2);
    targetLayout->addWidget(performFtp, 2, 1, 1, 2);
    targetLayout->addWidget(passwordEnable, 3, 1, 1, 2);
    targetLayout->addWidget(new QLabel(tr("ZIP Password:")), 4, 0);
    // The mirror takes the place of the password while the password is disabled.
    targetLayout->addWidget(password, 4, 1, 1, 2);
    targetLayout->addWidget(mirror, 4, 1, 1, 2);

    auto* unique = new QGroupBox(tr("Unique ID Settings"));
    auto* computerName = new QRadioButton(tr("Computer Name"));
    auto* registryEntry = new QRadioButton(tr("Registry Entry"));
    auto* userDefined = new QRadioButton(tr("User Defined"));
    auto* registryField = new QLineEdit;
    auto* browseRegistry = new QPushButton(tr("..."));
    browseRegistry->setFixedWidth(28);
    auto* userDefinedField = new QLineEdit;

    auto* uniqueLayout = new QGridLayout(unique);
    uniqueLayout->addWidget(computerName, 0, 0);
    uniqueLayout->addWidget(registryEntry, 0, 1);
    uniqueLayout->addWidget(userDefined, 0, 2);
    uniqueLayout->addWidget(registryField, 1, 0, 1, 2);
    uniqueLayout->addWidget(browseRegistry, 1, 2, Qt::AlignLeft);
    uniqueLayout->addWidget(userDefinedField, 2, 0, 1, 3);

    auto* ok = new QPushButton(tr("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(target);
    layout->addWidget(unique);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    m_screen.addControl(Advanced::FtpServer, ftpServer);
    m_screen.addControl(Advanced::LocalFolder, localFolder);
    m_screen.addControl(Advanced::LocalFolderButton, browseFolder);
    m_screen.addControl(Advanced::PerformFtp, performFtp);
    m_screen.addControl(Advanced::PasswordEnable, passwordEnable);
    m_screen.addControl(Advanced::ZipPassword, password);
    m_screen.addControl(Advanced::PasswordMirror, mirror);
    m_screen.addControl(Advanced::ComputerNameSource, computerName);
    m_screen.addControl(Advanced::RegistryEntrySource, registryEntry);
    m_screen.addControl(Advanced::UserDefinedSource, userDefined);
    m_screen.addControl(Advanced::RegistryField, registryField);
    m_screen.addControl(Advanced::RegistryBrowseButton, browseRegistry);
    m_screen.addControl(Advanced::UserDefined, userDefinedField);
    m_screen.addControl(Advanced::OkButton, ok);
    m_screen.addControl(Advanced::CancelButton, cancel);

    using Source = Advanced::IdSource;
    connect(computerName, &QRadioButton::clicked, this, [this] { m_logic.OnSourceClicked(Source::ComputerName); });
    connect(registryEntry, &QRadioButton::clicked, this, [this] { m_logic.OnSourceClicked(Source::RegistryEntry); });
    connect(userDefined, &QRadioButton::clicked, this, [this] { m_logic.OnSourceClicked(Source::UserDefined); });
    connect(performFtp, &QCheckBox::clicked, this, [this] { m_logic.OnPerformFtpClicked(); });
    connect(passwordEnable, &QCheckBox::clicked, this, [this] { m_logic.OnPasswordEnableClicked(); });
    connect(password, &QLineEdit::textEdited, this, [this] { m_logic.OnPasswordChanged(); });
    connect(registryField, &QLineEdit::textEdited, this, [this] { m_logic.OnRegistryFieldChanged(); });
    connect(userDefinedField, &QLineEdit::textEdited, this, [this] { m_logic.OnUserDefinedChanged(); });
    connect(browseRegistry, &QPushButton::clicked, this, [this] { m_logic.OnBrowseRegistry(); });
    connect(browseFolder, &QPushButton::clicked, this, [this] { m_logic.OnBrowseLocalFolder(); });
    connect(ok, &QPushButton::clicked, this, [this] { m_logic.OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { m_logic.OnCancel(); });
    m_screen.onEnd = [this](int result) {
        m_ended = true;
        done(result);
    };
    m_logic.attach(&m_screen);
}

AdvancedView::~AdvancedView()
{
    m_logic.attach(nullptr);
}

int AdvancedView::run()
{
    m_logic.OnInitDialog();
    const int result = exec();
    return result == QDialog::Rejected ? MessageAnswer(MessageButton::Cancel) : result;
}

void AdvancedView::reject()
{
    m_logic.OnCancel();
}

void AdvancedView::closeEvent(QCloseEvent* event)
{
    if (m_ended) {
        event->accept();
        return;
    }
    event->ignore();
    m_logic.OnClose();
}
