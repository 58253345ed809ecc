# cmake -DVERSION_FILE=<version.txt> -DOUTPUT=<changelog> -DMAINTAINER=<name <address>>
#       -P WriteChangelog.cmake
# Writes the package's changelog entry for the version the build carries,
# dated now (or at SOURCE_DATE_EPOCH when that is set, for a reproducible
# package).
file(STRINGS "${VERSION_FILE}" version LIMIT_COUNT 1)
string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE "${OUTPUT}"
     "probeterm (${version}) unstable; urgency=medium\n"
     "\n"
     "  * ProbeTerm ${version}.\n"
     "\n"
     " -- ${MAINTAINER}  ${date}\n")
