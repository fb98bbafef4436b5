// The small interfaces through which the logic of a window reaches its screen.
//
// Each window's logic (MorvaneDlg, ListPackage, ...) holds its fields and rules and never sees
// the toolkit; a view implements these interfaces over real controls, and tests implement them
// with a scripted double. Controls are named by their template identifiers. Every operation on
// an identifier the window does not have does nothing and reads as empty, 0 or disabled.
#pragma once

#include <string>

// A moment as the date and time pickers hold it, in local time.
struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const DateTime&) const = default;
};

// The controls of a window.
class Controls {
public:
    virtual ~Controls() = default;

    virtual void showControl(int id, bool visible) = 0;
    virtual void enableControl(int id, bool enabled) = 0;
    virtual bool isControlEnabled(int id) const = 0;

    // The text of an edit, a static or a button caption.
    virtual std::string controlText(int id) const = 0;
    virtual void setControlText(int id, const std::string& text) = 0;

    // The position of a progress bar, the state of a check box or the selection of a combo.
    virtual int controlValue(int id) const = 0;
    virtual void setControlValue(int id, int value) = 0;

    // The moment of a date or time picker.
    virtual DateTime controlDateTime(int id) const = 0;
    virtual void setControlDateTime(int id, const DateTime& moment) = 0;

    // Nothing is shown for an empty tooltip.
    virtual void setToolTip(int id, const std::string& text) = 0;
};

// The window as a whole.
class WindowFrame {
public:
    virtual ~WindowFrame() = default;

    virtual void setTitle(const std::string& title) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void resize(int width, int height) = 0;
    virtual void centreOnScreen() = 0;
    // Appends a separator and a command to the window menu.
    virtual void appendMenuCommand(int command, const std::string& text) = 0;
    // While off, neither the close box nor the keyboard's close ends the window.
    virtual void enableClose(bool enabled) = 0;
    // Shows the wait cursor while busy; calls nest.
    virtual void setBusy(bool busy) = 0;
    // Ends the window (a modal run returns result).
    virtual void endDialog(int result) = 0;
};

class Dialog;

// Runs a child dialog modally over this window and returns its result (IDOK, IDCANCEL, ...).
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    virtual int runModal(Dialog& dialog) = 0;
};

// Everything a window's logic reaches on the screen.
class Screen : public Controls, public WindowFrame, public DialogRunner {};

// The base of every window's logic. The view that shows the window attaches its screen before
// the window is initialised, and detaches it when the window is gone.
class Dialog {
public:
    virtual ~Dialog() = default;

    void attach(Screen* screen) { m_screen = screen; }
    bool attached() const { return m_screen != nullptr; }

protected:
    Screen& screen() const { return *m_screen; }

private:
    Screen* m_screen = nullptr;
};

// Shows the wait cursor for the life of the object.
class WaitCursor {
public:
    explicit WaitCursor(WindowFrame& frame) : m_frame(frame) { m_frame.setBusy(true); }
    ~WaitCursor() { m_frame.setBusy(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    WindowFrame& m_frame;
};
