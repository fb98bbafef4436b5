// The message-box service over Qt message boxes, for the whole program.
#pragma once

#include "MessageBoxService.h"

#include <QObject>
#include <QString>

class QtMessageBoxService : public QObject, public MessageBoxService {
    Q_OBJECT

public:
    // Made on the user-interface thread, where every box is shown.
    explicit QtMessageBoxService(QObject* parent = nullptr);

    // From another thread the box is shown on the user-interface thread and the caller waits for
    // the answer; -1 when no application exists to show it.
    int showBox(const std::string& caption, const std::string& text, unsigned int style) override;

protected:
    // Runs one modal box on the user-interface thread.
    virtual int execBox(const QString& caption, const QString& text, unsigned int style);
};
