#include "AboutView.h"

#include "MessageBoxService.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

AboutView::AboutView(AboutDlg& logic, QWidget* parent) : QDialog(parent), m_logic(logic), m_screen(*this)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Morvane")));
    layout->addWidget(new QLabel(tr("Collects the data needed to analyse a problem on this machine.")));
    auto* version = new QLineEdit;
    version->setReadOnly(true);
    layout->addWidget(version);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    m_screen.addControl(AboutDlg::VersionField, version);
    m_screen.onEnd = [this](int result) { done(result); };
    m_logic.attach(&m_screen);
}

AboutView::~AboutView()
{
    m_logic.attach(nullptr);
}

int AboutView::run()
{
    m_logic.OnInitDialog();
    const int result = exec();
    return result == QDialog::Rejected ? MessageAnswer(MessageButton::Cancel) : result;
}
