#include "measure/MeasurementCsv.h"
#include "measure/MeasurementTable.h"
#include "measure/PlotSeries.h"
#include "measure/ValueLabels.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Labels by "address method", as a test sets them.
class FakeLabels : public ValueLabels {
public:
    QHash<QString, QStringList> Known;

    QStringList labelsOf(QChar address, const MeasurementMethod& method) const override {
        return Known.value(address + QLatin1Char(' ') + method.Name());
    }
    void set(const QString& sensor, const QStringList& labels) {
        Known.insert(sensor, labels);
        emit changed();
    }
};

// "0 M 3": three values of M measured at 0.
MeasurementRecord record(const QString& source) {
    const QStringList parts = source.split(QLatin1Char(' '));
    MeasurementRecord made;
    made.Time = QDateTime(QDate(2026, 3, 1), QTime(12, 0));
    made.Address = parts.at(0).at(0);
    made.Method = *MeasurementMethod::FromName(parts.at(1));
    made.Command = made.Method.StartCommand(made.Address);
    for (int value = 1; value <= parts.at(2).toInt(); ++value)
        made.Outcome.Values.append({QString::number(value), double(value)});
    made.Outcome.Promised = int(made.Outcome.Values.size());
    return made;
}

} // namespace

// The table's results with their retries, its value columns named by the
// labels of the sensor measured, and its rows: the latest only, so that
// days of measurements keep memory flat; views are told of every row that
// goes.
class TestMeasurementTable : public QObject {
    Q_OBJECT
private slots:
    void keepsTheLatestRows() {
        MeasurementTable table;
        QSignalSpy removed(&table, &QAbstractItemModel::rowsRemoved);
        const QDateTime start(QDate(2026, 1, 31), QTime(0, 0), Qt::UTC);
        for (int row = 0; row < MeasurementTable::RowLimit + 5; ++row) {
            MeasurementRecord record{start.addSecs(row), "0R0!", {}, '0'};
            record.Outcome.Values = {{QString::number(row), double(row)}};
            table.Append(record);
        }
        QCOMPARE(table.rowCount(), MeasurementTable::RowLimit);
        QCOMPARE(removed.count(), 5);
        QCOMPARE(table.data(table.index(0, 1)).toString(), "5");
        QCOMPARE(table.Records().last().Time, start.addSecs(MeasurementTable::RowLimit + 4));
    }

