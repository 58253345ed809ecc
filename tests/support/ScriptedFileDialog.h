#pragma once

#include "platform/FileDialog.h"

#include <QQueue>
#include <QVector>

// A file dialog that answers from a script: each call records its request
// and takes the next queued answer (a file name, or a cancel). With nothing
// queued it cancels.
class ScriptedFileDialog : public IFileDialog {
public:
    enum class Kind { Open, Save };
    struct Call {
        Kind DialogKind;
        FileDialogRequest Request;
    };

    void QueueFileName(const QString& fileName) { m_answers.enqueue(fileName); }
    void QueueCancel() { m_answers.enqueue(std::nullopt); }

    std::optional<QString> ShowOpen(const FileDialogRequest& request) override {
        return Answer(Kind::Open, request);
    }
    std::optional<QString> ShowSave(const FileDialogRequest& request) override {
        return Answer(Kind::Save, request);
    }

    QVector<Call> Calls;

private:
    std::optional<QString> Answer(Kind kind, const FileDialogRequest& request) {
        Calls.append({kind, request});
        return m_answers.isEmpty() ? std::nullopt : m_answers.dequeue();
    }

    QQueue<std::optional<QString>> m_answers;
};
