#pragma once

#include <QProcess>
#include <QStringList>

// probeterm-sim as a child process (its path in PROBETERM_SIM), at a raised
// priority where allowed: the device path it prints first, and the report
// lines it prints after, collected as they come while the test runs the
// event loop.
class SimulatorProcess : public QObject {
    Q_OBJECT
public:
    explicit SimulatorProcess(const QStringList& arguments = {});
    ~SimulatorProcess() override;

    bool Started() const { return !m_devicePath.isEmpty(); }
    QString DevicePath() const { return m_devicePath; }
    QStringList Lines() const { return m_lines; }
    qint64 ProcessId() const { return m_process.processId(); }
    // Ends the simulator at once, as a pulled adaptor would vanish.
    void Kill();
    // Runs the event loop until a report line equal to `line` has come.
    bool WaitForLine(const QString& line, int timeoutMs = 5000);

private:
    void readLines();

    QProcess m_process;
    QString m_devicePath;
    QStringList m_lines;
};
