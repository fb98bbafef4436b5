// Opening a document in the user's viewer.
#pragma once

#include <string_view>

namespace platform {

// Starts "xdg-open" on the document in the background (found on PATH, no shell, no wait; the
// viewer is not a child the caller has to reap). False when it could not be started; whether
// the viewer then manages to show the document is not known here.
bool openDocument(std::string_view windowsPath);

} // namespace platform
