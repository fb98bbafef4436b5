#include "AdvancedView.h"

#include "MachineIdSourceControls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

AdvancedView::AdvancedView(Advanced& logic, QWidget* parent) : MachineIdSourceView(logic, parent), m_logic(logic)
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
    addMachineIdSourceControls(*unique, tr("Registry Entry"), screen(), m_logic);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(target);
    layout->addWidget(unique);
    layout->addLayout(addOkCancelButtons());
    setMinimumWidth(420);

    screen().addControl(Advanced::FtpServer, ftpServer);
    screen().addControl(Advanced::LocalFolder, localFolder);
    screen().addControl(Advanced::LocalFolderButton, browseFolder);
    screen().addControl(Advanced::PerformFtp, performFtp);
    screen().addControl(Advanced::PasswordEnable, passwordEnable);
    screen().addControl(Advanced::ZipPassword, password);
    screen().addControl(Advanced::PasswordMirror, mirror);

    connect(performFtp, &QCheckBox::clicked, this, [this] { m_logic.OnPerformFtpClicked(); });
    connect(passwordEnable, &QCheckBox::clicked, this, [this] { m_logic.OnPasswordEnableClicked(); });
    connect(password, &QLineEdit::textEdited, this, [this] { m_logic.OnPasswordChanged(); });
    connect(browseFolder, &QPushButton::clicked, this, [this] { m_logic.OnBrowseLocalFolder(); });
}
