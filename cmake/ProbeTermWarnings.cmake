# probeterm_warnings: the warnings the program, its tests and its benchmarks
# are built with, linked PRIVATE to each target so that they never reach
# another project. With CI set in the environment when configuring, any
# warning fails the build.
if(DEFINED ENV{CI})
  set(werror_default ON)
else()
  set(werror_default OFF)
endif()
option(PROBETERM_WERROR "Treat the program's warnings as errors" ${werror_default})

set(probeterm_warning_options
  -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wnon-virtual-dtor
  -Woverloaded-virtual -Wcast-qual
  $<$<BOOL:${PROBETERM_WERROR}>:-Werror>)

add_library(probeterm_warnings INTERFACE)
target_compile_options(probeterm_warnings INTERFACE ${probeterm_warning_options})

# probeterm_test_warnings: the same for the tests, less the one warning that
# Qt Test's own macros (QTEST_APPLESS_MAIN, QSKIP) raise under clang's
# -Wpedantic by leaving a variadic argument empty.
add_library(probeterm_test_warnings INTERFACE)
target_compile_options(probeterm_test_warnings INTERFACE ${probeterm_warning_options}
  $<$<CXX_COMPILER_ID:Clang>:-Wno-gnu-zero-variadic-macro-arguments>)
