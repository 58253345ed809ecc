#include "recording/ui/RecordingPanel.h"

#include "measure/MeasurementRunner.h"
#include "measure/ValueLabels.h"
#include "measure/ui/MeasureTab.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "recording/RecordingChoices.h"

#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
// A sensor not yet measured gets as many value columns as an M command
// may promise.
constexpr int UnknownValueCount = 9;
} // namespace

RecordingPanel::RecordingPanel(MeasureTab& measure, IFileDialog& dialog, ISettingsStore& settings,
                               IClock& clock, QWidget* parent)
    : QWidget(parent), m_measure(measure), m_dialog(dialog), m_settings(settings), m_clock(clock) {
    createControls();
    const RecordingChoices choices = RecordingChoices::Load(m_settings);
    chkDailyFiles->setChecked(choices.Options.Daily);
    chkLocalTime->setChecked(choices.Options.Times == RecordTimes::Local);
    m_lastFile = choices.LastFile.isEmpty() ? QDir::homePath() + QLatin1String("/Recording.csv")
                                            : choices.LastFile;
    connect(cmdRecordTo, &QPushButton::clicked, this, &RecordingPanel::cmdRecordTo_Click);
    connect(cmdStopRecording, &QPushButton::clicked, this, &RecordingPanel::cmdStopRecording_Click);
    MeasurementRunner& runner = m_measure.Runner();
    connect(&runner, &MeasurementRunner::measurementEnded, &m_recorder,
            &MeasurementRecorder::record);
    connect(&runner, &MeasurementRunner::runningChanged, this,
            &RecordingPanel::Runner_RunningChanged);
    connect(&runner, &MeasurementRunner::overrunsChanged, this, &RecordingPanel::showRecording);
    connect(&m_recorder, &MeasurementRecorder::rowWritten, this, &RecordingPanel::showRecording);
    connect(&m_recorder, &MeasurementRecorder::failed, this, &RecordingPanel::Recorder_Failed);
}

void RecordingPanel::createControls() {
    cmdRecordTo = new QPushButton(tr("Record to…"), this);
    cmdStopRecording = new QPushButton(tr("Stop recording"), this);
    cmdStopRecording->setEnabled(false);
    chkDailyFiles = new QCheckBox(tr("New file each day (UTC)"), this);
    chkLocalTime = new QCheckBox(tr("Local time"), this);
    chkLocalTime->setToolTip(tr("Time stamps in local time with its offset instead of UTC"));
    lblRecording = new QLabel(this);
    lblRecording->setTextFormat(Qt::PlainText);
    lblRecording->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(cmdRecordTo);
    row->addWidget(cmdStopRecording);
    row->addWidget(chkDailyFiles);
    row->addWidget(chkLocalTime);
    row->addWidget(lblRecording, 1);
}

void RecordingPanel::cmdRecordTo_Click() {
    if (m_recorder.isRecording())
        return;
    const std::optional<QList<QChar>> sensors = m_measure.ChosenSensors();
    const std::optional<MeasurementMethod> method = m_measure.ChosenMethod();
    if (!sensors || !method || !startRecording(*sensors, *method))
        return;
    cmdRecordTo->setEnabled(false);
    cmdStopRecording->setEnabled(true);
    chkDailyFiles->setEnabled(false);
    chkLocalTime->setEnabled(false);
    showRecording();
    m_measure.StartMeasuring();
}

bool RecordingPanel::startRecording(const QList<QChar>& sensors, const MeasurementMethod& method) {
    RecordingChoices choices;
    choices.Options.Daily = chkDailyFiles->isChecked();
    choices.Options.Times = chkLocalTime->isChecked() ? RecordTimes::Local : RecordTimes::Utc;
    FileDialogRequest request;
    request.Title = tr("Record the measurements to");
    request.Filter = QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*");
    request.DefaultExtension = QStringLiteral("csv");
    for (;;) {
        request.InitialFileName = m_lastFile;
        const std::optional<QString> fileName = m_dialog.ShowSave(request);
        if (!fileName || fileName->isEmpty())
            return false;
        m_lastFile = *fileName;
        const RecordOpening opening =
            m_recorder.start(m_lastFile, labelsOf(sensors, method), method, choices.Options,
                             m_clock.LocalNow().toUTC());
        if (opening.IsRecording())
            break;
        if (opening.What == RecordOpening::Kind::Failed) {
            showEnded(tr("Not recording: %1").arg(opening.Reason));
            return false;
        }
        // The file has other columns: its rows must not be mixed with these.
        request.Title = tr("%1 has other columns; record to another file")
                            .arg(QDir::toNativeSeparators(m_lastFile));
    }
    choices.LastFile = m_lastFile;
    const QString notSaved = choices.Save(m_settings);
    if (!notSaved.isEmpty())
        showEnded(notSaved);
    return true;
}

QList<SensorLabels> RecordingPanel::labelsOf(const QList<QChar>& sensors,
                                             const MeasurementMethod& method) const {
    QList<SensorLabels> labels;
    for (const QChar sensor : sensors) {
        const QStringList known = m_labels ? m_labels->labelsOf(sensor, method) : QStringList();
        if (!known.isEmpty()) {
            labels.append({sensor, known});
            continue;
        }
        int count = UnknownValueCount;
        const QList<MeasurementRecord>& records = m_measure.Table().Records();
        for (auto record = records.crbegin(); record != records.crend(); ++record) {
            if (record->Address == sensor && record->Outcome.IsComplete()) {
                count = int(record->Outcome.Values.size());
                break;
            }
        }
        labels.append({sensor, RecordColumns::NumberedLabels(count)});
    }
    return labels;
}

void RecordingPanel::cmdStopRecording_Click() {
    if (!m_recorder.isRecording())
        return;
    const qint64 rows = m_recorder.rows();
    const QString path = QDir::toNativeSeparators(m_recorder.path());
    m_recorder.stop();
    QString ended = tr("Recorded %n row(s) to %1", nullptr, int(rows)).arg(path);
    if (const int overruns = m_measure.Runner().overruns(); overruns > 0)
        ended += tr("; %n cycle(s) overran their period", nullptr, overruns);
    showEnded(ended);
}

void RecordingPanel::showRecording() {
    if (!m_recorder.isRecording())
        return;
    QString text = tr("Recording to %1: %n row(s)", nullptr, int(m_recorder.rows()))
                       .arg(QDir::toNativeSeparators(m_recorder.path()));
    if (const int overruns = m_measure.Runner().overruns(); overruns > 0)
        text += tr("; %n cycle(s) overran their period", nullptr, overruns);
    showText(text);
}

void RecordingPanel::showText(const QString& text) {
    lblRecording->setText(text);
    lblRecording->setToolTip(text);
    emit Report(text);
}

void RecordingPanel::showEnded(const QString& text) {
    cmdRecordTo->setEnabled(true);
    cmdStopRecording->setEnabled(false);
    chkDailyFiles->setEnabled(true);
    chkLocalTime->setEnabled(true);
    showText(text);
}

void RecordingPanel::Recorder_Failed(const QString& reason) {
    showEnded(reason);
}

// Measuring ended (Stop, or a single measurement done): so does the
// recording of it.
void RecordingPanel::Runner_RunningChanged(bool running) {
    if (!running)
        cmdStopRecording_Click();
}
