// Stands in for the program's message boxes for the life of the object: every box the library
// asks for is recorded and answered with the next scripted answer (IDOK when none is left).
#pragma once

#include "platform/MessageBox.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class ScriptedMessageBox {
public:
    struct Shown {
        std::string text;
        std::string caption;
        unsigned int style = 0;
    };

    ScriptedMessageBox();
    ~ScriptedMessageBox();
    ScriptedMessageBox(const ScriptedMessageBox&) = delete;
    ScriptedMessageBox& operator=(const ScriptedMessageBox&) = delete;

    void setNextAnswer(int answer);
    std::vector<Shown> shown() const;

private:
    mutable std::mutex m_mutex;
    std::deque<int> m_answers;
    std::vector<Shown> m_shown;
    platform::MessageBoxHook m_previous;
};

} // namespace testsupport
