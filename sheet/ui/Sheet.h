#pragma once

#include "link/Exchange.h"
#include "platform/ProfileFile.h"
#include "sheet/Batch.h"
#include "sheet/RowExchange.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QtGlobal>
#include <functional>

class CTimer;
class ExchangeLink;
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
// "!" and sends nothing for an empty text; at once for the operator's
// gesture, in the batch's turn on the line for a batch row. A row's Result
// shows the outcome of the exchange that row started, and of no other.
class Sheet : public QObject {
    Q_OBJECT
public:
    Sheet(const SheetControls& controls, IFileDialog& dialog, IMessageBox& messageBox,
          IFolders& folders, const QString& applicationTitle, ExchangeLink& link,
          std::function<SendOutcome(const QString& rowCommand, TurnId turn)> sendThroughCommandLine,
          QObject* parent = nullptr);

    void SetupGrid();
    void cmdLoad_Click();
    void LoadCommandsFile(const QString& fileName);
    void cmdSave_Click();
    void SaveCommandsFile(const QString& fileName);
    void fg_BeforeEdit(int row, int column, bool& cancel);
    void fg_AfterEdit(int row, int column);
    void cmdWrite_Click();
    // Each tick waits for its turn on the line, then writes the next row.
    void tmrBatch_Timer();

    // An exchange ended. When a row started it, the row's Result reads "OK"
    // or "TIMEOUT" (and a READ row's Value shows the answer); when it was the
    // batch's, the batch moves on to the next row or ends after the last.
    void ExchangeEnded(ExchangeId exchange, ExchangeOutcome outcome, const QByteArray& answer);
    qint32 SheetRow() const { return m_sheetRow; }
    bool BatchRunning() const { return m_batch.Running(); }

private:
    void AddSheetRow(const SheetRowModel& model);
    void FitColumns();
    void BatchStep(TurnId turn);
    SendOutcome SendRow(qint32 row, TurnId turn);
    void MarkResult(qint32 row, const QString& result);
    void ShowReadBack(qint32 row, const QByteArray& answer);
    void ShowBatchEnded();

    Grid& m_fg;
    QPushButton& m_cmdWrite;
    CTimer& m_tmrBatch;
    IFileDialog& m_dialog;
    IMessageBox& m_messageBox;
    IFolders& m_folders;
    QString m_applicationTitle;
    ExchangeLink& m_link;
    std::function<SendOutcome(const QString&, TurnId)> m_sendThroughCommandLine;
    TurnId m_batchTurn = NoTurn; // the batch tick's turn, while it waits
    qint32 m_sheetRow = 0;
    ProfileFile m_heading; // the loaded file's description, written back by a save
    BatchWrite m_batch;
    RowExchange m_rowExchange;
};
