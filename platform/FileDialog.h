#pragma once

#include <QString>
#include <optional>

// What the program asks of a file dialog. The filter uses the classic
// "label|pattern|label|pattern" form; FilterIndex counts from 1.
struct FileDialogRequest {
    QString Title;
    QString InitialFileName;
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExtension;
    bool ConfirmOverwrite = false;
};

// The file dialog, behind an interface so that tests can answer it.
// std::nullopt means the user cancelled.
class IFileDialog {
public:
    virtual ~IFileDialog() = default;
    virtual std::optional<QString> ShowOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> ShowSave(const FileDialogRequest& request) = 0;
};
