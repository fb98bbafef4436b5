// The program Morvane: the desktop window, or with the single word "silent" one collection
// without any window.
#include "StartRoutine.h"

#include "qt/WindowSystem.h"

namespace {

// The Qt window system behind the start routine, started only when an outcome shows something.
class QtProgramWindowSystem : public ProgramWindowSystem {
public:
    QtProgramWindowSystem(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

    bool Start() override
    {
        m_system = WindowSystem::Start(m_argc, m_argv);
        return m_system != nullptr;
    }

    MessageBoxService& messageBoxes() override { return m_system->messageBoxes(); }

    int RunMainWindow(MorvaneDlg& window) override { return m_system->RunMainWindow(window); }

private:
    int& m_argc;
    char** m_argv;
    std::unique_ptr<WindowSystem> m_system;
};

} // namespace

int main(int argc, char** argv)
{
    MorvaneProgram program(std::vector<std::string>(argv + 1, argv + argc),
                           std::make_unique<QtProgramWindowSystem>(argc, argv));
    return program.InitInstance();
}
