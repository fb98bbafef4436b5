#include "AdvancedView.h"

#include "MachineIdSourceControls.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    addMachineIdSourceControls(*unique, tr("Registry Entry"), m_screen, m_logic);

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
    m_screen.addControl(Advanced::OkButton, ok);
    m_screen.addControl(Advanced::CancelButton, cancel);

    connect(performFtp, &QCheckBox::clicked, this, [this] { m_logic.OnPerformFtpClicked(); });
    connect(passwordEnable, &QCheckBox::clicked, this, [this] { m_logic.OnPasswordEnableClicked(); });
    connect(password, &QLineEdit::textEdited, this, [this] { m_logic.OnPasswordChanged(); });
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
