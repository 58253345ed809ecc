#include "app/AboutTab.h"
#include "app/SystemPlatform.h"
#include "app/TwoPanelStatusBar.h"
#include "app/frmSDI12.h"
#include "commands/ui/CommandLine.h"
#include "link/LinkEngine.h"
#include "platform/ui/DropDownComboBox.h"

#include <QApplication>
#include <QCommandLineParser>
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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ProbeTerm"));
    QApplication::setOrganizationName(QStringLiteral("Quenvarel"));
    QApplication::setApplicationVersion(AboutTab::VersionText());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A terminal for SDI-12 sensors behind a serial adaptor."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Open PATH at start-up instead of the first "
                                                 "listed port (e.g. /dev/ttyUSB0)."),
                                  QStringLiteral("path"));
    const QCommandLineOption settings(
        QStringLiteral("settings"),
        QStringLiteral("Line settings at start-up: baud,parity,data,stop (e.g. 1200,E,7,1)."),
        QStringLiteral("text"));
    QCommandLineOption exchange(
        QStringLiteral("exchange-and-quit"),
        QStringLiteral("Send COMMAND at start-up, print the outcome, quit."),
        QStringLiteral("command"));
    exchange.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({port, settings, exchange});
    parser.process(app);

    SystemPlatform system;
    frmSDI12 window(system.Pieces(), {parser.value(port), parser.value(settings)});
    window.show();
    if (parser.isSet(exchange))
        exchangeAndQuit(window, parser.value(exchange));
    return QApplication::exec();
}
