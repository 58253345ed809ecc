#include "sheet/ui/Sheet.h"

#include "link/ExchangeLink.h"
#include "platform/FileDialog.h"
#include "platform/Folders.h"
#include "platform/MessageBox.h"
#include "platform/ui/Grid.h"
#include "sheet/Batch.h"
#include "sheet/CommandsFile.h"
#include "sheet/SheetModel.h"
#include "sheet/ValueEncoding.h"
#include "timer/CTimer.h"

#include <QPushButton>
#include <QStringList>
#include <exception>
#include <new>
#include <utility>

namespace {

const QString WriteAllCaption = QStringLiteral("Write all");
const QString StopWriteCaption = QStringLiteral("Stop Write");
constexpr qint32 BatchIntervalMs = 3000;

FileDialogRequest commandsFileRequest(const QString& title, const IFolders& folders) {
    FileDialogRequest request;
    request.Title = title;
    request.InitialFileName = folders.ProgramFolder() + QLatin1String("/Commands.SDI12");
    request.Filter = QStringLiteral("SDI-12 Files (*.SDI12)|*.SDI12|All Files (*.*)|*.*");
    request.FilterIndex = 1;
    request.DefaultExtension = QStringLiteral("SDI12");
    return request;
}

} // namespace

Sheet::Sheet(
    const SheetControls& controls, IFileDialog& dialog, IMessageBox& messageBox, IFolders& folders,
    const QString& applicationTitle, ExchangeLink& link,
    std::function<SendOutcome(const QString& rowCommand, TurnId turn)> sendThroughCommandLine,
    QObject* parent)
    : QObject(parent), m_fg(*controls.fg), m_cmdWrite(*controls.cmdWrite),
      m_tmrBatch(*controls.tmrBatch), m_dialog(dialog), m_messageBox(messageBox),
      m_folders(folders), m_applicationTitle(applicationTitle), m_link(link),
      m_sendThroughCommandLine(std::move(sendThroughCommandLine)) {
    m_fg.setButtonColumn(SheetColumn::Send);
    m_tmrBatch.setInterval(BatchIntervalMs);
    m_tmrBatch.setEnabled(false);
    m_cmdWrite.setText(WriteAllCaption);

    connect(controls.cmdLoad, &QPushButton::clicked, this, &Sheet::cmdLoad_Click);
    connect(controls.cmdSave, &QPushButton::clicked, this, &Sheet::cmdSave_Click);
    connect(controls.cmdWrite, &QPushButton::clicked, this, &Sheet::cmdWrite_Click);
    connect(controls.fg, &Grid::BeforeEdit, this, &Sheet::fg_BeforeEdit, Qt::DirectConnection);
    connect(controls.fg, &Grid::AfterEdit, this, &Sheet::fg_AfterEdit, Qt::DirectConnection);
    connect(controls.tmrBatch, &CTimer::Timer, this, &Sheet::tmrBatch_Timer);
    connect(&m_link, &ExchangeLink::exchangeEnded, this, &Sheet::ExchangeEnded);
}

// The failure message names the step that failed after "L".
void Sheet::SetupGrid() {
    int step = 0;
    const auto report = [&](int number, const QString& description) {
        m_messageBox.Show(
            m_applicationTitle,
            QStringLiteral("Error %1 (%2) in procedure SetupGrid of Form frmMain. L%3")
                .arg(number)
                .arg(description)
                .arg(step));
    };
    try {
        step = 1;
        m_fg.ClearGrid();
        step = 2;
        m_fg.setColumnCount(SheetColumn::Count);
        step = 3;
        m_fg.setPresentationOption(Grid::EditMode, 1);
        step = 4;
        m_fg.setRowCount(1);
        step = 5;
        m_fg.setHeaderCaptions(
            QStringLiteral("Name|Action|Command|Value|Mode|Type|Config|Gain|Send|Result"));
        step = 6;
        m_fg.setPresentationOption(Grid::SelectionMode, 2);
        m_fg.setPresentationOption(Grid::CellPadding, 4);
        m_fg.setPresentationOption(Grid::ColumnResizing, 1);
        m_fg.setPresentationOption(Grid::AlternatingRows, true);
        m_fg.setPresentationOption(Grid::TextElision, Qt::ElideNone);
        step = 7;
        m_fg.setAutoSizeMode(0);
        step = 8;
        m_fg.AutoSizeColumns(0, m_fg.ColumnCount() - 1);
    } catch (const std::bad_alloc&) {
        report(7, QStringLiteral("Out of memory"));
    } catch (const std::exception& failure) {
        report(51, QString::fromLocal8Bit(failure.what()));
    }
}

