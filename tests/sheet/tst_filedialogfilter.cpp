#include "platform/ui/QtFileDialog.h"

#include <QTest>

class TestFileDialogFilter : public QObject {
    Q_OBJECT
private slots:
    void classicFilterBecomesQtFilters();
};

// Labels that carry their patterns keep them once; ";" lists and "*.*" are
// turned into what Qt matches; a label without a pattern is dropped.
void TestFileDialogFilter::classicFilterBecomesQtFilters() {
    QCOMPARE(QtNameFilters("SDI-12 Files (*.SDI12)|*.SDI12|All Files (*.*)|*.*|Logs|*.log;*.txt|"
                           "Text (*.doc)|*.txt|Lonely"),
             QStringList({"SDI-12 Files (*.SDI12)", "All Files (*)", "Logs (*.log *.txt)",
                          "Text (*.txt)"}));
}

QTEST_MAIN(TestFileDialogFilter)
#include "tst_filedialogfilter.moc"
