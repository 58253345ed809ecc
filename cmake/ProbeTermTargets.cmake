# How the program's libraries are declared so that each sees only the layers
# it links.

# probeterm_expose_headers(<target> <PUBLIC|PRIVATE|INTERFACE> <file>...)
# Puts the headers among <file>... (paths relative to the current folder) on
# the target's include path as "<folder>/<file>", <folder> being the current
# folder relative to the source root: the build tree gets a folder of the
# target's own holding a symbolic link to each of these headers, and only to
# these. Linked rather than copied, so that an edited header needs no step
# and the compiler's messages lead to the file itself.
function(probeterm_expose_headers target scope)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(REMOVE_RECURSE ${root}) # a header dropped from the list goes away
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(file IN LISTS ARGN)
    if(file MATCHES "\\.h$")
      set(link ${root}/${folder}/${file})
      get_filename_component(link_folder ${link} DIRECTORY)
      file(MAKE_DIRECTORY ${link_folder})
      file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${file} ${link} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# probeterm_add_library(<name> SOURCES <file>... [LINKS <target>...])
# A static library of the current folder's layer, built with the strict
# warnings; an interface library when it has headers only. LINKS are the
# libraries its sources and headers may use, Qt's included.
function(probeterm_add_library name)
  cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
  set(compiled ${L_SOURCES})
  list(FILTER compiled INCLUDE REGEX "\\.cpp$")
  if(compiled)
    add_library(${name} STATIC ${L_SOURCES})
    target_link_libraries(${name} PUBLIC ${L_LINKS} PRIVATE probeterm_warnings)
    probeterm_expose_headers(${name} PUBLIC ${L_SOURCES})
  else()
    add_library(${name} INTERFACE ${L_SOURCES})
    target_link_libraries(${name} INTERFACE ${L_LINKS})
    probeterm_expose_headers(${name} INTERFACE ${L_SOURCES})
  endif()
endfunction()
