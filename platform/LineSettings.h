#pragma once

#include <QString>

#include <termios.h>

// One serial line format: baud rate, parity letter (E, O, N, M or S), data
// bits (5 to 8) and stop bits (1 or 2).
struct LineFormat {
    int baud = 1200;
    char parity = 'E';
    int dataBits = 7;
    int stopBits = 1;

    bool hasParity() const { return parity != 'N'; }
    // The settings text in its usual spelling, e.g. "1200,E,7,1".
    QString toText() const;
};

struct LineSettingsParse {
    bool ok = false;
    LineFormat format;
    // Why the text was refused, in plain words; empty when ok.
    QString refusal;
};

// Reads "baud,parity,data,stop" text; blanks around the fields and the letter
// case of the parity are free. Only baud rates the serial driver knows by
// name are accepted.
LineSettingsParse parseLineSettings(const QString& text);

// The termios speed constant of a baud rate, or B0 when the driver has none.
speed_t termiosSpeed(int baud);

// Puts attributes into raw mode for the format: no line editing, echo or
// translation, receiver on, modem status lines ignored. Parity and framing
// errors and breaks are marked in the input (INPCK, PARMRK) so that the
// reader can report them. flowControl: 0 none, 1 XON/XOFF, 2 RTS/CTS.
void applyLineFormat(termios& attributes, const LineFormat& format, int flowControl);
