// The program's command line, read before any window exists: whatever the
// arguments, either the program starts with nothing printed, or it prints
// the help or the version and ends with 0, or it prints the reason and the
// usage on standard error and ends with 2.
//
// The input is the arguments after the program's name, as UTF-8, each
// ended by a NUL byte.
#include "FuzzSupport.h"

#include "app/ProgramOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList arguments{QStringLiteral("probeterm")};
    for (const QByteArray& argument : fuzzing::Bytes(data, size).split('\0'))
        arguments.append(QString::fromUtf8(argument));
    const ProgramOptions options = readProgramOptions(arguments);
    if (options.Start) {
        FUZZ_REQUIRE(options.ExitCode == 0 && options.Output.isEmpty() && options.Errors.isEmpty());
    } else if (options.ExitCode == 0) {
        FUZZ_REQUIRE(!options.Output.isEmpty() && options.Errors.isEmpty());
    } else {
        FUZZ_REQUIRE(options.ExitCode == 2 && options.Output.isEmpty());
        FUZZ_REQUIRE(options.Errors.startsWith(QLatin1String("probeterm: ")) &&
                     options.Errors.endsWith(programUsage()));
    }
    return 0;
}
