#include "app/Version.h"
#include "depends/DependsLayout.h"
#include "depends/ui/frmDepends.h"
#include "platform/ui/Twips.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTreeWidget>
#include <QtTest>

namespace {

class FixedModules : public IModuleSource {
public:
    explicit FixedModules(QStringList paths) : m_paths(std::move(paths)) {}
    bool GetProcessModules(QStringList& DependencyList) override {
        DependencyList = m_paths;
        return true;
    }

private:
    QStringList m_paths;
};

// Each file's record has a company of its own and lacks the string named.
class FixedVersions : public IVersionReader {
public:
    explicit FixedVersions(QHash<QString, QString> companies = {}, QString missing = {})
        : m_companies(std::move(companies)), m_missing(std::move(missing)) {}
    VersionReadStatus GetVersionStrings(const QString& path, VersionStrings& strings) override {
        const auto lookUp = [&](const QString& name) -> std::optional<QString> {
            if (name == m_missing)
                return std::nullopt;
            return name == QLatin1String("CompanyName") ? m_companies.value(path) : name;
        };
        return FillVersionStrings(lookUp, strings);
    }

private:
    QHash<QString, QString> m_companies;
    QString m_missing;
};

QTreeWidget* ListOf(const frmDepends& window) {
    return window.findChild<QTreeWidget*>(QStringLiteral("ListView"));
}

QStringList Column(const frmDepends& window, int column) {
    QStringList texts;
    for (int row = 0; row < ListOf(window)->topLevelItemCount(); ++row)
        texts << ListOf(window)->topLevelItem(row)->text(column);
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
    void listFollowsTheWindow_data();
    void listFollowsTheWindow();
};

void FrmDependsTest::listsTheProcessModulesSortedByPath() {
    frmDepends window(nullptr);
    const QStringList paths = Column(window, 0);
    QStringList sorted = paths;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(paths, sorted);

    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QTreeWidgetItem* own = ListOf(window)->topLevelItem(paths.indexOf(self));
    QVERIFY(own);
    QCOMPARE(own->text(1), QStringLiteral("Quenvarel Tidewright"));
    QCOMPARE(own->text(2), QString::fromLatin1(ProbeTermVersion::Text));
    QCOMPARE(own->text(3), QStringLiteral("Quenvarel Instruments"));

    if (!QFile::exists(QStringLiteral("/var/lib/dpkg/status")))
        QSKIP("no Debian package database on this machine");
    const QTreeWidgetItem* qtCore =
        ListOf(window)->topLevelItem(paths.indexOf(QRegularExpression(".*/libQt6Core\\.so.*")));
    QVERIFY(qtCore);
    QVERIFY2(qtCore->text(1).startsWith(QLatin1String("libqt6core")), qPrintable(qtCore->text(1)));
}

void FrmDependsTest::incompleteRecordShowsOnlyThePath_data() {
    QTest::addColumn<QString>("missing");
    QTest::newRow("none missing") << QString();
    for (const VersionStrings::Field& field : VersionStrings::Fields)
        QTest::newRow(field.Name) << QString::fromLatin1(field.Name);
}

void FrmDependsTest::incompleteRecordShowsOnlyThePath() {
    QFETCH(QString, missing);
    const QString path = QStringLiteral("/usr/lib/libsensor.so.1");
    frmDepends window(
        std::make_unique<FixedModules>(QStringList{path}),
        std::make_unique<FixedVersions>(QHash<QString, QString>{{path, "Maker"}}, missing),
        nullptr);
    const QStringList shown = missing.isEmpty()
                                  ? QStringList{path, "ProductName", "FileVersion", "Maker"}
                                  : QStringList{path, "", "", ""};
    for (int column = 0; column < 4; ++column)
        QCOMPARE(Column(window, column), QStringList{shown[column]});
}

void FrmDependsTest::companyHeaderSortsEmptyFirst() {
    const QHash<QString, QString> companies{
        {"/a", "Zeta"}, {"/b", ""}, {"/c", "Alpha"}, {"/d", "Mid"}, {"/e", ""}};
    frmDepends window(std::make_unique<FixedModules>(QStringList{"/e", "/d", "/c", "/b", "/a"}),
                      std::make_unique<FixedVersions>(companies), nullptr);
    window.show();
    QHeaderView* header = ListOf(window)->header();
    const QPoint companyHeader(header->sectionViewportPosition(3) + 5, header->height() / 2);
    for (int click = 0; click < 2; ++click) { // a second click does not reverse
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, companyHeader);
        QCOMPARE(Column(window, 3), QStringList({"", "", "Alpha", "Mid", "Zeta"}));
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);
    }
    window.ListView_HeaderClick(1);
    QCOMPARE(Column(window, 0), QStringList({"/a", "/b", "/c", "/d", "/e"}));
}

void FrmDependsTest::listFollowsTheWindow_data() {
    QTest::addColumn<int>("outerWidth");
    QTest::addColumn<int>("outerHeight");
    QTest::addColumn<bool>("minimised");
    QTest::newRow("larger") << 14000 << 9000 << false;
    QTest::newRow("narrow") << 3000 << 6000 << false;
    QTest::newRow("too small for the list") << 300 << 600 << false;
    QTest::newRow("minimised") << 6000 << 4000 << true;
}

void FrmDependsTest::listFollowsTheWindow() {
    QFETCH(int, outerWidth);
    QFETCH(int, outerHeight);
    QFETCH(bool, minimised);
    frmDepends window(std::make_unique<FixedModules>(QStringList{"/a"}),
                      std::make_unique<FixedVersions>(), nullptr);
    window.show();
    const QRect before = ListOf(window)->geometry();
    if (minimised)
        window.setWindowState(Qt::WindowMinimized);
    const QSize frame = window.frameGeometry().size() - window.size();
    window.resize(QSize(Twips::ToPixels(outerWidth), Twips::ToPixels(outerHeight)) - frame);
    window.Form_Resize();

    const QTreeWidget* list = ListOf(window);
    const QSizeF size = DependsLayout::ListSize(Twips::FromPixels(window.frameGeometry().width()),
                                                Twips::FromPixels(window.frameGeometry().height()));
    QCOMPARE(list->geometry(),
             minimised ? before : Twips::ToPixels(100, 120, size.width(), size.height()));
    if (outerWidth < 350)
        QCOMPARE(list->size(), QSize(0, 0));
}

QTEST_MAIN(FrmDependsTest)
#include "tst_frmDepends.moc"
