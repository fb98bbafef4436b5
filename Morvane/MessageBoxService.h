// The program's one message-box service: every box of every window, and the library's logged
// boxes, go through it.
//
// A box is asked for by its kind, which gives the caption, and by a style word with the
// platform's values (MB_YESNO | MB_ICONHAND, ...), whose button group and icon are read
// independently of each other and of the kind. The answer is the platform's value of the button
// chosen (IDOK, IDYES, IDNO, ...); -1 when nothing was shown.
#pragma once

#include "platform/MessageBox.h"

#include <string>
#include <vector>

enum class MessageKind { Error = 0, Confirmation = 1, Information = 2, Warning = 3 };

// "Error", "Confirmation", "Information" or "Warning".
std::string MessageCaption(MessageKind kind);

enum class MessageButton { Ok, Cancel, Abort, Retry, Ignore, Yes, No };
enum class MessageIcon { None, Error, Question, Warning, Information };

// The buttons, in the order they are shown, and the icon of a style word. A button group the
// platform does not know shows OK alone; an unknown icon shows none.
struct MessageBoxLayout {
    std::vector<MessageButton> buttons;
    MessageIcon icon = MessageIcon::None;
};
MessageBoxLayout DescribeMessageBoxStyle(unsigned int style);

// The platform's answer for a button (IDOK, IDCANCEL, ..., IDYES, IDNO).
int MessageAnswer(MessageButton button);

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;

    // Shows a box of this kind and returns the answer.
    int show(MessageKind kind, const std::string& text, unsigned int style);

    // Shows a modal box with exactly this caption, text and style and returns the answer. May be
    // called from any thread; the caller waits until the user has answered.
    virtual int showBox(const std::string& caption, const std::string& text, unsigned int style) = 0;
};

// Routes the library's message boxes (ReportMessage) to a service while the object lives, and
// puts back the hook that was installed before.
class LibraryMessageBoxHook {
public:
    explicit LibraryMessageBoxHook(MessageBoxService& service);
    ~LibraryMessageBoxHook();
    LibraryMessageBoxHook(const LibraryMessageBoxHook&) = delete;
    LibraryMessageBoxHook& operator=(const LibraryMessageBoxHook&) = delete;

private:
    platform::MessageBoxHook m_previous;
};
