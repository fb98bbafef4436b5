#include "ScriptedScreen.h"

#include <gtest/gtest.h>

#include <typeinfo>

void ScriptedScreen::showControl(int id, bool visible)
{
    writable(id).visible = visible;
}

void ScriptedScreen::enableControl(int id, bool enabled)
{
    writable(id).enabled = enabled;
}

bool ScriptedScreen::isControlEnabled(int id) const
{
    return control(id).enabled;
}

std::string ScriptedScreen::controlText(int id) const
{
    return control(id).text;
}

void ScriptedScreen::setControlText(int id, const std::string& text)
{
    writable(id).text = text;
}

int ScriptedScreen::controlValue(int id) const
{
    return control(id).value;
}

void ScriptedScreen::setControlValue(int id, int value)
{
    writable(id).value = value;
}

DateTime ScriptedScreen::controlDateTime(int id) const
{
    return control(id).moment;
}

void ScriptedScreen::setControlDateTime(int id, const DateTime& moment)
{
    writable(id).moment = moment;
}

void ScriptedScreen::setToolTip(int id, const std::string& text)
{
    writable(id).toolTip = text;
}

const ScriptedScreen::Control& ScriptedScreen::control(int id) const
{
    static const Control untouched;
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? untouched : found->second;
}

void ScriptedScreen::setTitle(const std::string& text)
{
    title = text;
    frameLog.push_back("title " + text);
}

void ScriptedScreen::setVisible(bool shown)
{
    visible = shown;
    frameLog.push_back(shown ? "visible 1" : "visible 0");
}

void ScriptedScreen::resize(int width, int height)
{
    size = {width, height};
    frameLog.push_back("resize " + std::to_string(width) + "x" + std::to_string(height));
}

void ScriptedScreen::centreOnScreen()
{
    frameLog.push_back("centre");
}

void ScriptedScreen::appendMenuCommand(int command, const std::string& text)
{
    menuCommands.emplace_back(command, text);
}

void ScriptedScreen::enableClose(bool enabled)
{
    closeEnabled = enabled;
    frameLog.push_back(enabled ? "close 1" : "close 0");
}

void ScriptedScreen::setBusy(bool busy)
{
    busyDepth += busy ? 1 : -1;
    EXPECT_GE(busyDepth, 0) << "the wait cursor was taken away more often than it was shown";
}

void ScriptedScreen::endDialog(int result)
{
    endResult = result;
    frameLog.push_back("end " + std::to_string(result));
}

void ScriptedScreen::setNextDialog(std::function<int(Dialog&)> script)
{
    m_dialogScripts.push_back(std::move(script));
}

int ScriptedScreen::runModal(Dialog& dialog)
{
    dialogsRun.emplace_back(typeid(dialog));
    if (m_dialogScripts.empty()) {
        ADD_FAILURE() << "no script for the dialog " << typeid(dialog).name();
        return 2;
    }
    const std::function<int(Dialog&)> script = std::move(m_dialogScripts.front());
    m_dialogScripts.pop_front();
    return script(dialog);
}

ScriptedScreen::Control& ScriptedScreen::writable(int id)
{
    return m_controls[id];
}
