# cmake -DTEMPLATE=<Version.h.in> -DOUTPUT=<Version.h> -DVERSION_FILE=<text file>
#       -DSOURCE_DIR=<checkout> -DPROJECT_VERSION=<a.b.c> -DPROJECT_VERSION_MAJOR=...
#       (MINOR, PATCH) -DPROBETERM_BUILD_NUMBER=<build or empty> -P WriteVersion.cmake
#
# Writes the version header and the whole version as one line of text (the
# package takes its version from there). An empty build number names the
# build from where the sources came from:
#   - a git checkout of its own with its whole history: the commit count;
#   - a shallow clone, whose count would be wrong: the commit's short hash;
#   - a source archive made by git archive: the short hash git wrote into
#     ArchivedCommit.txt;
#   - anything else (a copied tree): "unknown", never a made-up number.
# The files are left untouched when their text is unchanged, so nothing
# rebuilds.

# The short hash in ArchivedCommit.txt, or nothing when git archive did not
# fill it in.
function(read_archived_commit result)
  set(${result} "" PARENT_SCOPE)
  get_filename_component(here ${CMAKE_CURRENT_LIST_FILE} DIRECTORY)
  if(EXISTS ${here}/ArchivedCommit.txt)
    file(STRINGS ${here}/ArchivedCommit.txt hash LIMIT_COUNT 1)
    if(hash MATCHES "^[0-9a-f]+$")
      set(${result} ${hash} PARENT_SCOPE)
    endif()
  endif()
endfunction()

# The commit count, or the short hash in a shallow clone; nothing when
# SOURCE_DIR is no checkout of its own (an unpacked source archive, even
# inside another repository).
function(read_checkout_build result)
  set(${result} "" PARENT_SCOPE)
  find_program(git_program git)
  if(NOT git_program)
    return()
  endif()
  execute_process(COMMAND ${git_program} -C ${SOURCE_DIR} rev-parse --show-toplevel
                  OUTPUT_VARIABLE checkout OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE git_result ERROR_QUIET)
  file(REAL_PATH "${SOURCE_DIR}" source_dir)
  if(NOT git_result EQUAL 0 OR NOT checkout STREQUAL source_dir)
    return()
  endif()
  execute_process(COMMAND ${git_program} -C ${SOURCE_DIR} rev-parse --is-shallow-repository
                  OUTPUT_VARIABLE shallow OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(shallow STREQUAL "false")
    set(question rev-list --count HEAD)
    set(answer_form "^[0-9]+$")
  else()
    set(question rev-parse --short HEAD)
    set(answer_form "^[0-9a-f]+$")
  endif()
  execute_process(COMMAND ${git_program} -C ${SOURCE_DIR} ${question}
                  OUTPUT_VARIABLE answer OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE git_result ERROR_QUIET)
  if(git_result EQUAL 0 AND answer MATCHES "${answer_form}")
    set(${result} ${answer} PARENT_SCOPE)
  endif()
endfunction()

set(PROBETERM_BUILD "${PROBETERM_BUILD_NUMBER}")
if(PROBETERM_BUILD STREQUAL "")
  read_checkout_build(PROBETERM_BUILD)
endif()
if(PROBETERM_BUILD STREQUAL "")
  read_archived_commit(PROBETERM_BUILD)
endif()
if(PROBETERM_BUILD STREQUAL "")
  set(PROBETERM_BUILD unknown)
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
file(CONFIGURE OUTPUT ${VERSION_FILE} CONTENT "${PROJECT_VERSION}.${PROBETERM_BUILD}\n")