void Sheet::cmdLoad_Click() {
    const std::optional<QString> fileName = m_dialog.ShowOpen(
        commandsFileRequest(QStringLiteral("Select an SDI-12 commands file to load"), m_folders));
    if (fileName && !fileName->isEmpty())
        LoadCommandsFile(*fileName);
}

// A failed load keeps the rows read so far, with the widths as they were.
void Sheet::LoadCommandsFile(const QString& fileName) {
    SetupGrid();
    // The rows are new: no outcome of an earlier send belongs to them.
    m_rowExchange.Forget();
    const CommandsLoad load = LoadCommandsRows(fileName);
    m_heading = load.Heading;
    for (const SheetRowModel& row : load.Rows)
        AddSheetRow(row);
    if (!load.Error.isEmpty()) {
        m_messageBox.Show(m_applicationTitle, load.Error);
        return;
    }
    FitColumns();
}

void Sheet::AddSheetRow(const SheetRowModel& model) {
    m_fg.AddRow(model.Name);
    const int row = m_fg.RowCount() - 1;
    m_fg.setCellData(row, SheetColumn::Command, model.Section);
    m_fg.setCellText(row, SheetColumn::Send, model.Send);
    m_fg.setCellText(row, SheetColumn::Action, model.Action);
    m_fg.setCellBackColor(row, SheetColumn::Action,
                          model.IsRead() ? SheetColour::ReadAction : SheetColour::WriteAction);
    m_fg.setCellText(row, SheetColumn::Value, model.Value);
    m_fg.setCellData(row, SheetColumn::Value, model.ValueData);
    for (int option = 0; option < int(model.OptionText.size()); ++option) {
        m_fg.setCellText(row, SheetColumn::Mode + option, model.OptionText.at(option));
        m_fg.setCellData(row, SheetColumn::Mode + option, model.OptionList.at(option));
    }
    m_fg.setCellText(row, SheetColumn::Command, model.Command);
    m_fg.setCellBackColor(row, SheetColumn::Command, SheetColour::Command);
}

void Sheet::cmdSave_Click() {
    FileDialogRequest request = commandsFileRequest(
        QStringLiteral("Select a save name for the SDI-12 commands file"), m_folders);
    request.ConfirmOverwrite = true;
    const std::optional<QString> fileName = m_dialog.ShowSave(request);
    if (fileName && !fileName->isEmpty())
        SaveCommandsFile(*fileName);
}

void Sheet::SaveCommandsFile(const QString& fileName) {
    SheetRows rows;
    for (int row = 1; row < m_fg.RowCount(); ++row) {
        SheetRowModel model;
        model.Name = m_fg.CellText(row, SheetColumn::Name);
        model.Action = m_fg.CellText(row, SheetColumn::Action);
        model.Command = m_fg.CellText(row, SheetColumn::Command);
        model.Section = m_fg.CellData(row, SheetColumn::Command);
        model.Value = m_fg.CellText(row, SheetColumn::Value);
        model.ValueData = m_fg.CellData(row, SheetColumn::Value);
        for (int option = 0; option < int(model.OptionText.size()); ++option) {
            model.OptionText[option] = m_fg.CellText(row, SheetColumn::Mode + option);
            model.OptionList[option] = m_fg.CellData(row, SheetColumn::Mode + option);
        }
        model.Send = m_fg.CellText(row, SheetColumn::Send);
        rows.append(model);
    }
    QString error;
    if (!SaveCommandsRows(fileName, rows, m_heading, &error))
        m_messageBox.Show(m_applicationTitle, error);
}

void Sheet::fg_BeforeEdit(int row, int column, bool& cancel) {
    m_fg.setEditList(QString());
    const QString cellData = m_fg.CellData(row, column);
    switch (EditKindFor(column, cellData)) {
    case EditKind::Refuse:
        cancel = true;
        break;
    case EditKind::PlainText:
        break;
    case EditKind::DropDown:
        m_fg.setEditList(cellData);
        break;
    case EditKind::SendRow:
        m_sheetRow = row;
        SendRow(row, NoTurn);
        break;
    }
}

void Sheet::fg_AfterEdit(int row, int column) {
    const EditResult result = EncodeEdit(m_fg.CellText(row, SheetColumn::Command), column,
                                         m_fg.EditText(), m_fg.PickedCode());
    m_fg.setEditText(result.CellText);
    m_fg.setCellText(row, SheetColumn::Command, result.Command);
    FitColumns();
    m_fg.setCellText(row, column, m_fg.EditText());
}

void Sheet::FitColumns() {
    m_fg.setAutoSizeMode(0);
    m_fg.AutoSizeColumns(0, m_fg.ColumnCount() - 1);
}