    void resultCountsRetries_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("retries");
        QTest::addColumn<QString>("result");
        QTest::newRow("complete at the first try") << "" << 0 << "OK";
        QTest::newRow("complete after one retry") << "" << 1 << "OK (1 retry)";
        QTest::newRow("complete after retries") << "" << 2 << "OK (2 retries)";
        QTest::newRow("failed after retries")
            << "no answer to 0M!" << 8 << "no answer to 0M! (8 retries)";
    }
    void resultCountsRetries() {
        QFETCH(QString, fault);
        QFETCH(int, retries);
        MeasurementRecord measured = record("0 M 1");
        measured.Outcome.Fault = fault;
        measured.Outcome.Retries = retries;
        QTEST(MeasurementTable::ResultOf(measured), "result");
    }

    void valueColumnsNamed_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("titles");
        QTest::newRow("labels of the sensor measured")
            << QStringList{"0 M 3"} << "Time|TA (degC)|PA (hPa)|VB (V)|Result";
        QTest::newRow("values past the labels stay numbered")
            << QStringList{"0 M 2", "0 M 4"} << "Time|TA (degC)|PA (hPa)|VB (V)|Value 4|Result";
        QTest::newRow("an empty label stays numbered")
            << QStringList{"3 M 3"} << "Time|Value 1|WV (m/s)|Value 3|Result";
        QTest::newRow("another method of the sensor has its own labels")
            << QStringList{"0 M1 2"} << "Time|Value 1|Value 2|Result";
        QTest::newRow("a sensor with nothing known")
            << QStringList{"7 M 2"} << "Time|Value 1|Value 2|Result";
        QTest::newRow("rows of two sensors: the names would mislead")
            << QStringList{"0 M 3", "3 M 3"} << "Time|Value 1|Value 2|Value 3|Result";
    }
    void valueColumnsNamed() {
        QFETCH(QStringList, rows);
        FakeLabels labels;
        labels.Known.insert("0 M", {"TA (degC)", "PA (hPa)", "VB (V)"});
        labels.Known.insert("3 M", {"", "WV (m/s)"});
        MeasurementTable table;
        table.SetValueLabels(&labels);
        for (const QString& row : rows)
            table.Append(record(row));
        QTEST(table.ColumnTitles().join(QLatin1Char('|')), "titles");
        QCOMPARE(MeasurementCsv::Format(table).left(MeasurementCsv::Format(table).indexOf('\r')),
                 table.ColumnTitles().join(QLatin1Char(',')).toUtf8());
    }

    // The plot's lines: one per sensor and value, in the order they came,
    // named by the labels, with the address in front once two sensors share
    // the plot.
    void plotLinesPerSensorAndValue_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("linesOfSensor3");
        QTest::newRow("one sensor") << QStringList{"0 M 3", "0 M 3"} << "TA (degC)|PA (hPa)|VB (V)"
                                    << "";
        QTest::newRow("two sensors, one without names")
            << QStringList{"0 M 2", "3 M 2", "0 M 3"}
            << "0: TA (degC)|0: PA (hPa)|3: Value 1|3: WV (m/s)|0: VB (V)"
            << "2 3";
    }
    void plotLinesPerSensorAndValue() {
        QFETCH(QStringList, rows);
        FakeLabels labels;
        labels.Known.insert("0 M", {"TA (degC)", "PA (hPa)", "VB (V)"});
        labels.Known.insert("3 M", {"", "WV (m/s)"});
        PlotSeries lines;
        for (const QString& row : rows) {
            const MeasurementRecord made = record(row);
            for (int number = 1; number <= made.Outcome.Values.size(); ++number)
                lines.seriesOf(made.Address, made.Method, number);
        }
        QTEST(lines.names(&labels).join(QLatin1Char('|')), "names");
        QStringList ofSensor3;
        for (const int line : lines.seriesOfSensor('3'))
            ofSensor3 << QString::number(line);
        QTEST(ofSensor3.join(QLatin1Char(' ')), "linesOfSensor3");
    }

    // Names read after the rows came rename the columns at once; without a
    // source of names, the columns are numbered.
    void titlesFollowTheLabels() {
        FakeLabels labels;
        MeasurementTable table;
        table.Append(record("0 M 2"));
        table.SetValueLabels(&labels);
        QSignalSpy renamed(&table, &QAbstractItemModel::headerDataChanged);
        labels.set("0 M", {"TA (degC)", "ST"});
        QCOMPARE(renamed.size(), 1);
        QCOMPARE(table.headerData(1, Qt::Horizontal).toString(), "TA (degC)");
        QCOMPARE(table.ValueTitles(), QStringList({"TA (degC)", "ST"}));
        table.SetValueLabels(nullptr);
        QCOMPARE(table.ValueTitles(), QStringList({"Value 1", "Value 2"}));
    }

    // A cleared table names its columns by the sensor of its new rows.
    void clearingForgetsTheRowsSources() {
        FakeLabels labels;
        labels.Known.insert("0 M", {"TA (degC)"});
        MeasurementTable table;
        table.SetValueLabels(&labels);
        table.Append(record("3 M 1"));
        table.Append(record("0 M 1"));
        QCOMPARE(table.ValueTitles(), QStringList({"Value 1"}));
        table.Clear();
        table.Append(record("0 M 1"));
        QCOMPARE(table.ValueTitles(), QStringList({"TA (degC)"}));
    }
};

QTEST_GUILESS_MAIN(TestMeasurementTable)
#include "tst_measurementtable.moc"
