// The start of the program: its process-wide objects in the order they come to exist, the
// command line, the single-instance guard and the three outcomes of a start (refuse to run, run
// one collection without a window, or show the main window until the user closes it).
//
// The window system is started only by the outcomes that show something: a silent run and a
// refused argument never need a display.
#pragma once

#include "MorvaneDlg.h"
#include "Processes.h"

#include "store/PackageStore.h"

#include <memory>
#include <string>
#include <vector>

// Texts of the program's string table used at start.
inline constexpr char SilentKeyword[] = "silent";
inline constexpr char AlreadyRunningText[] = "Morvane is already running";                      // 1094
inline constexpr char InvalidArgumentText[] = "Missing or invalid value argument for morvane."; // 1105

// The window system as the start routine sees it.
class ProgramWindowSystem {
public:
    virtual ~ProgramWindowSystem() = default;

    // Starts the window system for this process; false, having said why on standard error, when
    // no display can be reached.
    virtual bool Start() = 0;

    // Once started: the program's message boxes, and the main window, run modally until it ends.
    virtual MessageBoxService& messageBoxes() = 0;
    virtual int RunMainWindow(MorvaneDlg& window) = 0;
};

// The command-line text of the arguments after the program name: joined by single blanks, the
// blanks before the first word removed, nothing else (a trailing blank stays).
std::string CommandLineText(const std::vector<std::string>& arguments);

// The application object: the command line and the window system, started on demand.
class MorvaneApp {
public:
    MorvaneApp(const std::vector<std::string>& arguments, std::unique_ptr<ProgramWindowSystem> windows);

    const std::string& commandLine() const { return m_commandLine; }

    // Starts the window system once; later calls return the first call's result.
    bool StartWindowSystem();
    ProgramWindowSystem& windows() { return *m_windows; }

private:
    std::string m_commandLine;
    std::unique_ptr<ProgramWindowSystem> m_windows;
    int m_started = -1; // -1 not tried, 0 failed, 1 running
};

// The program's process-wide objects, created in this order before the start routine runs and
// destroyed in the reverse order when the program ends.
class MorvaneProgram {
public:
    // collect stands in for the library's collection entry (tests); by default the library's.
    MorvaneProgram(const std::vector<std::string>& arguments, std::unique_ptr<ProgramWindowSystem> windows,
                   ProcessApi processes = ProcessApi(), MorvaneDlg::CollectionEntry collect = nullptr);

    // The start routine: runs one of the three outcomes and returns the exit status, 0 unless
    // the main window could not be shown at all.
    int InitInstance();

    MorvaneApp application;
    PackageStore store;
    const unsigned libraryMessage;  // "A message from LIB Process to Exe"
    const unsigned checkboxMessage; // "WM_LISTCTRLPACKAGE_CHECKBOX_CLICKED"
    ProcessApi processApi;

private:
    // The "Warning" box of a refused second copy, or, without a display, its text on standard
    // error.
    void WarnAlreadyRunning();

    MorvaneDlg::CollectionEntry m_collect;
};
