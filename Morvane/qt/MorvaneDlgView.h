// The main window over its logic: the controls of the collection request and the options panel
// with its package management, a menu of its own for the window-menu commands, and the
// library's reports brought to the user-interface thread.
#pragma once

#include "MorvaneDlg.h"
#include "PackageManagementView.h"
#include "QtScreen.h"

#include "platform/WindowDirectory.h"

#include <QEventLoop>
#include <QWidget>

#include <memory>

class QMenu;
class QProgressBar;
class QPushButton;

class MorvaneDlgView : public QWidget {
    Q_OBJECT

public:
    explicit MorvaneDlgView(MorvaneDlg& logic, QWidget* parent = nullptr);
    ~MorvaneDlgView() override;

    // Starts the window, registers it under its title for the library's reports, and runs it
    // modally until it ends; returns its result.
    int exec();

    QtScreen& screen() { return m_screen; }
    QMenu* windowMenu() const { return m_menu; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void end(int result);
    void leaveWindowDirectory();

    MorvaneDlg& m_logic;
    MorvaneDlgScreen m_screen;
    std::unique_ptr<PackageManagementView> m_packages;
    QMenu* m_menu = nullptr;
    QEventLoop m_loop;
    bool m_running = false;
    platform::WindowHandle m_registration = 0;
};
