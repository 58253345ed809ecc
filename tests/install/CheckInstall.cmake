# cmake -DBUILD_DIR=... -DPREFIX=... -DBINDIR=... -DDATADIR=... -DMANDIR=...
#       -DPROGRAM_FOLDER=... -DAPP_ID=... -P CheckInstall.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE install_result OUTPUT_VARIABLE install_output
                ERROR_VARIABLE install_output)
if(NOT install_result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${install_output}")
endif()

set(expected
    "${BINDIR}/probeterm"
    "${BINDIR}/probeterm-sim"
    "${PROGRAM_FOLDER}/Quenvarel Freeware License Agreement.rtf"
    "${PROGRAM_FOLDER}/Quenvarel Freeware License Agreement.txt"
    "${PROGRAM_FOLDER}/Commands.SDI12"
    "${DATADIR}/applications/${APP_ID}.desktop"
    "${DATADIR}/metainfo/${APP_ID}.metainfo.xml"
    "${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg"
    "${MANDIR}/man1/probeterm.1.gz"
    "${MANDIR}/man1/probeterm-sim.1.gz"
    "${DATADIR}/doc/probeterm/copyright"
    "${DATADIR}/doc/probeterm/changelog.gz")
foreach(size 16 32 48 64 128 256)
  list(APPEND expected "${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
endforeach()
foreach(file IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The validators are optional on a developer's machine.
function(validate tool)
  find_program(${tool}_path ${tool})
  set(tool_path "${${tool}_path}")
  if(NOT tool_path)
    message(STATUS "${tool} not found: skipped")
    return()
  endif()
  execute_process(COMMAND "${tool_path}" ${ARGN} RESULT_VARIABLE result
                  OUTPUT_VARIABLE output ERROR_VARIABLE output)
  message(STATUS "${tool}: ${output}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${tool} rejected the installed file:\n${output}")
  endif()
endfunction()
validate(desktop-file-validate "${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop")
validate(appstreamcli validate --no-net "${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml")
