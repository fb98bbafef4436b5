// The process-wide message-box hook behind the store's logged message boxes.
//
// The library never shows a window itself: the program installs a hook that shows a modal box
// with the text, the caption and the buttons and icon of the style word, and returns the button
// the user chose. The hook may be called from any thread; the program's hook brings the box to
// its user-interface thread and blocks the caller until the answer. With no hook installed
// (silent runs, other programs loading the library) nothing is shown and the result is -1.
// Styles and answers keep the platform's values.
#pragma once

#include <functional>
#include <string>

// Buttons and icons of the style word.
constexpr unsigned int MB_OK = 0x00;
constexpr unsigned int MB_YESNO = 0x04;
constexpr unsigned int MB_ICONHAND = 0x10;
constexpr unsigned int MB_ICONERROR = 0x10;
constexpr unsigned int MB_ICONQUESTION = 0x20;
constexpr unsigned int MB_ICONEXCLAMATION = 0x30;
constexpr unsigned int MB_ICONINFORMATION = 0x40;

// Answers.
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

namespace platform {

using MessageBoxHook = std::function<int(const std::string& text, const std::string& caption, unsigned int style)>;

// Installs the hook (an empty one removes it) and returns the one installed before.
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

// Shows a box through the hook and returns its answer; -1 without a hook.
int showMessageBox(const std::string& text, const std::string& caption, unsigned int style);

} // namespace platform
