#include "app/ProgramOptions.h"

#include "app/VersionCaption.h"

#include <QCommandLineParser>

#include <algorithm>

namespace {

// The options of Qt's graphical application, which it takes from the
// command line itself ("-style fusion", "--style fusion", "-style=fusion").
struct QtOption {
    const char* Name;
    bool TakesValue;
};
constexpr QtOption QtOptions[] = {
    {"platform", true},        {"platformtheme", true}, {"platformpluginpath", true},
    {"plugin", true},          {"display", true},       {"geometry", true},
    {"qwindowgeometry", true}, {"qwindowtitle", true},  {"qwindowicon", true},
    {"style", true},           {"stylesheet", true},    {"session", true},
    {"reverse", false},        {"widgetcount", false},
};

const QtOption* findQtOption(const QString& argument) {
    if (!argument.startsWith(QLatin1Char('-')))
        return nullptr;
    const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1)
                             .section(QLatin1Char('='), 0, 0);
    const auto* found =
        std::find_if(std::begin(QtOptions), std::end(QtOptions), [&name](const QtOption& option) {
            return name == QLatin1String(option.Name);
        });
    return found == std::end(QtOptions) ? nullptr : found;
}

// The arguments less Qt's options and their values: those are left in argv
// for the application.
QStringList withoutQtOptions(const QStringList& arguments) {
    QStringList own;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QtOption* qt = i > 0 ? findQtOption(arguments.at(i)) : nullptr;
        if (!qt)
            own.append(arguments.at(i));
        else if (qt->TakesValue && !arguments.at(i).contains(QLatin1Char('=')))
            ++i;
    }
    return own;
}

struct OwnOptions {
    QCommandLineOption Help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help and quit.")};
    QCommandLineOption Version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Show the version and quit.")};
    QCommandLineOption Port{QStringLiteral("port"),
                            QStringLiteral("Open the port PATH at start-up (e.g. /dev/ttyUSB0)."),
                            QStringLiteral("path")};
    QCommandLineOption Settings{
        QStringLiteral("settings"),
        QStringLiteral("Line settings at start-up: baud,parity,data,stop (1200,E,7,1)."),
        QStringLiteral("text")};
    QCommandLineOption Exchange =
        hidden({QStringLiteral("exchange-and-quit"),
                QStringLiteral("Send COMMAND at start-up, print the outcome, quit."),
                QStringLiteral("command")});

    QList<QCommandLineOption> All() const { return {Help, Version, Port, Settings, Exchange}; }

private:
    static QCommandLineOption hidden(QCommandLineOption option) {
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        return option;
    }
};

// "-h, --help" or "--port <path>".
QString optionSynopsis(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names())
        names.append((name.size() == 1 ? QLatin1String("-") : QLatin1String("--")) + name);
    QString synopsis = names.join(QLatin1String(", "));
    if (!option.valueName().isEmpty())
        synopsis += QLatin1String(" <") + option.valueName() + QLatin1Char('>');
    return synopsis;
}

ProgramOptions answered(int exitCode, const QString& output, const QString& errors) {
    ProgramOptions options;
    options.Start = false;
    options.ExitCode = exitCode;
    options.Output = output;
    options.Errors = errors;
    return options;
}

ProgramOptions refused(const QString& why) {
    return answered(2, QString(),
                    QLatin1String("probeterm: ") + why + QLatin1Char('\n') + programUsage());
}

} // namespace

QString programUsage() {
    QList<QCommandLineOption> shown = OwnOptions().All();
    shown.removeIf([](const QCommandLineOption& option) {
        return option.flags().testFlag(QCommandLineOption::HiddenFromHelp);
    });
    qsizetype width = 0;
    for (const QCommandLineOption& option : shown)
        width = std::max(width, optionSynopsis(option).size());

    QString usage = QStringLiteral("Usage: probeterm [options]\n"
                                   "A terminal for SDI-12 sensors behind a serial adaptor.\n\n"
                                   "Options:\n");
    for (const QCommandLineOption& option : shown)
        usage += QLatin1String("  ") + optionSynopsis(option).leftJustified(width + 2) +
                 option.description() + QLatin1Char('\n');
    usage += QStringLiteral("\nQt's display options (-platform, -display, -style ...) are passed "
                            "on to Qt.\n");
    return usage;
}

ProgramOptions readProgramOptions(const QStringList& arguments) {
    const OwnOptions own;
    QCommandLineParser parser;
    parser.addOptions(own.All());
    if (!parser.parse(withoutQtOptions(arguments)))
        return refused(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refused(QStringLiteral("Unexpected argument '%1'.")
                           .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(own.Help))
        return answered(0, programUsage(), QString());
    if (parser.isSet(own.Version))
        return answered(0, QLatin1String("ProbeTerm ") + versionCaption() + QLatin1Char('\n'),
                        QString());

    ProgramOptions options;
    options.Port = parser.value(own.Port);
    options.Settings = parser.value(own.Settings);
    if (parser.isSet(own.Exchange))
        options.ExchangeCommand = parser.value(own.Exchange);
    return options;
}
