#include "link/StatusReports.h"

#include <QStringList>

void StatusReports::add(const LinkReport& report) {
    if (report.Text.isEmpty())
        m_reports.erase(report.What);
    else
        m_reports[report.What] = report;
}

void StatusReports::commandTransmitted() {
    for (auto it = m_reports.begin(); it != m_reports.end();) {
        if (it->second.Standing)
            ++it;
        else
            it = m_reports.erase(it);
    }
}

QString StatusReports::text() const {
    QStringList shown;
    for (const auto& [kind, report] : m_reports)
        shown.append(report.Text);
    return shown.join(Separator);
}
