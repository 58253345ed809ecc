#include "app/AboutTab.h"
#include "app/Version.h"
#include "depends/ui/frmDepends.h"
#include "platform/ui/DesktopShell.h"
#include "support/RecordingShell.h"
#include "support/TempFolders.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

class AboutTabTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void labelsNameTheProgramAndVersion();
    void viewLicenseOpensTheDocumentWhenPresent_data();
    void viewLicenseOpensTheDocumentWhenPresent();
    void siteLabelHandsItsTextToTheShell();
    void iconOpensTheModalWindowOnDoubleClickOnly_data();
    void iconOpensTheModalWindowOnDoubleClickOnly();
    void desktopShellTurnsTargetsIntoUrls_data();
    void desktopShellTurnsTargetsIntoUrls();

private:
    template <typename Control> Control* Find(const char* name) {
        return m_tab->findChild<Control*>(QLatin1String(name));
    }

    RecordingShell m_shell;
    std::unique_ptr<TempFolders> m_folders;
    std::unique_ptr<QWidget> m_mainWindow;
    AboutTab* m_tab = nullptr;
};

void AboutTabTest::init() {
    m_shell.OpenedTargets.clear();
    m_folders = std::make_unique<TempFolders>();
    m_mainWindow = std::make_unique<QWidget>();
    m_tab = new AboutTab(m_shell, *m_folders, QIcon(), m_mainWindow.get());
    m_tab->FillLabels();
    m_mainWindow->show();
}

void AboutTabTest::labelsNameTheProgramAndVersion() {
    QCOMPARE(Find<QLabel>("lblTitle")->text(), QStringLiteral("Quenvarel Tidewright"));
    QCOMPARE(Find<QLabel>("lblVersion")->text(), QStringLiteral("Version %1.%2  Build %3")
                                                     .arg(ProbeTermVersion::Major)
                                                     .arg(ProbeTermVersion::Minor)
                                                     .arg(ProbeTermVersion::Revision));
}

void AboutTabTest::viewLicenseOpensTheDocumentWhenPresent_data() {
    QTest::addColumn<bool>("present");
    QTest::newRow("missing") << false;
    QTest::newRow("present") << true;
}

void AboutTabTest::viewLicenseOpensTheDocumentWhenPresent() {
    QFETCH(bool, present);
    const QString document =
        m_folders->ProgramFolder() + QStringLiteral("/Quenvarel Freeware License Agreement.rtf");
    if (present)
        QVERIFY(QFile(document).open(QIODevice::WriteOnly));
    QTest::mouseClick(Find<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(m_shell.OpenedTargets, present ? QStringList{document} : QStringList{});
}

void AboutTabTest::siteLabelHandsItsTextToTheShell() {
    QLabel* site = Find<QLabel>("lblSite");
    QTest::mouseClick(site, Qt::LeftButton);
    QCOMPARE(m_shell.OpenedTargets, QStringList{site->text()});
}

void AboutTabTest::iconOpensTheModalWindowOnDoubleClickOnly_data() {
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("single click") << false;
    QTest::newRow("double click") << true;
}

// Whatever modal window comes up is noted and closed by a poll.
void AboutTabTest::iconOpensTheModalWindowOnDoubleClickOnly() {
    QFETCH(bool, doubleClick);
    QByteArray modalClass;
    QWidget* modalOwner = nullptr;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modalClass = modal->metaObject()->className();
            modalOwner = modal->parentWidget();
            modal->close();
        }
    });
    poll.start(20);
    if (doubleClick)
        QTest::mouseDClick(Find<QLabel>("Image"), Qt::LeftButton);
    else
        QTest::mouseClick(Find<QLabel>("Image"), Qt::LeftButton);
    QTest::qWait(100);
    QCOMPARE(modalClass,
             doubleClick ? QByteArray(frmDepends::staticMetaObject.className()) : QByteArray());
    QCOMPARE(modalOwner, doubleClick ? m_mainWindow.get() : nullptr);
}

void AboutTabTest::desktopShellTurnsTargetsIntoUrls_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("url");
    QTest::newRow("document with blanks")
        << "/opt/probeterm/Quenvarel Freeware License Agreement.rtf"
        << "file:///opt/probeterm/Quenvarel%20Freeware%20License%20Agreement.rtf";
    QTest::newRow("document with #") << "/tmp/a#b.rtf"
                                     << "file:///tmp/a%23b.rtf";
    QTest::newRow("web address") << "https://www.quenvarel.example/tidewright"
                                 << "https://www.quenvarel.example/tidewright";
    QTest::newRow("address without scheme") << "www.quenvarel.example"
                                            << "http://www.quenvarel.example";
}

void AboutTabTest::desktopShellTurnsTargetsIntoUrls() {
    QFETCH(QString, target);
    QFETCH(QString, url);
    QCOMPARE(DesktopShell::TargetUrl(target).toString(QUrl::FullyEncoded), url);
}

QTEST_MAIN(AboutTabTest)
#include "tst_AboutTab.moc"
