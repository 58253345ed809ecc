#include "recording/DailyName.h"
#include "recording/ExistingRecord.h"
#include "recording/RecordColumns.h"
#include "recording/RecordCsv.h"

#include <QTest>

#include <cstdlib>
#include <ctime>

namespace {

// Sensors written "0=3;5=TA (degC)|RH (%)": a number stands for that many
// values without metadata, names separated by "|" for the sensor's labels
// (an empty one among them stays empty).
RecordColumns columnsOf(const QString& sensors) {
    QList<SensorLabels> list;
    for (const QString& sensor : sensors.split(';', Qt::SkipEmptyParts)) {
        const QString labels = sensor.mid(2);
        bool isCount = false;
        const int count = labels.toInt(&isCount);
        list.append(
            {sensor.at(0), isCount ? RecordColumns::NumberedLabels(count) : labels.split('|')});
    }
    return RecordColumns(list);
}

// "0:0 1 2;5:2 3": where each sensor's values go.
QString placesOf(const RecordColumns& columns, const QString& addresses) {
    QStringList sensors;
    for (const QChar address : addresses) {
        QStringList places;
        for (const int place : columns.PlacesOf(address))
            places << QString::number(place);
        sensors << QString(address) + ':' + places.join(' ');
    }
    return sensors.join(';');
}

QList<MeasuredValue> valuesOf(const QString& texts) {
    QList<MeasuredValue> values;
    for (const QString& text : texts.split(' ', Qt::SkipEmptyParts))
        values.append({text, text.toDouble()});
    return values;
}

const QDateTime Winter = QDateTime(QDate(2026, 1, 31), QTime(14, 5, 9), Qt::UTC);
const QDateTime Summer = QDateTime(QDate(2026, 7, 1), QTime(23, 30, 0), Qt::UTC);

} // namespace

Q_DECLARE_METATYPE(RecordTimes)

class TestRecordFormat : public QObject {
    Q_OBJECT
private slots:
    // Local time is Central European for every case here.
    void initTestCase() {
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
    }

    void columnsAreTheUnionOfTheSensorsLabels_data() {
        QTest::addColumn<QString>("sensors");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("places");
        QTest::newRow("one sensor without metadata")
            << "0=3" << QStringList{"Value 1", "Value 2", "Value 3"} << "0:0 1 2";
        QTest::newRow("sensors without metadata share the numbered columns")
            << "0=2;3=3;5=1" << QStringList{"Value 1", "Value 2", "Value 3"} << "0:0 1;3:0 1 2;5:0";
        QTest::newRow("a sensor with metadata writes under its own names")
            << "0=2;5=TA (degC)|RH (%)" << QStringList{"Value 1", "Value 2", "TA (degC)", "RH (%)"}
            << "0:0 1;5:2 3";
        QTest::newRow("a name shared whatever its place")
            << "0=TA (degC)|RH (%);3=RH (%)|P (hPa)|TA (degC)"
            << QStringList{"TA (degC)", "RH (%)", "P (hPa)"} << "0:0 1;3:1 2 0";
        QTest::newRow("a name twice in one sensor has two columns")
            << "0=T (degC)|T (degC);3=T (degC)" << QStringList{"T (degC)", "T (degC)"}
            << "0:0 1;3:0";
        QTest::newRow("an unnamed value among named ones is numbered by its place")
            << "0=TA (degC)||RH (%);3=2" << QStringList{"TA (degC)", "Value 2", "RH (%)", "Value 1"}
            << "0:0 1 2;3:3 1";
        QTest::newRow("a sensor with no values") << "0=0;3=1" << QStringList{"Value 1"} << "0:;3:0";
        QTest::newRow("an address not among the sensors has no places")
            << "0=1" << QStringList{"Value 1"} << "0:0;7:";
    }
    void columnsAreTheUnionOfTheSensorsLabels() {
        QFETCH(QString, sensors);
        QFETCH(QString, places);
        const RecordColumns columns = columnsOf(sensors);
        QTEST(columns.Titles(), "titles");
        QString addresses;
        for (const QString& sensor : places.split(';'))
            addresses += sensor.at(0);
        QCOMPARE(placesOf(columns, addresses), places);
    }

