#include "app/AboutTab.h"
#include "depends/ui/frmDepends.h"
#include "platform/ui/DesktopShell.h"
#include "support/RecordingShell.h"
#include "support/TempFolders.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

// The tab in a main window; whatever it opens goes to a recording shell.
struct TabInMainWindow {
    RecordingShell shell;
    TempFolders folders;
    QWidget mainWindow;
    AboutTab* tab = new AboutTab(shell, folders, QIcon(), &mainWindow);
};

class AboutTabTest : public QObject {
    Q_OBJECT
private slots:
    void licenceAndSiteGoToTheShell();
    void iconOpensTheModalWindowOnDoubleClickOnly();
    void documentPathsBecomeFileUrls();
};

void AboutTabTest::licenceAndSiteGoToTheShell() {
    TabInMainWindow about;
    auto* viewLicense = about.tab->findChild<QWidget*>("Command1");
    QTest::mouseClick(viewLicense, Qt::LeftButton); // no document yet: nothing happens

    const QString document =
        about.folders.ProgramFolder() + "/Quenvarel Freeware License Agreement.rtf";
    QVERIFY(QFile(document).open(QIODevice::WriteOnly));
    QTest::mouseClick(viewLicense, Qt::LeftButton);
    auto* site = about.tab->findChild<QLabel*>("lblSite");
    QTest::mouseClick(site, Qt::LeftButton);
    QCOMPARE(about.shell.OpenedTargets, QStringList({document, site->text()}));
}

void AboutTabTest::iconOpensTheModalWindowOnDoubleClickOnly() {
    TabInMainWindow about;
    QWidget* owner = nullptr;
    QTimer closer; // notes the owner of the modal window that comes up, and closes it
    connect(&closer, &QTimer::timeout, [&] {
        if (auto* modal = qobject_cast<frmDepends*>(QApplication::activeModalWidget())) {
            owner = modal->parentWidget();
            modal->close();
        }
    });
    closer.start(20);
    auto* icon = about.tab->findChild<QLabel*>("Image");
    QTest::mouseClick(icon, Qt::LeftButton);
    QCOMPARE(owner, nullptr);
    QTest::mouseDClick(icon, Qt::LeftButton);
    QCOMPARE(owner, &about.mainWindow);
}

void AboutTabTest::documentPathsBecomeFileUrls() {
    QCOMPARE(DesktopShell::TargetUrl("/opt/a b#c.rtf").toString(QUrl::FullyEncoded),
             QStringLiteral("file:///opt/a%20b%23c.rtf"));
}

QTEST_MAIN(AboutTabTest)
#include "tst_AboutTab.moc"
