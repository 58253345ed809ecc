#include "depends/ui/frmDepends.h"
#include "platform/ui/Twips.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Made-up modules and their records. A record gives the last part of its
// module's path as the company and lacks the string of that name, if any;
// its other strings are their own names.
struct MadeUp : IModuleSource, IVersionReader {
    explicit MadeUp(QStringList paths) : Paths(paths) {}
    bool GetProcessModules(QStringList& DependencyList) override {
        DependencyList = Paths;
        return true;
    }
    VersionReadStatus GetVersionStrings(const QString& path, VersionStrings& strings) override {
        const QString lastPart = path.section('/', -1);
        const auto lookUp = [&](const QString& name) -> std::optional<QString> {
            if (name == lastPart)
                return std::nullopt;
            return name == "CompanyName" ? lastPart : name;
        };
        return FillVersionStrings(lookUp, strings);
    }
    QStringList Paths;
};

std::unique_ptr<frmDepends> Open(const QStringList& paths) {
    return std::make_unique<frmDepends>(std::make_unique<MadeUp>(paths),
                                        std::make_unique<MadeUp>(paths), nullptr);
}

QStringList Column(const QWidget& window, int column) {
    const auto* list = window.findChild<QTreeWidget*>("ListView");
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(column);
    return texts;
}

} // namespace

class FrmDependsTest : public QObject {
    Q_OBJECT
private slots:
    void listsTheProcessModulesSortedByPath();
    void incompleteRecordShowsOnlyThePath_data();
    void incompleteRecordShowsOnlyThePath();
    void companyHeaderSortsEmptyFirst();
    void listFollowsTheWindow();
};

void FrmDependsTest::listsTheProcessModulesSortedByPath() {
    frmDepends window(nullptr);
    const QStringList paths = Column(window, 0);
    QVERIFY(std::is_sorted(paths.begin(), paths.end()));
    QVERIFY(paths.contains(QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath()));
}

void FrmDependsTest::incompleteRecordShowsOnlyThePath_data() {
    QTest::addColumn<QString>("missing");
    QTest::newRow("none missing") << QStringLiteral("Maker");
    for (const VersionStrings::Field& field : VersionStrings::Fields)
        QTest::newRow(field.Name) << QString::fromLatin1(field.Name);
}

void FrmDependsTest::incompleteRecordShowsOnlyThePath() {
    QFETCH(QString, missing);
    const auto window = Open({"/lib/" + missing});
    QStringList row;
    for (int column = 0; column < 4; ++column)
        row += Column(*window, column);
    QCOMPARE(row.join('|'), missing == "Maker" ? "/lib/Maker|ProductName|FileVersion|Maker"
                                               : "/lib/" + missing + "|||");
}

void FrmDependsTest::companyHeaderSortsEmptyFirst() {
    const auto window = Open({"/5/", "/4/Mid", "/3/Alpha", "/2/", "/1/Zeta"});
    window->show();
    QHeaderView* header = window->findChild<QTreeWidget*>("ListView")->header();
    const QPoint companyHeader(header->sectionViewportPosition(3) + 5, header->height() / 2);
    for (int click = 0; click < 2; ++click) { // a second click keeps the order ascending
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, companyHeader);
        QCOMPARE(Column(*window, 3), QStringList({"", "", "Alpha", "Mid", "Zeta"}));
    }
}

// Sizes in twips that are whole pixels at 96 dpi.
void FrmDependsTest::listFollowsTheWindow() {
    const auto window = Open({"/a"});
    window->show();
    const QWidget* list = window->findChild<QTreeWidget*>("ListView");
    const QSize frame = window->frameGeometry().size() - window->size();
    const auto resizeTo = [&](int outerWidth, int outerHeight) {
        window->resize(Twips::ToPixels(0, 0, outerWidth, outerHeight).size() - frame);
        window->Form_Resize();
    };
    resizeTo(300, 600);
    QCOMPARE(list->size(), QSize(0, 0));
    resizeTo(14010, 9000);
    const QRect fitted = Twips::ToPixels(100, 120, 14010 - 350, 9000 - 650);
    QCOMPARE(list->geometry(), fitted);
    window->setWindowState(Qt::WindowMinimized);
    resizeTo(6000, 4500);
    QCOMPARE(list->geometry(), fitted);
}

QTEST_MAIN(FrmDependsTest)
#include "tst_frmDepends.moc"
