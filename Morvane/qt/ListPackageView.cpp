#include "ListPackageView.h"

#include <QDialogButtonBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

ListPackageView::ListPackageView(ListPackage& logic, QWidget* parent)
    : QDialog(parent), m_logic(logic), m_screen(*this)
{
    auto* layout = new QVBoxLayout(this);
    // The list's check-box notifications go to the dialog, which leaves them alone.
    m_list = new ListCtrlPackageView(m_logic.list, this);
    m_list->setMinimumSize(240, 260);
    m_list->viewport()->installEventFilter(this);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { m_logic.OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { m_logic.OnCancel(); });

    m_screen.addControl(ListPackage::PackageList, m_list);
    m_screen.addControl(ListPackage::OkButton, buttons->button(QDialogButtonBox::Ok));
    m_screen.addControl(ListPackage::CancelButton, buttons->button(QDialogButtonBox::Cancel));
    m_screen.onEnd = [this](int result) { done(result); };
    m_logic.attach(&m_screen);
}

ListPackageView::~ListPackageView()
{
    m_logic.attach(nullptr);
}

int ListPackageView::run()
{
    m_logic.OnInitDialog();
    return exec();
}

void ListPackageView::reject()
{
    m_logic.OnCancel();
}

bool ListPackageView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
        m_logic.OnListClicked();
    return QDialog::eventFilter(watched, event);
}
