#include "app/ProgramOptions.h"
#include "app/SystemPlatform.h"
#include "app/TwoPanelStatusBar.h"
#include "app/frmSDI12.h"
#include "commands/ui/CommandLine.h"
#include "link/LinkEngine.h"
#include "platform/ui/DropDownComboBox.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace {

// For tests of the whole program: sends the command line's text once the
// window is up, prints the exchange's outcome and quits (0 when answered).
void exchangeAndQuit(frmSDI12& window, const QString& commandBody) {
    QObject::connect(&window.Link(), &LinkEngine::exchangeEnded, &window,
                     [](ExchangeId, ExchangeOutcome outcome, const QByteArray& answer) {
                         const bool answered = outcome == ExchangeOutcome::Answered;
                         std::printf("%s %s\n", answered ? "answered" : "unanswered",
                                     answer.toHex(' ').constData());
                         std::fflush(stdout);
                         QCoreApplication::exit(answered ? 0 : 1);
                     });
    QTimer::singleShot(0, &window, [&window, commandBody] {
        window.cboCmd->setEditText(commandBody);
        const SendOutcome outcome = window.Commands().cmdSend_Click();
        if (!outcome.IsSent()) {
            std::printf("not sent: %s\n", qPrintable(outcome.Reason));
            QCoreApplication::exit(2);
        }
    });
}

} // namespace

int main(int argc, char* argv[]) {
    // Help, version and mistakes are answered before any display is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const ProgramOptions options = readProgramOptions(arguments);
    if (!options.Start) {
        std::fputs(qPrintable(options.Output), stdout);
        std::fputs(qPrintable(options.Errors), stderr);
        return options.ExitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ProbeTerm"));
    QApplication::setOrganizationName(QStringLiteral("Quenvarel"));

    SystemPlatform system;
    frmSDI12 window(system.Pieces(), {options.Port, options.Settings});
    window.show();
    if (options.ExchangeCommand)
        exchangeAndQuit(window, *options.ExchangeCommand);
    return QApplication::exec();
}
