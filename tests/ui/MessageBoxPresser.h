// For Qt view tests: waits on the user-interface thread for the next message box, notes what it
// shows, and presses one of its buttons.
#pragma once

#include <QMessageBox>
#include <QString>

#include <atomic>

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool onUserInterfaceThread = false;
    std::atomic<bool> pressed = false;
};

// Returns at once; the box is answered when the event loop finds it.
void pressInNextBox(QMessageBox::StandardButton button, SeenBox& seen);
