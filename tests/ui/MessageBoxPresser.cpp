#include "MessageBoxPresser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QThread>
#include <QTimer>

void pressInNextBox(QMessageBox::StandardButton button, SeenBox& seen)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, button, &seen] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box || !box->isVisible())
                continue;
            poll->stop();
            poll->deleteLater();
            seen.caption = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            seen.buttons = box->standardButtons();
            seen.onUserInterfaceThread = QThread::currentThread() == QCoreApplication::instance()->thread();
            seen.pressed = true;
            box->button(button)->click();
            return;
        }
    });
    poll->start(5);
}
