#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The fields of an answer to aI!: "allccccccccmmmmmmvvvxxx..." - the SDI-12
// version (two digits, "14" for 1.4), 8 characters of vendor, 6 of model,
// 3 of sensor version, then optional text such as a serial number.
struct Identification {
    QChar Address;
    QString Sdi12Version; // "1.4"
    QString Vendor;
    QString Model;
    QString SensorVersion;
    QString Rest;

    // Whether `command` asks for an identification: "aI!".
    static bool IsIdentifyCommand(const QString& command);
    // The fields of `answer` (its CR LF included); nothing when it is too
    // short or its version is not two digits.
    static std::optional<Identification> Decode(const QByteArray& answer);
};
