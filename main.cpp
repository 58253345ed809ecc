#include "app/SystemPlatform.h"
#include "app/frmSDI12.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ProbeTerm"));
    QApplication::setOrganizationName(QStringLiteral("Quenvarel"));
    SystemPlatform system;
    frmSDI12 window(system.Pieces());
    window.show();
    return QApplication::exec();
}
