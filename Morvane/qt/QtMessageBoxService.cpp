#include "QtMessageBoxService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace {

QMessageBox::StandardButton toStandardButton(MessageButton button)
{
    switch (button) {
    case MessageButton::Ok:
        return QMessageBox::Ok;
    case MessageButton::Cancel:
        return QMessageBox::Cancel;
    case MessageButton::Abort:
        return QMessageBox::Abort;
    case MessageButton::Retry:
        return QMessageBox::Retry;
    case MessageButton::Ignore:
        return QMessageBox::Ignore;
    case MessageButton::Yes:
        return QMessageBox::Yes;
    case MessageButton::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtMessageBoxService::QtMessageBoxService(QObject* parent) : QObject(parent) {}

int QtMessageBoxService::showBox(const std::string& caption, const std::string& text, unsigned int style)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return -1;
    const QString qCaption = QString::fromStdString(caption);
    const QString qText = QString::fromStdString(text);
    if (QThread::currentThread() == thread())
        return execBox(qCaption, qText, style);
    int answer = -1;
    QMetaObject::invokeMethod(
        this, [&] { answer = execBox(qCaption, qText, style); }, Qt::BlockingQueuedConnection);
    return answer;
}

int QtMessageBoxService::execBox(const QString& caption, const QString& text, unsigned int style)
{
    const MessageBoxLayout layout = DescribeMessageBoxStyle(style);
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    QMessageBox box(toQtIcon(layout.icon), caption, text, QMessageBox::NoButton, owner);
    for (MessageButton button : layout.buttons)
        box.addButton(toStandardButton(button));
    box.setDefaultButton(toStandardButton(layout.buttons.front()));
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    for (MessageButton button : layout.buttons) {
        if (clicked && clicked == box.button(toStandardButton(button)))
            return MessageAnswer(button);
    }
    return -1;
}
