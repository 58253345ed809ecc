#pragma once

#include <QByteArray>
#include <QString>

// Turns one direction of serial traffic into readable terminal text. CR, LF
// and CR LF each end a line (a CR LF split across two chunks still ends only
// one); tab stays a tab; printable ASCII shows as itself; every other byte
// shows as its hex code in angle brackets, e.g. <FE>.
class TerminalTextFormatter {
public:
    QString format(const QByteArray& bytes);

private:
    bool m_afterCarriageReturn = false;
};
