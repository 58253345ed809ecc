#pragma once

#include "recording/MeasurementRecorder.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class IClock;
class IFileDialog;
class ISettingsStore;
class MeasureTab;
class ValueLabels;

// The Measure tab's recording: "Record to…" picks a CSV file and records
// every measurement to it as it ends (starting the measurements when they
// do not run yet); "Stop recording" ends it. While recording, the file's
// name and the rows recorded stay in sight; a recording that stops on its
// own (a full disk) says why and the report stays until the next recording.
// Daily files and local time stamps are remembered choices.
class RecordingPanel : public QWidget {
    Q_OBJECT
public:
    RecordingPanel(MeasureTab& measure, IFileDialog& dialog, ISettingsStore& settings,
                   IClock& clock, QWidget* parent = nullptr);

    QPushButton* cmdRecordTo = nullptr;
    QPushButton* cmdStopRecording = nullptr;
    QCheckBox* chkDailyFiles = nullptr;
    QCheckBox* chkLocalTime = nullptr;
    QLabel* lblRecording = nullptr;

    MeasurementRecorder& Recorder() { return m_recorder; }
    // Where the record file's value columns get their names.
    void SetValueLabels(const ValueLabels* labels) { m_labels = labels; }

    void cmdRecordTo_Click();
    void cmdStopRecording_Click();

signals:
    // What the recording line says now, for a place in sight on every tab.
    void Report(const QString& text);

private:
    void createControls();
    // Asks for the file until it can be recorded to, or the operator cancels.
    bool startRecording(const QList<QChar>& sensors, const MeasurementMethod& method);
    // The value columns of each sensor: its names and units where known,
    // else as many as it sent last, else nine.
    QList<SensorLabels> labelsOf(const QList<QChar>& sensors,
                                 const MeasurementMethod& method) const;
    void showRecording();
    void showEnded(const QString& text);
    void showText(const QString& text);
    void Recorder_Failed(const QString& reason);
    void Runner_RunningChanged(bool running);

    MeasureTab& m_measure;
    IFileDialog& m_dialog;
    ISettingsStore& m_settings;
    IClock& m_clock;
    MeasurementRecorder m_recorder;
    const ValueLabels* m_labels = nullptr;
    QString m_lastFile;
};
