#pragma once

#include "support/EngineOnFakes.h"

#include <QMap>

#include <functional>

// Sensors on a bus as the tests script them: each answers its address,
// its identification, "?!" (garbled when several answer), "aAb!" and the
// names and units of M ("aIM!", "aIM_nnn!"). A command for nobody gets no
// answer.
struct FakeBus {
    QMap<QChar, QString> Serials; // by address
    // An answer the line loses, by command: the first `count` tries.
    QMap<QString, int> Lost;
    int Answered = 0; // commands of the line's the bus has heard

    QByteArray answer(const QString& command) {
        if (Lost.value(command) > 0) {
            --Lost[command];
            return {};
        }
        const QChar address = command.at(0);
        const QString body = command.mid(1).chopped(1);
        if (address == '?')
            return Serials.size() == 1 ? line(Serials.firstKey()) : QByteArray("\xB0\r\n");
        if (!Serials.contains(address))
            return {};
        if (body.isEmpty())
            return line(address);
        if (body == "I")
            return line(address, "13QUENVRELPRBSIM100" + Serials.value(address));
        if (body.size() == 2 && body.at(0) == 'A') {
            const QChar to = body.at(1);
            if (Serials.contains(to))
                return line(address);
            Serials.insert(to, Serials.take(address));
            return line(to);
        }
        if (body == "IM")
            return line(address, "0013");
        static const QStringList described{",TA,degC;", ",PA,hPa;", ",VB,V;"};
        if (body.startsWith("IM_"))
            return line(address, described.value(body.mid(3).toInt() - 1));
        return {};
    }

    static QByteArray line(QChar address, const QString& rest = QString()) {
        return (address + rest).toLatin1() + "\r\n";
    }

    // Answers each command that went out, until `busy` ends, letting time
    // pass for the silences and the waits.
    void serve(EngineOnFakes& line, const std::function<bool()>& busy, CTimer& waitTimer) {
        for (int guard = 0; busy() && guard < 100000; ++guard) {
            if (line.Transmitted.size() > Answered) {
                const QString command = line.Transmitted.at(Answered++).at(1).toString();
                const QByteArray reply = answer(command);
                if (!reply.isEmpty()) {
                    line.Answer(reply);
                    continue;
                }
            }
            if (waitTimer.Enabled())
                waitTimer.RaiseTimer();
            else
                line.Tick();
        }
    }
};
