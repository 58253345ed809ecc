# cmake -DLICENCE_TEXT=<licence .txt> -DOUTPUT=<copyright> -DCONTACT=<name <address>>
#       -P WriteCopyright.cmake
# Writes Debian's machine-readable copyright file, holding the licence's
# text: each line indented by a blank, an empty line written " .".
file(STRINGS "${LICENCE_TEXT}" lines ENCODING UTF-8)
set(text "")
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    string(APPEND text " .\n")
  else()
    string(APPEND text " ${line}\n")
  endif()
endforeach()
file(WRITE "${OUTPUT}"
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: Quenvarel Tidewright\n"
     "Upstream-Contact: ${CONTACT}\n"
     "Source: https://www.quenvarel.example/tidewright\n"
     "\n"
     "Files: *\n"
     "Copyright: 2026 Quenvarel Instruments\n"
     "License: Quenvarel-Freeware\n"
     "${text}")
