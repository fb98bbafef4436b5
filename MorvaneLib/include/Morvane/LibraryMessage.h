// The progress record the library posts to the program window, one per report of a run.
#pragma once

#include <cstdint>
#include <string>

// The registered window message that carries a LibraryMessage.
inline constexpr char LibraryMessageName[] = "A message from LIB Process to Exe";

// The wParam of every progress message.
inline constexpr std::uintptr_t LibraryMessageParam = 2;

struct LibraryMessage {
    std::string statusText;    // for the receiver's status line
    int32_t progress = 0;      // 0 to 100
    std::string messageText;   // the same text, for the receiver's end-of-run handling
    int32_t eventCode = 0;     // -1 working, 0 completed, 1 settings file missing,
                               // 2 no machine ID, 3 no packages
    int32_t updateStatus = 0;  // 1 when statusText is meant for the status line
    int32_t ftpSent = 0;       // 1 when this run's FTP transfer succeeded
};
