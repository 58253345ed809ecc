#include "platform/ui/QtFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

QStringList QtNameFilters(const QString& classicFilter) {
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = classicFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString label = QString(parts.at(i)).remove(trailingPatterns).trimmed();
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*"); // all files, also those without an extension
        }
        filters.append(label + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return filters;
}

std::optional<QString> QtFileDialog::ShowOpen(const FileDialogRequest& request) {
    return Show(request, false);
}

std::optional<QString> QtFileDialog::ShowSave(const FileDialogRequest& request) {
    return Show(request, true);
}

std::optional<QString> QtFileDialog::Show(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(m_parent, request.Title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);

    const QFileInfo initial(request.InitialFileName);
    if (initial.isDir()) {
        dialog.setDirectory(initial.absoluteFilePath());
    } else if (!request.InitialFileName.isEmpty()) {
        dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    }

    const QStringList filters = QtNameFilters(request.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.FilterIndex - 1;
        dialog.selectNameFilter(filters.value(index >= 0 && index < filters.size() ? index : 0));
    }
    dialog.setDefaultSuffix(request.DefaultExtension);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.first();
}
