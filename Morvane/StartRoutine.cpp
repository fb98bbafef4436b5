#include "StartRoutine.h"

#include "ListCtrlPackage.h"

#include "Morvane/LibraryMessage.h"
#include "platform/MessageBox.h"
#include "platform/WindowDirectory.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Standard output and the diagnostic trace (standard error) are read as soon as they are written.
void writeTo(std::FILE* stream, const std::string& text)
{
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}

} // namespace

std::string CommandLineText(const std::vector<std::string>& arguments)
{
    std::string text;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0)
            text += ' ';
        text += arguments[i];
    }
    text.erase(0, text.find_first_not_of(" \t"));
    return text;
}

MorvaneApp::MorvaneApp(const std::vector<std::string>& arguments, std::unique_ptr<ProgramWindowSystem> windows)
    : m_commandLine(CommandLineText(arguments)), m_windows(std::move(windows))
{
}

bool MorvaneApp::StartWindowSystem()
{
    if (m_started < 0)
        m_started = m_windows && m_windows->Start() ? 1 : 0;
    return m_started == 1;
}

MorvaneProgram::MorvaneProgram(const std::vector<std::string>& arguments, std::unique_ptr<ProgramWindowSystem> windows,
                               ProcessApi processes, MorvaneDlg::CollectionEntry collect)
    : application(arguments, std::move(windows)),
      libraryMessage(platform::registerWindowMessage(LibraryMessageName)),
      checkboxMessage(platform::registerWindowMessage(ListCtrlPackage::CheckboxClickedMessage)),
      processApi(std::move(processes)), m_collect(std::move(collect))
{
}

int MorvaneProgram::InitInstance()
{
    const std::string commandLine = lowered(application.commandLine());
    const std::string keyword = lowered(SilentKeyword);

    if (!CheckSingleInstance(processApi)) {
        if (commandLine != keyword)
            WarnAlreadyRunning();
        store.AppendLogLine(AlreadyRunningText, true);
        return EXIT_SUCCESS;
    }

    MorvaneDlg window(store, nullptr, m_collect);

    if (commandLine.empty()) {
        if (!application.StartWindowSystem())
            return EXIT_FAILURE;
        application.windows().RunMainWindow(window);
        return EXIT_SUCCESS;
    }

    if (commandLine == keyword) {
        window.StartCollection(true);
        writeTo(stdout, "\nDone\n");
        return EXIT_SUCCESS;
    }

    store.AppendLogLine(InvalidArgumentText, false);
    const std::string framed = std::string("\n ") + InvalidArgumentText + " \n";
    writeTo(stdout, framed);
    writeTo(stderr, framed);
    return EXIT_SUCCESS;
}

void MorvaneProgram::WarnAlreadyRunning()
{
    if (application.StartWindowSystem())
        application.windows().messageBoxes().show(MessageKind::Warning, AlreadyRunningText, MB_ICONEXCLAMATION | MB_OK);
    else
        writeTo(stderr, std::string(AlreadyRunningText) + "\n");
}
