#include "ScriptedMessageBox.h"

namespace testsupport {

ScriptedMessageBox::ScriptedMessageBox()
{
    m_previous = platform::setMessageBoxHook([this](const std::string& text, const std::string& caption,
                                                    unsigned int style) {
        std::lock_guard lock(m_mutex);
        m_shown.push_back({text, caption, style});
        if (m_answers.empty())
            return IDOK;
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

ScriptedMessageBox::~ScriptedMessageBox()
{
    platform::setMessageBoxHook(m_previous);
}

void ScriptedMessageBox::setNextAnswer(int answer)
{
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

std::vector<ScriptedMessageBox::Shown> ScriptedMessageBox::shown() const
{
    std::lock_guard lock(m_mutex);
    return m_shown;
}

} // namespace testsupport
