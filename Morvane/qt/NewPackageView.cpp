#include "NewPackageView.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QVBoxLayout>

#include <cstddef>

namespace {

// Refuses typing that would make the text longer than its limit in bytes.
class ByteLimit : public QValidator {
public:
    ByteLimit(std::size_t limit, QObject* parent) : QValidator(parent), m_limit(limit) {}

    State validate(QString& input, int&) const override
    {
        return static_cast<std::size_t>(input.toUtf8().size()) <= m_limit ? Acceptable : Invalid;
    }

private:
    std::size_t m_limit;
};

} // namespace

NewPackageView::NewPackageView(NewPackage& logic, QWidget* parent) : QDialog(parent), m_logic(logic), m_screen(*this)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Package Name")));
    auto* name = new QLineEdit;
    name->setValidator(new ByteLimit(NewPackage::NameLimit, name));
    name->setMinimumWidth(220);
    layout->addWidget(name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(name, &QLineEdit::textChanged, this, [this] { m_logic.OnNameChanged(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { m_logic.OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { m_logic.OnCancel(); });

    m_screen.addControl(NewPackage::PackageNameField, name);
    m_screen.addControl(NewPackage::OkButton, buttons->button(QDialogButtonBox::Ok));
    m_screen.addControl(NewPackage::CancelButton, buttons->button(QDialogButtonBox::Cancel));
    m_screen.onEnd = [this](int result) { done(result); };
    m_logic.attach(&m_screen);
}

NewPackageView::~NewPackageView()
{
    m_logic.attach(nullptr);
}

int NewPackageView::run()
{
    m_logic.OnInitDialog();
    return exec();
}

void NewPackageView::reject()
{
    m_logic.OnCancel();
}
