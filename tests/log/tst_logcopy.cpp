#include "link/TranscriptModel.h"
#include "link/ui/TranscriptExport.h"
#include "link/ui/TranscriptView.h"
#include "platform/ui/TabCornerButtons.h"
#include "store/FullDisk.h"
#include "support/ScriptedFileDialog.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

// Three answers in a list of four items: the first answer has been dropped.
const QStringList Items{"2026-01-31 14:05:09 [250 mS] <0+1.23\r\n>", "- 30 2B 31 2E 32 33 0D 0A",
                        "2026-01-31 14:05:10 [40 mS] <0\u00FE\u0003\r\n>", "- 30 FE 03 0D 0A"};
const QStringList Shown{"2026-01-31 14:05:09 [250 mS] <0+1.23\u21B5>", "- 30 2B 31 2E 32 33 0D 0A",
                        "2026-01-31 14:05:10 [40 mS] <0\u00FE\u00B7\u21B5>", "- 30 FE 03 0D 0A"};

} // namespace

class TestLogCopy : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    TranscriptModel m_transcript{4};
    TranscriptView m_view;
    QPushButton m_copyAll, m_saveAs;
    ScriptedFileDialog m_dialog;
    TranscriptExport m_export{m_transcript, {&m_view, &m_copyAll, &m_saveAs}, m_dialog};
    QString m_reported; // the export's last report

    QAction* menuEntry(const QString& caption) const {
        for (QAction* action : m_view.actions()) {
            if (action->text().remove('&') == caption)
                return action;
        }
        return nullptr;
    }

private slots:
    void initTestCase() {
        connect(&m_export, &TranscriptExport::Report, this,
                [this](const QString& text) { m_reported = text; });
        m_view.setModel(&m_transcript);
        for (const QString& item : QStringList{"dropped", "dropped"} + Items)
            m_transcript.Append(item);
        // Shown and active, so that Ctrl+C goes the way it goes in the window.
        m_view.show();
        QVERIFY(QTest::qWaitForWindowActive(&m_view));
    }
    void init() {
        QGuiApplication::clipboard()->setText("before");
        m_view.clearSelection();
        m_reported.clear();
    }

    // Rows are picked in the given order; the clipboard has them in list order.
    void copyGivesTheSelectedLinesAsShown_data() {
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<bool>("fromMenu");
        QTest::addColumn<QString>("copied");
        QTest::newRow("answer, line end as a mark") << QList<int>{0} << false << Shown[0];
        QTest::newRow("control character as a dot") << QList<int>{2} << true << Shown[2];
        QTest::newRow("picked out of order")
            << QList<int>{3, 0, 1} << false << Shown[0] + '\n' + Shown[1] + '\n' + Shown[3];
        QTest::newRow("nothing selected") << QList<int>{} << false << QString("before");
    }
    void copyGivesTheSelectedLinesAsShown() {
        QFETCH(QList<int>, rows);
        QFETCH(bool, fromMenu);
        // A current row alone is not a selection.
        m_view.selectionModel()->setCurrentIndex(m_transcript.index(0),
                                                 QItemSelectionModel::NoUpdate);
        for (int row : rows)
            m_view.selectionModel()->select(m_transcript.index(row), QItemSelectionModel::Select |
                                                                         QItemSelectionModel::Rows);
        QCOMPARE(menuEntry("Copy")->isEnabled(), !rows.isEmpty());
        if (fromMenu)
            menuEntry("Copy")->trigger();
        else
            QTest::keyClick(&m_view, Qt::Key_C, Qt::ControlModifier);
        QTEST(QGuiApplication::clipboard()->text(), "copied");
    }

    // Every item's own text, one a line, from the buttons and the menu.
    void copyAllAndSaveAsGiveEveryItem_data() {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("Copy all button") << false << false;
        QTest::newRow("Copy all menu entry") << false << true;
        QTest::newRow("Save as button") << true << false;
        QTest::newRow("Save as menu entry") << true << true;
    }
    void copyAllAndSaveAsGiveEveryItem() {
        QFETCH(bool, save);
        QFETCH(bool, fromMenu);
        const QString path = m_folder.filePath("transcript.txt");
        if (save)
            m_dialog.QueueFileName(path);
        if (fromMenu)
            menuEntry(save ? "Save as…" : "Copy all")->trigger();
        else
            (save ? m_saveAs : m_copyAll).click();
        const QString everyItem = Items.join('\n') + '\n';
        QFile file(path);
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
                 save ? everyItem.toUtf8() : QByteArray());
        QCOMPARE(QGuiApplication::clipboard()->text(), save ? "before" : everyItem);
        QCOMPARE(m_reported, save ? "The transcript is saved in " + path + "." : QString());
        QFile::remove(path);
        if (save)
            QVERIFY(m_dialog.Calls.last().Request.ConfirmOverwrite);
    }

    // The old file stays as it was and nothing else is left beside it.
    void saveAsFailureIsReportedAndLeavesNoPartialFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reported");
        QTest::newRow("cancelled") << QString() << QString();
        QTest::newRow("missing folder")
            << "missing/t.txt" << QString("missing/t.txt (%1).").arg(qt_error_string(ENOENT));
        QTest::newRow("disk full") << "t.txt" << QString("t.txt (%1).").arg(qt_error_string(EFBIG));
    }
    void saveAsFailureIsReportedAndLeavesNoPartialFile() {
        QFETCH(QString, name);
        QFETCH(QString, reported);
        QTemporaryDir folder;
        QFile old(folder.filePath("t.txt"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        if (!name.isEmpty())
            m_dialog.QueueFileName(folder.filePath(name));
        {
            FileSizeLimit limit(10);
            m_export.SaveAs();
        }
        QCOMPARE(m_reported.isEmpty(), reported.isEmpty());
        QVERIFY2(m_reported.endsWith(reported), qPrintable(m_reported));
        QCOMPARE(
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"t.txt"});
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), "old");
    }

    // The HEX tab's buttons show beside the tab strip with their page, and
    // never take the room the tabs need.
    void cornerButtonsKeepTheTabsInView_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("shown");
        QTest::newRow("their page") << 1 << 700 << true;
        QTest::newRow("another page") << 0 << 700 << false;
        QTest::newRow("their page, narrow") << 1 << 160 << false;
    }
    void cornerButtonsKeepTheTabsInView() {
        QFETCH(int, page);
        QFETCH(int, width);
        QTabWidget tabs;
        for (const char* name : {"ASCII", "HEX", "Korvalink", "About"})
            tabs.addTab(new QWidget, name);
        auto* buttons = new TabCornerButtons(tabs, *tabs.widget(1));
        buttons->AddButton("Copy all");
        buttons->AddButton("Save as…");
        tabs.resize(width, 200);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));
        tabs.setCurrentIndex(page);
        QTEST(buttons->isVisible(), "shown");
        QCOMPARE(tabs.tabBar()->width(), qMin(tabs.tabBar()->sizeHint().width(), width));
    }
};

QTEST_MAIN(TestLogCopy)
#include "tst_logcopy.moc"