    // Rows: sensor, method, values as sent, result.
    void headerAndRow_data() {
        QTest::addColumn<QString>("sensors");
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<RecordTimes>("times");
        QTest::addColumn<QString>("row"); // address, method, values, result by "/"
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("metadata") << "0=TA (degC)|RH (%)" << Winter << RecordTimes::Utc
                                  << "0/M/+21.37 -0.5/OK"
                                  << QByteArray("Time,Address,Method,TA (degC),RH (%),Result\r\n")
                                  << QByteArray("2026-01-31T14:05:09Z,0,M,+21.37,-0.5,OK\r\n");
        QTest::newRow("no metadata, values as the sensor sent them")
            << "0=3" << Winter << RecordTimes::Utc << "0/CC/+0012.300 -.5 +7/OK"
            << QByteArray("Time,Address,Method,Value 1,Value 2,Value 3,Result\r\n")
            << QByteArray("2026-01-31T14:05:09Z,0,CC,+0012.300,-.5,+7,OK\r\n");
        QTest::newRow("a row fills only its own columns")
            << "0=2;5=TA (degC)" << Winter << RecordTimes::Utc << "5/C1/+3.5/OK"
            << QByteArray("Time,Address,Method,Value 1,Value 2,TA (degC),Result\r\n")
            << QByteArray("2026-01-31T14:05:09Z,5,C1,,,+3.5,OK\r\n");
        QTest::newRow("a failed row keeps the values that came")
            << "0=3" << Winter << RecordTimes::Utc << "0/M/+1.5/2 of 3 values came"
            << QByteArray("Time,Address,Method,Value 1,Value 2,Value 3,Result\r\n")
            << QByteArray("2026-01-31T14:05:09Z,0,M,+1.5,,,2 of 3 values came\r\n");
        QTest::newRow("fields quoted where they need it")
            << "0=Depth (m, rel)|Say \"hi\"" << Winter << RecordTimes::Utc
            << "0/M//No answer, \"0D0!\" timed out"
            << QByteArray("Time,Address,Method,\"Depth (m, rel)\",\"Say \"\"hi\"\"\",Result\r\n")
            << QByteArray("2026-01-31T14:05:09Z,0,M,,,\"No answer, \"\"0D0!\"\" timed out\"\r\n");
        QTest::newRow("non-ASCII names in UTF-8")
            << "0=T (°C)" << Winter << RecordTimes::Utc << "0/M/+1/OK"
            << QByteArray("Time,Address,Method,T (\xC2\xB0"
                          "C),Result\r\n")
            << QByteArray("2026-01-31T14:05:09Z,0,M,+1,OK\r\n");
        QTest::newRow("UTC from a time given with an offset")
            << "0=1" << Winter.toOffsetFromUtc(5 * 3600 + 1800) << RecordTimes::Utc << "0/M/+1/OK"
            << QByteArray("Time,Address,Method,Value 1,Result\r\n")
            << QByteArray("2026-01-31T14:05:09Z,0,M,+1,OK\r\n");
        QTest::newRow("local time in winter")
            << "0=1" << Winter << RecordTimes::Local << "0/M/+1/OK"
            << QByteArray("Time,Address,Method,Value 1,Result\r\n")
            << QByteArray("2026-01-31T15:05:09+01:00,0,M,+1,OK\r\n");
        QTest::newRow("local time in summer, on the next day")
            << "0=1" << Summer << RecordTimes::Local << "0/M/+1/OK"
            << QByteArray("Time,Address,Method,Value 1,Result\r\n")
            << QByteArray("2026-07-02T01:30:00+02:00,0,M,+1,OK\r\n");
    }
    void headerAndRow() {
        QFETCH(QString, sensors);
        QFETCH(QDateTime, time);
        QFETCH(RecordTimes, times);
        QFETCH(QString, row);
        const RecordColumns columns = columnsOf(sensors);
        const QStringList parts = row.split('/');
        const RecordRow record{time, parts[0].at(0), parts[1], valuesOf(parts[2]), parts[3]};
        QTEST(RecordCsv::HeaderLine(columns), "header");
        QTEST(RecordCsv::RowLine(columns, record, times).value_or("(does not fit)"), "line");
    }

    void rowWithMoreValuesThanItsColumnsDoesNotFit() {
        const RecordColumns columns = columnsOf("0=2;3=3");
        QVERIFY(!RecordCsv::RowLine(columns, {Winter, '0', "M", valuesOf("+1 +2 +3"), "OK"},
                                    RecordTimes::Utc));
        QVERIFY(!RecordCsv::RowLine(columns, {Winter, '7', "M", valuesOf("+1"), "OK"},
                                    RecordTimes::Utc));
        QVERIFY(RecordCsv::RowLine(columns, {Winter, '7', "M", {}, "Port lost"}, RecordTimes::Utc));
    }

