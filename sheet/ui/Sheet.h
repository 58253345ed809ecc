#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <functional>

class CTimer;
class Grid;
class IFileDialog;
class IFolders;
class IMessageBox;
class QPushButton;
struct SheetRowModel;

// The controls of the Korvalink tab that the sheet drives.
struct SheetControls {
    Grid* fg;
    QPushButton* cmdLoad;
    QPushButton* cmdSave;
    QPushButton* cmdWrite;
    CTimer* tmrBatch;
};

// The configuration sheet's handlers: building the empty sheet, loading and
// saving commands files, cell edits, sending one row and the batch write.
// A row goes out through the command line: sendThroughCommandLine sets the
// command line's text and runs its send action, which adds the address and
// "!" and sends nothing for an empty text.
class Sheet : public QObject {
    Q_OBJECT
public:
    Sheet(const SheetControls& controls, IFileDialog& dialog, IMessageBox& messageBox,
          IFolders& folders, const QString& applicationTitle,
          std::function<void(const QString& rowCommand)> sendThroughCommandLine,
          QObject* parent = nullptr);

    void SetupGrid();
    void cmdLoad_Click();
    void LoadCommandsFile(const QString& fileName);
    void cmdSave_Click();
    void SaveCommandsFile(const QString& fileName);
    void fg_BeforeEdit(int row, int column, bool& cancel);
    void fg_AfterEdit(int row, int column);
    void cmdWrite_Click();
    void tmrBatch_Timer();

    // The outcome of the exchange in progress ("OK", "TIMEOUT") goes into the
    // Result cell of SheetRow. Before any row was sent SheetRow is the header
    // row, and a row may have gone with a reload: such results are dropped,
    // so that the captions and other rows stay as they are.
    void MarkResult(const QString& result);
    // After every completed or timed-out exchange: a running batch moves on
    // to the next row or ends after the last.
    void BatchStep();
    qint32 SheetRow() const { return m_sheetRow; }

private:
    void AddSheetRow(const SheetRowModel& model);
    void FitColumns();
    void SendRow(qint32 row);
    void EndBatch();

    Grid& m_fg;
    QPushButton& m_cmdWrite;
    CTimer& m_tmrBatch;
    IFileDialog& m_dialog;
    IMessageBox& m_messageBox;
    IFolders& m_folders;
    QString m_applicationTitle;
    std::function<void(const QString&)> m_sendThroughCommandLine;
    qint32 m_sheetRow = 0;
};
