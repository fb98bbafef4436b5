#include "MachineIdView.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

MachineIdView::MachineIdView(MachineId& logic, QWidget* parent) : QDialog(parent), m_logic(logic), m_screen(*this)
{
    auto* group = new QGroupBox;
    auto* computerName = new QRadioButton(tr("Computer Name"));
    auto* registryValue = new QRadioButton(tr("Registry Value"));
    auto* userDefined = new QRadioButton(tr("User Defined"));
    auto* registryField = new QLineEdit;
    auto* browseRegistry = new QPushButton(tr("..."));
    browseRegistry->setFixedWidth(28);
    auto* userDefinedField = new QLineEdit;

    auto* groupLayout = new QGridLayout(group);
    groupLayout->addWidget(computerName, 0, 0);
    groupLayout->addWidget(registryValue, 0, 1);
    groupLayout->addWidget(userDefined, 0, 2);
    groupLayout->addWidget(registryField, 1, 0, 1, 2);
    groupLayout->addWidget(browseRegistry, 1, 2, Qt::AlignLeft);
    groupLayout->addWidget(userDefinedField, 2, 0, 1, 3);

    auto* ok = new QPushButton(tr("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setMinimumWidth(380);

    m_screen.addControl(MachineId::ComputerNameSource, computerName);
    m_screen.addControl(MachineId::RegistryValueSource, registryValue);
    m_screen.addControl(MachineId::UserDefinedSource, userDefined);
    m_screen.addControl(MachineId::RegistryField, registryField);
    m_screen.addControl(MachineId::RegistryBrowseButton, browseRegistry);
    m_screen.addControl(MachineId::UserDefined, userDefinedField);
    m_screen.addControl(MachineId::OkButton, ok);
    m_screen.addControl(MachineId::CancelButton, cancel);

    using Source = MachineId::IdSource;
    connect(computerName, &QRadioButton::clicked, this, [this] { m_logic.OnSourceClicked(Source::ComputerName); });
    connect(registryValue, &QRadioButton::clicked, this, [this] { m_logic.OnSourceClicked(Source::RegistryValue); });
    connect(userDefined, &QRadioButton::clicked, this, [this] { m_logic.OnSourceClicked(Source::UserDefined); });
    connect(registryField, &QLineEdit::textEdited, this, [this] { m_logic.OnRegistryFieldChanged(); });
    connect(userDefinedField, &QLineEdit::textEdited, this, [this] { m_logic.OnUserDefinedChanged(); });
    connect(browseRegistry, &QPushButton::clicked, this, [this] { m_logic.OnBrowseRegistry(); });
    connect(ok, &QPushButton::clicked, this, [this] { m_logic.OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { m_logic.OnCancel(); });
    m_screen.onEnd = [this](int result) {
        m_ended = true;
        done(result);
    };
    m_logic.attach(&m_screen);
}

MachineIdView::~MachineIdView()
{
    m_logic.attach(nullptr);
}

int MachineIdView::run()
{
    m_logic.OnInitDialog();
    const int result = exec();
    return result == QDialog::Rejected ? MessageAnswer(MessageButton::Cancel) : result;
}

void MachineIdView::reject()
{
    m_logic.OnCancel();
}

void MachineIdView::closeEvent(QCloseEvent* event)
{
    if (m_ended) {
        event->accept();
        return;
    }
    event->ignore();
    m_logic.OnClose();
}
