#include "QtScreen.h"

#include "DialogViews.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QSignalBlocker>

namespace {

// Multi-line edits hold their lines apart by CR LF, as the rest of the system's texts do.
std::string withCrLf(const QString& text)
{
    std::string bytes;
    for (char c : text.toStdString()) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    return bytes;
}

QString withoutCr(const std::string& text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            bytes += text[i];
    }
    return QString::fromStdString(bytes);
}

} // namespace

QtScreen::QtScreen(QWidget& window) : m_window(window) {}

QtScreen::~QtScreen()
{
    while (m_busyDepth > 0)
        setBusy(false);
}

void QtScreen::addControl(int id, QWidget* widget)
{
    m_controls[id] = widget;
}

QWidget* QtScreen::control(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second.data();
}

void QtScreen::showControl(int id, bool visible)
{
    if (QWidget* widget = control(id))
        widget->setVisible(visible);
}

void QtScreen::enableControl(int id, bool enabled)
{
    if (QWidget* widget = control(id))
        widget->setEnabled(enabled);
}

bool QtScreen::isControlEnabled(int id) const
{
    const QWidget* widget = control(id);
    return widget && widget->isEnabled();
}

std::string QtScreen::controlText(int id) const
{
    QWidget* widget = control(id);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text().toStdString();
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->text().toStdString();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        return withCrLf(edit->toPlainText());
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text().toStdString();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText().toStdString();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title().toStdString();
    return {};
}

void QtScreen::setControlText(int id, const std::string& text)
{
    QWidget* widget = control(id);
    if (!widget)
        return;
    const QSignalBlocker blocker(widget);
    const QString value = QString::fromStdString(text);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(value);
    else if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(value);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        edit->setPlainText(withoutCr(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(value);
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        combo->setCurrentText(value);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(value);
}

int QtScreen::controlValue(int id) const
{
    QWidget* widget = control(id);
    if (auto* progress = qobject_cast<QProgressBar*>(widget))
        return progress->value();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->isChecked() ? 1 : 0;
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentIndex();
    return 0;
}

void QtScreen::setControlValue(int id, int value)
{
    QWidget* widget = control(id);
    if (auto* progress = qobject_cast<QProgressBar*>(widget)) {
        progress->setValue(value);
        return;
    }
    if (!widget)
        return;
    // What the window's logic sets is not a choice of the user's: input controls stay silent.
    const QSignalBlocker blocker(widget);
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setChecked(value != 0);
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
        combo->setCurrentIndex(value);
}

DateTime QtScreen::controlDateTime(int id) const
{
    const auto* picker = qobject_cast<QDateTimeEdit*>(control(id));
    if (!picker)
        return {};
    const QDateTime moment = picker->dateTime();
    return {moment.date().year(), moment.date().month(),  moment.date().day(),
            moment.time().hour(), moment.time().minute(), moment.time().second()};
}

void QtScreen::setControlDateTime(int id, const DateTime& moment)
{
    auto* picker = qobject_cast<QDateTimeEdit*>(control(id));
    if (!picker)
        return;
    const QSignalBlocker blocker(picker);
    picker->setDateTime(QDateTime(QDate(moment.year, moment.month, moment.day),
                                  QTime(moment.hour, moment.minute, moment.second)));
}

void QtScreen::setToolTip(int id, const std::string& text)
{
    if (QWidget* widget = control(id))
        widget->setToolTip(QString::fromStdString(text));
}

void QtScreen::setTitle(const std::string& title)
{
    m_window.setWindowTitle(QString::fromStdString(title));
}

void QtScreen::setVisible(bool visible)
{
    m_window.setVisible(visible);
}

void QtScreen::resize(int width, int height)
{
    m_window.setFixedSize(width, height);
}

void QtScreen::centreOnScreen()
{
    const QScreen* screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = m_window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    m_window.move(frame.topLeft());
}

void QtScreen::appendMenuCommand(int command, const std::string& text)
{
    if (onMenuCommand)
        onMenuCommand(command, text);
}

void QtScreen::enableClose(bool enabled)
{
    m_closeEnabled = enabled;
}

void QtScreen::setBusy(bool busy)
{
    if (busy) {
        ++m_busyDepth;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0) {
        --m_busyDepth;
        QApplication::restoreOverrideCursor();
    }
}

void QtScreen::endDialog(int result)
{
    if (onEnd)
        onEnd(result);
}

int QtScreen::runModal(Dialog& dialog)
{
    return RunDialogView(dialog, &m_window);
}
