#pragma once

#include <QString>
#include <QVector>

// The drop-down lists of the grid's option cells.

// One choice of an option list.
struct OptionEntry {
    QString Code;
    QString Text;
};

// The entries of an option list written "|#code;text|#code;text...". An
// entry without "#code;" has only a text (its code is "").
QVector<OptionEntry> ParseOptionList(const QString& list);
