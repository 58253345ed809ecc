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

add_library(probeterm_warnings INTERFACE)
target_compile_options(probeterm_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wnon-virtual-dtor
  -Woverloaded-virtual -Wcast-qual
  $<$<BOOL:${PROBETERM_WERROR}>:-Werror>)
