#include "MachineIdSourceView.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>

MachineIdSourceView::MachineIdSourceView(MachineIdSource& logic, QWidget* parent)
    : QDialog(parent), m_source(logic), m_screen(*this)
{
    m_screen.onEnd = [this](int result) {
        m_ended = true;
        done(result);
    };
    m_source.attach(&m_screen);
}

MachineIdSourceView::~MachineIdSourceView()
{
    m_source.attach(nullptr);
}

QHBoxLayout* MachineIdSourceView::addOkCancelButtons()
{
    auto* ok = new QPushButton(tr("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    m_screen.addControl(MachineIdSource::OkButton, ok);
    m_screen.addControl(MachineIdSource::CancelButton, cancel);
    connect(ok, &QPushButton::clicked, this, [this] { m_source.OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { m_source.OnCancel(); });
    return buttons;
}

int MachineIdSourceView::run()
{
    m_source.OnInitDialog();
    const int result = exec();
    return result == QDialog::Rejected ? MessageAnswer(MessageButton::Cancel) : result;
}

// Escape is the Cancel button.
void MachineIdSourceView::reject()
{
    m_source.OnCancel();
}

void MachineIdSourceView::closeEvent(QCloseEvent* event)
{
    if (m_ended) {
        event->accept();
        return;
    }
    event->ignore();
    m_source.OnClose();
}
