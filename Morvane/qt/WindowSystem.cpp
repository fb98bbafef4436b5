#include "WindowSystem.h"

#include "MorvaneDlgView.h"
#include "QtMessageBoxService.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler previousHandler = nullptr;

// A display that goes away, or cannot be reached at start, ends the program with its reason
// rather than with an abort.
void endOnFatalMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Morvane: cannot show the window: %s\n", message.toLocal8Bit().constData());
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

bool displayNamed()
{
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace

struct WindowSystem::Parts {
    Parts(int& argc, char** argv) : application(argc, argv) {}

    QApplication application;
    QtMessageBoxService messageBoxes;
};

WindowSystem::WindowSystem() = default;

WindowSystem::~WindowSystem() = default;

std::unique_ptr<WindowSystem> WindowSystem::Start(int& argc, char** argv)
{
    if (!displayNamed()) {
        std::fprintf(stderr, "Morvane: no display to show the window on (DISPLAY is not set)\n");
        return nullptr;
    }
    previousHandler = qInstallMessageHandler(endOnFatalMessage);
    std::unique_ptr<WindowSystem> system(new WindowSystem);
    system->m_parts = std::make_unique<Parts>(argc, argv);
    return system;
}

MessageBoxService& WindowSystem::messageBoxes()
{
    return m_parts->messageBoxes;
}

int WindowSystem::RunMainWindow(MorvaneDlg& window)
{
    window.SetMessageBoxService(&m_parts->messageBoxes);
    const LibraryMessageBoxHook hook(m_parts->messageBoxes);
    int result = 0;
    {
        MorvaneDlgView view(window);
        result = view.exec();
    }
    window.SetMessageBoxService(nullptr);
    return result;
}
