// A message-box service for tests: answers are set in advance, and every box asked for is kept.
#pragma once

#include "MessageBoxService.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

struct ShownMessageBox {
    std::string caption;
    std::string text;
    unsigned int style = 0;
};

class ScriptedMessageBoxes : public MessageBoxService {
public:
    // The answer of the next box not yet answered. A box without an answer set is answered OK
    // when it has only an OK button; any other box without one fails the test and gets IDNO.
    void setNextAnswer(int answer);

    int showBox(const std::string& caption, const std::string& text, unsigned int style) override;

    std::vector<ShownMessageBox> shown() const;
    // The texts of the boxes shown, in order.
    std::vector<std::string> texts() const;
    void clear();

private:
    mutable std::mutex m_mutex;
    std::deque<int> m_answers;
    std::vector<ShownMessageBox> m_shown;
};
