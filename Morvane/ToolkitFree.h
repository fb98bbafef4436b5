// Compiled into every source of the window logic: the logic talks to the screen only through
// its own interfaces, so no toolkit header may be reachable from its include path.
#pragma once

#if __has_include(<QtCore/qglobal.h>) || __has_include(<qglobal.h>) || defined(QT_CORE_LIB)
#error "the window logic is built without the toolkit; move toolkit code to Morvane/qt/"
#endif
