#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

void ScriptedMessageBoxes::setNextAnswer(int answer)
{
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

int ScriptedMessageBoxes::showBox(const std::string& caption, const std::string& text, unsigned int style)
{
    std::lock_guard lock(m_mutex);
    m_shown.push_back({caption, text, style});
    if (!m_answers.empty()) {
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    if (DescribeMessageBoxStyle(style).buttons.size() == 1)
        return IDOK;
    ADD_FAILURE() << "no answer set for the question \"" << text << "\"";
    return IDNO;
}

std::vector<ShownMessageBox> ScriptedMessageBoxes::shown() const
{
    std::lock_guard lock(m_mutex);
    return m_shown;
}

std::vector<std::string> ScriptedMessageBoxes::texts() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> texts;
    for (const ShownMessageBox& box : m_shown)
        texts.push_back(box.text);
    return texts;
}

void ScriptedMessageBoxes::clear()
{
    std::lock_guard lock(m_mutex);
    m_answers.clear();
    m_shown.clear();
}
