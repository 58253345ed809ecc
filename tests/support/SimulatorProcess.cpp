#include "support/SimulatorProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <sys/resource.h>

SimulatorProcess::SimulatorProcess(const QStringList& arguments) {
    m_process.start(qEnvironmentVariable("PROBETERM_SIM"), arguments);
    if (!m_process.waitForStarted(5000))
        return;
    // A sensor has a processor of its own and answers within 15 ms; on a
    // loaded machine the simulator must still beat the 100 ms time-out.
    // Raising its priority needs root (as tests and CI run); otherwise it
    // keeps the usual one.
    setpriority(PRIO_PROCESS, id_t(m_process.processId()), -10);
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &SimulatorProcess::readLines);
}

SimulatorProcess::~SimulatorProcess() {
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
}

void SimulatorProcess::Kill() {
    m_process.kill();
    m_process.waitForFinished(3000);
}

void SimulatorProcess::readLines() {
    while (m_process.canReadLine())
        m_lines << QString::fromLatin1(m_process.readLine()).trimmed();
}

bool SimulatorProcess::WaitForLine(const QString& line, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_lines.contains(line)) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        m_process.waitForReadyRead(5);
        readLines();
    }
    return true;
}
