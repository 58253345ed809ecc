#pragma once

#include "platform/FileDialog.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

// The file dialog on QFileDialog.
class QtFileDialog : public IFileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    std::optional<QString> ShowOpen(const FileDialogRequest& request) override;
    std::optional<QString> ShowSave(const FileDialogRequest& request) override;

private:
    std::optional<QString> Show(const FileDialogRequest& request, bool save);

    QPointer<QWidget> m_parent;
};

// Qt's filters for a classic "label|pattern|label|pattern" filter: each
// entry becomes "label (patterns)", with the pattern list (";"-separated in
// the classic form) as Qt reads it; "*.*" means every file. A label that
// already ends with patterns in brackets is not given them twice.
QStringList QtNameFilters(const QString& classicFilter);
