#pragma once

#include <QLocale>
#include <QString>
#include <QVector>

// What editing a sheet cell is allowed to do, and how an edit rewrites the
// row's command in the sensor's encoding.

enum class EditKind {
    Refuse,    // no editor opens
    PlainText, // the Value cell of a value row
    DropDown,  // an option cell: its data is the list offered
    SendRow,   // the Send cell: the gesture sends the row instead of editing
};

// Decides from the column and the cell's hidden data whether and how the
// cell may be edited.
EditKind EditKindFor(int column, const QString& cellData);

struct EditResult {
    QString Command;  // the row's command after the edit
    QString CellText; // what the edited cell shows after the edit
};

// Applies an edit of a cell to the row's command. Value edits are encoded by
// the command's beginning: "XB" one digit 0-9, "XW" three digits 0-999 (out
// of range gives 0), "XS" up to 8 characters, "X0A" one character (a
// surrogate pair counts as one), anything else a finite number under the
// locale or written with a decimal comma, kept in the cell as typed and sent
// with every "," as "." ("0" in both when the text is no number). Option edits write
// pickedCode at the option's fixed position without changing the command's
// length. Other columns leave the command as it is.
EditResult EncodeEdit(const QString& command, int column, const QString& editText,
                      const QString& pickedCode, const QLocale& locale = QLocale());
