#include "link/ui/TranscriptExport.h"

#include "link/TranscriptModel.h"
#include "link/ui/TranscriptView.h"
#include "platform/AtomicFile.h"
#include "platform/FileDialog.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QPushButton>

TranscriptExport::TranscriptExport(const TranscriptModel& transcript,
                                   const TranscriptControls& controls, IFileDialog& dialog,
                                   QObject* parent)
    : QObject(parent), m_transcript(transcript), m_dialog(dialog),
      m_fileName(QDir::homePath() + QLatin1String("/Transcript.txt")) {
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    auto* copyAll = new QAction(tr("Copy &all"), this);
    auto* saveAs = new QAction(tr("&Save as…"), this);
    controls.lstHex->addActions({separator, copyAll, saveAs});
    connect(copyAll, &QAction::triggered, this, &TranscriptExport::CopyAll);
    connect(saveAs, &QAction::triggered, this, &TranscriptExport::SaveAs);
    if (controls.cmdCopyAll)
        connect(controls.cmdCopyAll, &QPushButton::clicked, this, &TranscriptExport::CopyAll);
    if (controls.cmdSaveAs)
        connect(controls.cmdSaveAs, &QPushButton::clicked, this, &TranscriptExport::SaveAs);
}

void TranscriptExport::CopyAll() {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(m_transcript.ItemsText()));
}

void TranscriptExport::SaveAs() {
    FileDialogRequest request;
    request.Title = tr("Save the transcript as");
    request.InitialFileName = m_fileName;
    request.Filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    request.DefaultExtension = QStringLiteral("txt");
    request.ConfirmOverwrite = true;
    const std::optional<QString> fileName = m_dialog.ShowSave(request);
    if (!fileName || fileName->isEmpty())
        return;
    m_fileName = *fileName;
    QString reason;
    const QString shownName = QDir::toNativeSeparators(m_fileName);
    if (AtomicFile::Replace(m_fileName, m_transcript.ItemsText(), &reason))
        emit Report(tr("The transcript is saved in %1.").arg(shownName));
    else
        emit Report(tr("The transcript cannot be saved to %1 (%2).").arg(shownName, reason));
}
