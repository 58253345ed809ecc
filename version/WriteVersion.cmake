# cmake -DTEMPLATE=<Version.h.in> -DOUTPUT=<Version.h> -DSOURCE_DIR=<checkout>
#       -DPROJECT_VERSION=<a.b.c> -DPROJECT_VERSION_MAJOR=... (MINOR, PATCH)
#       -DPROBETERM_BUILD_NUMBER=<number or empty> -P WriteVersion.cmake
#
# Writes the version header. An empty build number is the commit count of
# the git checkout SOURCE_DIR, or 0 when SOURCE_DIR is no checkout of its
# own (an unpacked source archive, even inside another repository). The
# header is left untouched when its text is unchanged, so nothing rebuilds.
if(PROBETERM_BUILD_NUMBER STREQUAL "")
  set(PROBETERM_BUILD_NUMBER 0)
  find_program(git_program git)
  if(git_program)
    execute_process(COMMAND ${git_program} -C ${SOURCE_DIR} rev-parse --show-toplevel
                    OUTPUT_VARIABLE checkout OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE git_result ERROR_QUIET)
    file(REAL_PATH "${SOURCE_DIR}" source_dir)
    if(git_result EQUAL 0 AND checkout STREQUAL source_dir)
      execute_process(COMMAND ${git_program} -C ${SOURCE_DIR} rev-list --count HEAD
                      OUTPUT_VARIABLE count OUTPUT_STRIP_TRAILING_WHITESPACE
                      RESULT_VARIABLE git_result ERROR_QUIET)
      if(git_result EQUAL 0 AND count MATCHES "^[0-9]+$")
        set(PROBETERM_BUILD_NUMBER ${count})
      endif()
    endif()
  endif()
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
