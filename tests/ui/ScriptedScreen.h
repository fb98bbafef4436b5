// A screen for tests of a window's logic: controls are plain records that the test reads and
// fills as a user would, frame calls are logged in order, and child dialogs get scripted results.
#pragma once

#include "Screen.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

class ScriptedScreen : public Screen {
public:
    struct Control {
        bool visible = true;
        bool enabled = true;
        std::string text;
        int value = 0;
        DateTime moment;
        std::string toolTip;
    };

    // Controls.
    void showControl(int id, bool visible) override;
    void enableControl(int id, bool enabled) override;
    bool isControlEnabled(int id) const override;
    std::string controlText(int id) const override;
    void setControlText(int id, const std::string& text) override;
    int controlValue(int id) const override;
    void setControlValue(int id, int value) override;
    DateTime controlDateTime(int id) const override;
    void setControlDateTime(int id, const DateTime& moment) override;
    void setToolTip(int id, const std::string& text) override;

    // The record of a control as the window last left it (a fresh one if never touched).
    const Control& control(int id) const;

    // Frame.
    void setTitle(const std::string& title) override;
    void setVisible(bool visible) override;
    void resize(int width, int height) override;
    void centreOnScreen() override;
    void appendMenuCommand(int command, const std::string& text) override;
    void enableClose(bool enabled) override;
    void setBusy(bool busy) override;
    void endDialog(int result) override;

    std::string title;
    bool visible = false;
    std::pair<int, int> size{0, 0};
    std::vector<std::pair<int, std::string>> menuCommands;
    bool closeEnabled = true;
    int busyDepth = 0;
    std::optional<int> endResult;
    // "title <t>", "visible 0|1", "resize <w>x<h>", "centre", "close 0|1", "end <result>", in order.
    std::vector<std::string> frameLog;

    // Child dialogs. Each run takes the next script (which may act on the dialog as its user
    // would) and returns what it returns; a run without a script fails the test and is cancelled.
    void setNextDialog(std::function<int(Dialog&)> script);
    int runModal(Dialog& dialog) override;
    std::vector<std::type_index> dialogsRun;

private:
    Control& writable(int id);

    std::map<int, Control> m_controls;
    std::deque<std::function<int(Dialog&)>> m_dialogScripts;
};
