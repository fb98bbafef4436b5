// The screen of one Qt window: its controls by template identifier, and the window itself.
#pragma once

#include "Screen.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>

class QtScreen : public Screen {
public:
    explicit QtScreen(QWidget& window);
    ~QtScreen() override;

    // Names a control; the screen reaches it by its kind (label, edit, button, progress bar,
    // date or time picker, combo, group box).
    void addControl(int id, QWidget* widget);
    QWidget* control(int id) const;

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

    void setTitle(const std::string& title) override;
    void setVisible(bool visible) override;
    void resize(int width, int height) override;
    void centreOnScreen() override;
    void appendMenuCommand(int command, const std::string& text) override;
    void enableClose(bool enabled) override;
    void setBusy(bool busy) override;
    void endDialog(int result) override;
    int runModal(Dialog& dialog) override;

    bool closeEnabled() const { return m_closeEnabled; }

    // What the window does with a menu command it is given, and when it ends.
    std::function<void(int command, const std::string& text)> onMenuCommand;
    std::function<void(int result)> onEnd;

private:
    QWidget& m_window;
    std::map<int, QPointer<QWidget>> m_controls;
    bool m_closeEnabled = true;
    int m_busyDepth = 0;
};
