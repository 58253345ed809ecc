#include "depends/ui/frmDepends.h"
#include "platform/ui/Twips.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Made-up modules and their records. A record gives the last part of its
// module's path as the company and lacks the string of that name, if any;
// its other strings are their own names.
struct MadeUp : IModuleSource, IVersionReader {
    explicit MadeUp(QStringList paths) : Paths(paths) {}
    bool GetProcessModules(QStringList& list) override { return !(list = Paths).isEmpty(); }
    VersionReadStatus GetVersionStrings(const QString& path, VersionStrings& strings) override {
        const QString last = path.section('/', -1);
        const auto lookUp = [&](const QString& name) {
            return name == last ? std::nullopt : std::optional(name == "CompanyName" ? last : name);
        };
        return FillVersionStrings(lookUp, strings);
    }
    QStringList Paths;
};

struct MadeUpWindow : frmDepends {
    explicit MadeUpWindow(const QStringList& paths)
        : frmDepends(std::make_unique<MadeUp>(paths), std::make_unique<MadeUp>(paths), nullptr) {}
};

QStringList Column(const QWidget& window, int column) {
    const auto* list = window.findChild<QTreeWidget*>("ListView");
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(column);
    return texts;
}

} // namespace

class TestDependsWindow : public QObject {
    Q_OBJECT
private slots:
    void listsTheProcessModulesSortedByPath() {
        frmDepends window(nullptr);
        const QStringList paths = Column(window, 0);
        QVERIFY(std::is_sorted(paths.begin(), paths.end()));
        QVERIFY(
            paths.contains(QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath()));
    }

    // Each record but that of Maker lacks one of the eight strings; sorted by
    // path, Maker's row is the sixth.
    void incompleteRecordShowsOnlyThePath() {
        QStringList paths = {"/lib/Maker"};
        for (const VersionStrings::Field& field : VersionStrings::Fields)
            paths << QStringLiteral("/lib/") + field.Name;
        const MadeUpWindow window(paths);
        QCOMPARE(Column(window, 1).join('|'), "|||||ProductName|||");
        QCOMPARE(Column(window, 2).join('|'), "|||||FileVersion|||");
        QCOMPARE(Column(window, 3).join('|'), "|||||Maker|||");
    }

    void companyHeaderSortsEmptyFirst() {
        MadeUpWindow window({"/5/", "/4/Mid", "/3/Alpha", "/2/", "/1/Zeta"});
        window.show();
        QHeaderView* header = window.findChild<QTreeWidget*>("ListView")->header();
        const QPoint companyHeader(header->sectionViewportPosition(3) + 5, header->height() / 2);
        for (int click = 0; click < 2; ++click) { // a second click keeps the order ascending
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, companyHeader);
            QCOMPARE(Column(window, 3), QStringList({"", "", "Alpha", "Mid", "Zeta"}));
        }
    }

    // Sizes in twips that are whole pixels at 96 dpi; the window's outer size
    // includes its frame. The window's own resize handling fits the list.
    void listFollowsTheWindow() {
        MadeUpWindow window({"/a"});
        window.show();
        const QWidget* list = window.findChild<QTreeWidget*>("ListView");
        const QSize frame = window.frameGeometry().size() - window.size();
        window.resize(Twips::ToPixels(0, 0, 300, 600).size() - frame);
        QCOMPARE(list->size(), QSize(0, 0));
        window.resize(Twips::ToPixels(0, 0, 14010, 9000).size() - frame);
        const QRect fitted = Twips::ToPixels(100, 120, 14010 - 350, 9000 - 650);
        QCOMPARE(list->geometry(), fitted);
        window.setWindowState(Qt::WindowMinimized);
        window.resize(Twips::ToPixels(0, 0, 6000, 4500).size() - frame);
        QCOMPARE(list->geometry(), fitted);
    }
};

QTEST_MAIN(TestDependsWindow)
#include "tst_depends_window.moc"