    // The whole file is given; only its head and last byte are looked at.
    void existingFile_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("sameHeader");
        QTest::addColumn<QByteArray>("lineEnd");
        const QByteArray header = "Time,Address,Method,Value 1,Result\r\n";
        const QByteArray row = "2026-01-31T14:05:09Z,0,M,+1,OK";
        QTest::newRow("whole rows") << header + row + "\r\n" << true << QByteArray();
        QTest::newRow("header alone") << header << true << QByteArray();
        QTest::newRow("torn last row") << header + row.left(25) << true << QByteArray("\r\n");
        QTest::newRow("torn between CR and LF") << header + row + "\r" << true << QByteArray("\n");
        QTest::newRow("torn into zeros")
            << header + row.left(10) + QByteArray(6, '\0') << true << QByteArray("\r\n");
        QTest::newRow("header without its line end")
            << header.chopped(2) << true << QByteArray("\r\n");
        QTest::newRow("lines ending in LF, as an editor may leave them")
            << QByteArray("Time,Address,Method,Value 1,Result\n" + row + "\n") << true
            << QByteArray();
        QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + header << true << QByteArray();
        QTest::newRow("another column")
            << QByteArray("Time,Address,Method,Value 1,Value 2,Result\r\n") << false
            << QByteArray();
        QTest::newRow("first line goes on past the header")
            << QByteArray("Time,Address,Method,Value 1,Result,Note\r\n") << false << QByteArray();
        QTest::newRow("first line long, without a line end")
            << QByteArray(header.chopped(2) + QByteArray(100, 'x')) << false << QByteArray("\r\n");
        QTest::newRow("first line stops short of the header")
            << QByteArray("Time,Address,Method\r\n") << false << QByteArray();
        QTest::newRow("header after a blank line") << "\r\n" + header << false << QByteArray();
        QTest::newRow("CR inside the first line")
            << QByteArray("Time,Address,Method,Value 1,Result\rX\r\n") << false << QByteArray();
        QTest::newRow("another program's text")
            << QByteArray("just some notes") << false << QByteArray("\r\n");
    }
    void existingFile() {
        QFETCH(QByteArray, file);
        const QByteArray header = "Time,Address,Method,Value 1,Result\r\n";
        const QByteArray head = file.left(ExistingRecord::HeadSize(header));
        QTEST(ExistingRecord::SameHeader(head, header), "sameHeader");
        QTEST(ExistingRecord::LineEndAfter(file.back()), "lineEnd");
    }

    void dailyNames_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<QString>("path");
        const QDateTime midnight(QDate(2026, 2, 1), QTime(0, 0), Qt::UTC);
        QTest::newRow("last second of the day")
            << "/data/site.csv" << midnight.addMSecs(-1) << "/data/site-2026-01-31.csv";
        QTest::newRow("midnight UTC starts the next")
            << "/data/site.csv" << midnight << "/data/site-2026-02-01.csv";
        QTest::newRow("past local midnight, before UTC midnight")
            << "/data/site.csv" << midnight.addSecs(-1800).toOffsetFromUtc(3600)
            << "/data/site-2026-01-31.csv";
        QTest::newRow("before local midnight, past UTC midnight")
            << "/data/site.csv" << midnight.addSecs(1800).toOffsetFromUtc(-5 * 3600)
            << "/data/site-2026-02-01.csv";
        QTest::newRow("new year") << "site.csv"
                                  << QDateTime(QDate(2027, 1, 1), QTime(0, 0), Qt::UTC)
                                  << "site-2027-01-01.csv";
        QTest::newRow("leap day") << "site.csv"
                                  << QDateTime(QDate(2028, 2, 29), QTime(12, 0), Qt::UTC)
                                  << "site-2028-02-29.csv";
        QTest::newRow("no extension") << "/data/site" << midnight << "/data/site-2026-02-01.csv";
        QTest::newRow("extension in capitals")
            << "/data/SITE.CSV" << midnight << "/data/SITE-2026-02-01.csv";
        QTest::newRow("another extension is kept")
            << "/data/site.txt" << midnight << "/data/site.txt-2026-02-01.csv";
        QTest::newRow("only the trailing extension goes")
            << "/data.csv/site.csv.csv" << midnight << "/data.csv/site.csv-2026-02-01.csv";
    }
    void dailyNames() {
        QFETCH(QString, chosen);
        QFETCH(QDateTime, time);
        QTEST(DailyName::PathFor(chosen, time), "path");
    }
};

QTEST_GUILESS_MAIN(TestRecordFormat)
#include "tst_recordformat.moc"
