#include "app/AboutTab.h"
#include "app/LicenceWindow.h"
#include "depends/ui/frmDepends.h"
#include "platform/ui/DesktopShell.h"
#include "platform/ui/Twips.h"
#include "support/RecordingShell.h"
#include "support/TempFolders.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

// The tab in a main window; whatever it opens goes to a recording shell.
class TestAbout : public QObject {
    Q_OBJECT
    RecordingShell shell;
    TempFolders folders;
    QWidget mainWindow;
    AboutTab* tab = new AboutTab(shell, folders, QIcon(), &mainWindow);
private slots:
    // "View license" with the formatted document, its plain-text copy and a
    // program for the document each present or not: what the shell is
    // handed, what status panel 1 is told, and whether the copy is shown.
    void viewLicense_data() {
        QTest::addColumn<bool>("document");
        QTest::addColumn<bool>("plainText");
        QTest::addColumn<bool>("programOpensIt");
        QTest::addColumn<bool>("handedToShell");
        QTest::addColumn<QString>("report");
        QTest::addColumn<bool>("windowShown");
        const QString noProgram =
            "No program on this desktop opens Quenvarel Freeware License Agreement.rtf";
        QTest::newRow("no document: nothing at all")
            << false << true << true << false << "" << false;
        QTest::newRow("opened") << true << true << true << true << "" << false;
        QTest::newRow("no program: plain text")
            << true << true << false << true
            << noProgram + "; the licence is shown in its own window" << true;
        QTest::newRow("no program, no plain text")
            << true << false << false << true << noProgram << false;
    }
    void viewLicense() {
        QFETCH(bool, document);
        QFETCH(bool, plainText);
        QFETCH(bool, programOpensIt);
        RecordingShell rowShell;
        rowShell.NoProgramTakesTargets = !programOpensIt;
        TempFolders rowFolders;
        QWidget owner;
        AboutTab rowTab(rowShell, rowFolders, QIcon(), &owner);
        const QString licence =
            rowFolders.ProgramFolder() + "/Quenvarel Freeware License Agreement";
        for (const auto& [present, form] : {std::pair{document, ".rtf"}, {plainText, ".txt"}}) {
            QFile file(licence + form);
            QVERIFY(!present || (file.open(QIODevice::WriteOnly) && file.write("Licence") > 0));
        }
        QSignalSpy reports(&rowTab, &AboutTab::Report);
        QTest::mouseClick(rowTab.findChild<QWidget*>("Command1"), Qt::LeftButton);
        QTEST(rowShell.OpenedTargets == QStringList{licence + ".rtf"}, "handedToShell");
        QStringList said;
        for (const QVariantList& arguments : reports)
            said.append(arguments.at(0).toString());
        QFETCH(QString, report);
        QCOMPARE(said, report.isEmpty() ? QStringList() : QStringList{report});
        QTEST(owner.findChild<LicenceWindow*>() != nullptr, "windowShown");
    }

    void siteGoesToTheShell() {
        auto* site = tab->findChild<QLabel*>("lblSite");
        QTest::mouseClick(site, Qt::LeftButton);
        QCOMPARE(shell.OpenedTargets, QStringList{site->text()});
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