// The row goes out through the command line, and its Result is cleared so
// that the outcome of this exchange is the only one it shows (cleared after
// the send, which may still complete an earlier answer of the same row).
// Moving the current cell away lets the next gesture on the Send cell start
// afresh.
SendOutcome Sheet::SendRow(qint32 row, TurnId turn) {
    const SendOutcome outcome =
        m_sendThroughCommandLine(m_fg.CellText(row, SheetColumn::Command), turn);
    m_fg.setCellText(row, SheetColumn::Result, QString());
    if (outcome.IsSent())
        m_rowExchange.Sent(row, outcome.Exchange);
    else if (outcome.IsNotSent())
        MarkResult(row, RowExchange::NotSentResult);
    m_fg.SetCurrentCell(0, 0);
    return outcome;
}

void Sheet::cmdWrite_Click() {
    if (m_batch.Running()) {
        m_batch.Stop();
        ShowBatchEnded();
        return;
    }
    m_batch.Start();
    m_sheetRow = m_batch.Row();
    m_cmdWrite.setText(StopWriteCaption);
    for (int row = 1; row < m_fg.RowCount(); ++row)
        m_fg.setCellText(row, SheetColumn::Result, QString());
    m_tmrBatch.setEnabled(true);
}

// A tick whose turn still waits does nothing more: one row per turn.
void Sheet::tmrBatch_Timer() {
    if (m_batchTurn != NoTurn && m_link.isWaiting(m_batchTurn))
        return;
    m_batchTurn = m_link.requestTurn(TurnKind::OneExchange, this, QString(),
                                     [this](TurnId turn) { BatchStep(turn); });
}

// Sends the next WRITE row from SheetRow on, unless the row sent before is
// still waiting for its answer. A row that cannot be sent reads "NOT SENT";
// a closed port ends the batch, with the port's report in status panel 1,
// while a port whose device went away is waited for.
void Sheet::BatchStep(TurnId turn) {
    m_batchTurn = NoTurn;
    if (!m_batch.Running())
        return; // stopped while the turn waited
    QStringList actionTexts;
    for (int row = 0; row < m_fg.RowCount(); ++row)
        actionTexts.append(m_fg.CellText(row, SheetColumn::Action));
    const BatchWrite::TickAction action = m_batch.Tick(actionTexts);
    m_sheetRow = m_batch.Row();
    if (action.What == BatchWrite::TickAction::Kind::End) {
        ShowBatchEnded();
        return;
    }
    if (action.What != BatchWrite::TickAction::Kind::Send)
        return;
    m_fg.ScrollToRow(action.Row);
    const SendOutcome outcome = SendRow(action.Row, turn);
    if (outcome.IsSent()) {
        m_batch.RowSent(outcome.Exchange);
        return;
    }
    // A WRITE row without a command cannot be written either.
    if (outcome.What == SendOutcome::Kind::NothingToSend)
        MarkResult(action.Row, RowExchange::NotSentResult);
    m_batch.RowNotSent(outcome.What == SendOutcome::Kind::PortClosed);
    m_sheetRow = m_batch.Row();
    if (!m_batch.Running())
        ShowBatchEnded();
}

void Sheet::ExchangeEnded(ExchangeId exchange, ExchangeOutcome outcome, const QByteArray& answer) {
    if (const auto rowResult = m_rowExchange.Ended(exchange, outcome)) {
        MarkResult(rowResult->Row, rowResult->Result);
        if (outcome == ExchangeOutcome::Answered)
            ShowReadBack(rowResult->Row, answer);
    }
    if (!m_batch.ExchangeEnded(exchange, outcome, m_fg.RowCount() - 1))
        return;
    m_sheetRow = m_batch.Row();
    if (!m_batch.Running())
        ShowBatchEnded();
}

// A READ row shows what the sensor answered; the Value of a READ row is
// never saved, so this changes nothing in the commands file.
void Sheet::ShowReadBack(qint32 row, const QByteArray& answer) {
    if (row >= 1 && row < m_fg.RowCount() &&
        m_fg.CellText(row, SheetColumn::Action) == QLatin1String("READ"))
        m_fg.setCellText(row, SheetColumn::Value, RowExchange::ReadBackValue(answer));
}

void Sheet::MarkResult(qint32 row, const QString& result) {
    if (row >= 1 && row < m_fg.RowCount())
        m_fg.setCellText(row, SheetColumn::Result, result);
}

void Sheet::ShowBatchEnded() {
    if (m_batchTurn != NoTurn) {
        m_link.endTurn(m_batchTurn);
        m_batchTurn = NoTurn;
    }
    m_tmrBatch.setEnabled(false);
    m_cmdWrite.setText(WriteAllCaption);
}
