#include "support/TempFolders.h"

#include <QDir>

TempFolders::TempFolders()
    : m_userData(m_root.path() + QLatin1String("/data")),
      m_program(m_root.path() + QLatin1String("/program")) {
    QDir().mkpath(m_userData);
    QDir().mkpath(m_program);
}
