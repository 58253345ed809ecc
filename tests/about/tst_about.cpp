#include "app/AboutTab.h"
#include "depends/ui/frmDepends.h"
#include "platform/ui/DesktopShell.h"
#include "platform/ui/Twips.h"
#include "support/RecordingShell.h"
#include "support/TempFolders.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

// The tab in a main window; whatever it opens goes to a recording shell.
class TestAbout : public QObject {
    Q_OBJECT
    RecordingShell shell;
    TempFolders folders;
    QWidget mainWindow;
    AboutTab* tab = new AboutTab(shell, folders, QIcon(), &mainWindow);
private slots:
    void licenceAndSiteGoToTheShell() {
        auto* viewLicense = tab->findChild<QWidget*>("Command1");
        QTest::mouseClick(viewLicense, Qt::LeftButton); // no document yet: nothing happens
        QFile licence(folders.ProgramFolder() + "/Quenvarel Freeware License Agreement.rtf");
        QVERIFY(licence.open(QIODevice::WriteOnly));
        QTest::mouseClick(viewLicense, Qt::LeftButton);
        auto* site = tab->findChild<QLabel*>("lblSite");
        QTest::mouseClick(site, Qt::LeftButton);
        QCOMPARE(shell.OpenedTargets, QStringList({licence.fileName(), site->text()}));
        // The desktop shell opens a path as a file, whatever its characters.
        QCOMPARE(DesktopShell::TargetUrl("/opt/a b#c.rtf").toString(QUrl::FullyEncoded),
                 QStringLiteral("file:///opt/a%20b%23c.rtf"));
    }

    // A control sits 300 twips above its design place, which counts the tab
    // strip as the other tabs' designs do.
    void placedBelowTheTabStrip() {
        QCOMPARE(tab->findChild<QWidget*>("lblTitle")->geometry(),
                 Twips::ToPixels(1110, 300, 4755, 480));
        QCOMPARE(tab->findChild<QWidget*>("Command1")->geometry(),
                 Twips::ToPixels(4590, 2700, 1246, 345));
    }

    void iconOpensTheModalWindowOnDoubleClickOnly() {
        QWidget* owner = nullptr;
        QTimer closer; // notes the owner of the modal window that comes up, and closes it
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* modal = qobject_cast<frmDepends*>(QApplication::activeModalWidget()))
                owner = modal->close() ? modal->parentWidget() : nullptr;
        });
        closer.start(20);
        auto* icon = tab->findChild<QLabel*>("Image");
        QTest::mouseClick(icon, Qt::LeftButton);
        QCOMPARE(owner, nullptr);
        QTest::mouseDClick(icon, Qt::LeftButton);
        QCOMPARE(owner, &mainWindow);
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
