// The window system of the interactive program, for code that does not see the toolkit: start
// it, show message boxes through it, run the main window.
#pragma once

#include "MessageBoxService.h"

#include <memory>

class MorvaneDlg;

class WindowSystem {
public:
    // Starts the window system for this process (argc and argv must outlive it). Returns null,
    // having said why on standard error, when no display can be reached.
    static std::unique_ptr<WindowSystem> Start(int& argc, char** argv);
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    // The program's one message-box service.
    MessageBoxService& messageBoxes();

    // Shows the main window modally and returns its result once it has ended. While it runs,
    // its boxes and the library's go through messageBoxes().
    int RunMainWindow(MorvaneDlg& window);

private:
    WindowSystem();

    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
