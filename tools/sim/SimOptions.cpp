#include "tools/sim/SimOptions.h"

#include "tools/sim/SensorModel.h"

#include <QCommandLineParser>

#include <set>

namespace {

const char kDescription[] =
    "Simulated SDI-12 sensors sharing a bus, on a pseudo-terminal.\n"
    "Prints the device path as its first line, then one line per event:\n"
    "  rx <command>, wake <n>, set <base> <value>, tx <answer>,\n"
    "  lost <answer> (an answer the line lost, see --drop).\n"
    "Each sensor has its own serial number (SIM0001, SIM0002 ... in the order of\n"
    "--address) and its own values. \"?!\" is answered by every sensor, so with\n"
    "several the answers collide. A sensor given a new address with \"aAb!\" hears\n"
    "nothing for 1 s (see --time-scale). A character damaged on the line, by a\n"
    "collision or --garble, is sent with its eighth bit set, as a pseudo-terminal\n"
    "carries no parity. Answers are paced at the line's character time. Ends on\n"
    "SIGINT or SIGTERM.";

// A whole number of 0 or more, or nothing.
std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 0)
        return std::nullopt;
    return number;
}

std::optional<double> numberFrom(const QString& text, double lowest, double highest) {
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !(number >= lowest && number <= highest))
        return std::nullopt;
    return number;
}

bool validAddresses(const std::string& addresses) {
    const std::set<char> distinct(addresses.begin(), addresses.end());
    if (addresses.empty() || distinct.size() != addresses.size())
        return false;
    for (const char address : addresses) {
        if (!SensorModel::isValidAddress(address))
            return false;
    }
    return true;
}

} // namespace

std::optional<SimOptions> readOptions(const QStringList& arguments, QString& error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption address(
        "address", "Sensor addresses, one character per sensor, in bus order (default 0).", "chars",
        "0");
    const QCommandLineOption link("link", "Also make PATH a symbolic link to the device.", "path");
    const QCommandLineOption wakeUp("wakeup", "Answer only commands preceded by N or more 0xFE.",
                                    "n", "0");
    const QCommandLineOption late("late", "Answer MS milliseconds later.", "ms", "0");
    const QCommandLineOption pauseAt("pause-at", "Pause after the K-th character of an answer.",
                                     "k", "0");
    const QCommandLineOption pause("pause", "Length of that pause in milliseconds.", "ms", "0");
    const QCommandLineOption silent("silent", "Never answer.");
    const QCommandLineOption quiet("quiet", "Print only the device path.");
    const QCommandLineOption badCrc("bad-crc",
                                    "Send a wrong CRC with every data answer that asks for one.");
    const QCommandLineOption timeScale(
        "time-scale",
        "Run the sensors F times faster (F 1 or more): measuring times, service requests, the "
        "answers' delay (with --late) and the quiet time after an address change. A "
        "measurement promises its shortened time rounded up to whole seconds. The pace of the "
        "characters on the line, and --pause, stay as they are.",
        "f", "1");
    const QCommandLineOption drop(
        "drop", "Lose each answer with chance P (0 to 1). Service requests always arrive.", "p",
        "0");
    const QCommandLineOption garble(
        "garble", "Damage one character of each answer that is not lost with chance P (0 to 1).",
        "p", "0");
    const QCommandLineOption seed(
        "seed", "Start --drop and --garble from seed N (0 to 4294967295), so that a run repeats.",
        "n");
    parser.addOptions({address, link, wakeUp, late, pauseAt, pause, silent, quiet, badCrc,
                       timeScale, drop, garble, seed});

    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(help))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty()) {
        error = "Unexpected argument: " + parser.positionalArguments().first();
        return std::nullopt;
    }

    SimOptions options;
    options.addresses = parser.value(address).toStdString();
    if (!validAddresses(options.addresses)) {
        error = "--address needs distinct letters or digits";
        return std::nullopt;
    }
    options.linkPath = parser.value(link).toStdString();
    options.silent = parser.isSet(silent);
    options.quiet = parser.isSet(quiet);
    options.badCrc = parser.isSet(badCrc);
    const struct {
        const QCommandLineOption& option;
        int& target;
    } numbers[] = {{wakeUp, options.wakeUps},
                   {late, options.lateMs},
                   {pauseAt, options.pauseAt},
                   {pause, options.pauseMs}};
    for (const auto& number : numbers) {
        const std::optional<int> value = wholeNumber(parser.value(number.option));
        if (!value) {
            error = "--" + number.option.names().first() + " needs a whole number of 0 or more";
            return std::nullopt;
        }
        number.target = *value;
    }
    const struct {
        const QCommandLineOption& option;
        double lowest;
        double highest;
        double& target;
        const char* need;
    } ranges[] = {{timeScale, 1, 1e6, options.timeScale, "a number from 1 to 1000000"},
                  {drop, 0, 1, options.dropChance, "a chance from 0 to 1"},
                  {garble, 0, 1, options.garbleChance, "a chance from 0 to 1"}};
    for (const auto& range : ranges) {
        const std::optional<double> value =
            numberFrom(parser.value(range.option), range.lowest, range.highest);
        if (!value) {
            error = "--" + range.option.names().first() + " needs " + range.need;
            return std::nullopt;
        }
        range.target = *value;
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        options.seed = parser.value(seed).toUInt(&ok);
        if (!ok) {
            error = "--seed needs a whole number from 0 to 4294967295";
            return std::nullopt;
        }
    }
    return options;
}
