#pragma once

#include "link/LinkReport.h"

#include <QString>
#include <map>

// What status panel 1 shows: the link's reports side by side, one of each
// kind, in a fixed order, so that no report hides another. A new report
// replaces the one of its kind; an empty text withdraws it. When a command
// goes on the line the passing reports go, and the standing ones (failures
// that are still true) stay.
class StatusReports {
public:
    static inline const QString Separator = QStringLiteral("  |  ");

    void add(const LinkReport& report);
    void commandTransmitted();
    QString text() const;

private:
    std::map<LinkReport::Kind, LinkReport> m_reports;
};
