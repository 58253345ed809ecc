#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>
#include <array>

// The configuration sheet's columns.
namespace SheetColumn {
constexpr int Name = 0;
constexpr int Action = 1;
constexpr int Command = 2;
constexpr int Value = 3;
constexpr int Mode = 4;
constexpr int Type = 5;
constexpr int Config = 6;
constexpr int Gain = 7;
constexpr int Send = 8;
constexpr int Result = 9;
constexpr int Count = 10;
} // namespace SheetColumn

// Cell colours as 0x00BBGGRR.
namespace SheetColour {
constexpr quint32 ReadAction = 0xE0FFE0;
constexpr quint32 WriteAction = 0xE0E0FF;
constexpr quint32 Command = 0xC0FFFF;
} // namespace SheetColour

// One row of the sheet as the commands file describes it: what every cell
// shows and the hidden data kept with it.
struct SheetRowModel {
    QString Name;                      // column 0 text
    QString Action;                    // "READ" or "WRITE"
    QString Command;                   // column 2 text: the row command
    QString Section;                   // column 2 data: the section the row came from
    QString Value;                     // column 3 text
    QString ValueData;                 // column 3 data: "..." on value rows
    std::array<QString, 4> OptionText; // columns 4-7 text: Mode, Type, Config, Gain
    std::array<QString, 4> OptionList; // columns 4-7 data: the option lists
    QString Send;                      // column 8 text: "<--" or "-->"

    bool IsRead() const { return Action == QLatin1String("READ"); }
    bool operator==(const SheetRowModel& other) const {
        return Name == other.Name && Action == other.Action && Command == other.Command &&
               Section == other.Section && Value == other.Value && ValueData == other.ValueData &&
               OptionText == other.OptionText && OptionList == other.OptionList &&
               Send == other.Send;
    }
};

using SheetRows = QVector<SheetRowModel>;
