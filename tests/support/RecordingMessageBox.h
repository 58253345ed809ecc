#pragma once

#include "platform/MessageBox.h"

#include <QVector>

// A message box that shows nothing and records what it was asked to show.
class RecordingMessageBox : public IMessageBox {
public:
    struct Message {
        QString Title;
        QString Text;
    };

    void Show(const QString& title, const QString& text) override {
        Messages.append({title, text});
    }

    QVector<Message> Messages;
};
