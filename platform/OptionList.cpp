#include "platform/OptionList.h"

#include <QStringList>

QVector<OptionEntry> ParseOptionList(const QString& list) {
    QVector<OptionEntry> entries;
    const QStringList pieces = list.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (const QString& piece : pieces) {
        const qsizetype semicolon = piece.indexOf(QLatin1Char(';'));
        if (piece.startsWith(QLatin1Char('#')) && semicolon > 0)
            entries.append({piece.mid(1, semicolon - 1), piece.mid(semicolon + 1)});
        else
            entries.append({QString(), piece});
    }
    return entries;
}
