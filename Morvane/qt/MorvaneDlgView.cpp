#include "MorvaneDlgView.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimeEdit>
#include <QToolButton>

#include <memory>

MorvaneDlgView::MorvaneDlgView(MorvaneDlg& logic, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_logic(logic), m_screen(*this)
{
    auto* intro = new QLabel(
        tr("Morvane collects data required for analyzing a problem and sends it to a Omrida FTP server"), this);
    intro->setWordWrap(true);
    intro->setGeometry(10, 4, 460, 32);

    auto* menuButton = new QToolButton(this);
    menuButton->setText(QStringLiteral("?"));
    menuButton->setToolTip(tr("Window menu"));
    menuButton->setPopupMode(QToolButton::InstantPopup);
    menuButton->setGeometry(476, 8, 24, 22);
    m_menu = new QMenu(menuButton);
    menuButton->setMenu(m_menu);

    (new QLabel(tr("Date and Time of Problem:"), this))->setGeometry(10, 40, 160, 22);
    auto* date = new QDateEdit(this);
    date->setDisplayFormat(QStringLiteral("M/d/yyyy"));
    date->setGeometry(170, 40, 110, 22);
    auto* time = new QTimeEdit(this);
    time->setDisplayFormat(QStringLiteral("h:mm:ss AP"));
    time->setGeometry(290, 40, 110, 22);
    auto* now = new QDateTimeEdit(this);
    now->hide();

    auto* descriptionLabel = new QLabel(tr("Problem Description:"), this);
    descriptionLabel->setGeometry(10, 66, 200, 18);
    auto* description = new QPlainTextEdit(this);
    description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    description->setGeometry(10, 86, 488, 60);

    auto* status = new QLabel(this);
    status->setGeometry(10, 150, 488, 18);
    auto* progress = new QProgressBar(this);
    progress->setRange(0, 100);
    progress->setTextVisible(false);
    progress->setGeometry(10, 170, 488, 14);

    auto* collect = new QPushButton(tr("&Collect"), this);
    collect->setGeometry(10, 190, 100, 24);
    auto* options = new QPushButton(tr("&Options >>"), this);
    options->setGeometry(398, 190, 100, 24);
    // Enter does nothing in the window: the default button is hidden and has no command.
    auto* inert = new QPushButton(this);
    inert->hide();

    auto* panel = new QGroupBox(tr("Options"), this);
    panel->setGeometry(10, 222, 488, 318);
    auto* selectPackages = new QPushButton(tr("Select Packages ..."), panel);
    selectPackages->setGeometry(10, 282, 130, 24);
    auto* settings = new QPushButton(tr("Settings ..."), panel);
    settings->setGeometry(348, 282, 130, 24);
    m_packages = std::make_unique<PackageManagementView>(m_logic, m_screen, *panel);

    m_screen.addControl(MorvaneDlg::DatePicker, date);
    m_screen.addControl(MorvaneDlg::TimePicker, time);
    m_screen.addControl(MorvaneDlg::NowPicker, now);
    m_screen.addControl(MorvaneDlg::DescriptionEdit, description);
    m_screen.addControl(MorvaneDlg::StatusLine, status);
    m_screen.addControl(MorvaneDlg::ProgressBar, progress);
    m_screen.addControl(MorvaneDlg::CollectButton, collect);
    m_screen.addControl(MorvaneDlg::OptionsButton, options);
    m_screen.addControl(MorvaneDlg::InertDefaultButton, inert);
    m_screen.addControl(MorvaneDlg::SelectPackagesButton, selectPackages);
    m_screen.addControl(MorvaneDlg::SettingsButton, settings);

    connect(date, &QDateEdit::dateChanged, this, [this] { m_logic.OnDateChanged(); });
    connect(time, &QTimeEdit::timeChanged, this, [this] { m_logic.OnTimeChanged(); });
    connect(collect, &QPushButton::clicked, this, [this] { m_logic.OnCollect(); });
    connect(options, &QPushButton::clicked, this, [this] { m_logic.ToggleOptions(); });
    connect(selectPackages, &QPushButton::clicked, this, [this] { m_logic.OnSelectPackages(); });
    connect(settings, &QPushButton::clicked, this, [this] { m_logic.OnSettings(); });

    m_screen.onMenuCommand = [this](int command, const std::string& text) {
        if (!m_menu->isEmpty())
            m_menu->addSeparator();
        m_menu->addAction(QString::fromStdString(text), this, [this, command] { m_logic.OnSysCommand(command); });
    };
    m_screen.onEnd = [this](int result) { end(result); };
}

MorvaneDlgView::~MorvaneDlgView()
{
    leaveWindowDirectory();
    m_logic.attach(nullptr);
}

int MorvaneDlgView::exec()
{
    m_logic.attach(&m_screen);
    m_logic.OnInitDialog();
    const unsigned libraryMessage = platform::registerWindowMessage(LibraryMessageName);
    m_registration = platform::registerWindow(
        windowTitle().toStdString(),
        [this, libraryMessage](unsigned message, std::uintptr_t, std::unique_ptr<LibraryMessage> record) {
            if (message != libraryMessage || !record)
                return;
            // Queued onto the user-interface thread; a report that arrives after the window has
            // ended is released unread.
            std::shared_ptr<const LibraryMessage> report(std::move(record));
            QMetaObject::invokeMethod(
                this,
                [this, report] {
                    if (m_running)
                        m_logic.OnLibraryMessage(*report);
                },
                Qt::QueuedConnection);
        });
    m_running = true;
    show();
    return m_loop.exec();
}

void MorvaneDlgView::closeEvent(QCloseEvent* event)
{
    if (!m_running) {
        event->accept();
        return;
    }
    // The window ends through its logic, which refuses while a collection runs.
    event->ignore();
    m_logic.OnCancel();
}

void MorvaneDlgView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (m_running)
            m_logic.OnCancel();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MorvaneDlgView::end(int result)
{
    if (!m_running)
        return;
    m_running = false;
    leaveWindowDirectory();
    hide();
    m_loop.exit(result);
}

void MorvaneDlgView::leaveWindowDirectory()
{
    if (m_registration != 0) {
        platform::unregisterWindow(m_registration);
        m_registration = 0;
    }
}
