#include "MachineIdView.h"

#include "MachineIdSourceControls.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

MachineIdView::MachineIdView(MachineId& logic, QWidget* parent) : QDialog(parent), m_logic(logic), m_screen(*this)
{
    auto* group = new QGroupBox;
    addMachineIdSourceControls(*group, tr("Registry Value"), m_screen, m_logic);

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

    m_screen.addControl(MachineId::OkButton, ok);
    m_screen.addControl(MachineId::CancelButton, cancel);

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
