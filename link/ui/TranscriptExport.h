#pragma once

#include <QObject>
#include <QString>

class IFileDialog;
class QPushButton;
class TranscriptModel;
class TranscriptView;

// The controls that offer the whole transcript. The buttons are optional.
struct TranscriptControls {
    TranscriptView* lstHex = nullptr;
    QPushButton* cmdCopyAll = nullptr;
    QPushButton* cmdSaveAs = nullptr;
};

// "Copy all" and "Save as…" on the HEX tab: every item of the transcript, in
// the form TranscriptModel::ItemsText() gives, to the clipboard or to a file
// the operator picks. Both are entries of the list's context menu and, where
// the tab has them, buttons.
class TranscriptExport : public QObject {
    Q_OBJECT
public:
    TranscriptExport(const TranscriptModel& transcript, const TranscriptControls& controls,
                     IFileDialog& dialog, QObject* parent = nullptr);

public slots:
    void CopyAll();
    // Writes the chosen file whole or not at all, and reports which; a
    // cancelled dialog changes nothing.
    void SaveAs();

signals:
    void Report(const QString& text);

private:
    const TranscriptModel& m_transcript;
    IFileDialog& m_dialog;
    QString m_fileName; // the dialog starts from the last one chosen
};
