# How the program's libraries are declared so that each sees only the layers
# it links, and the check that no source file is left out of every target.

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
    if(name MATCHES "_ui$")
      probeterm_use_precompiled_headers(${name} ui)
    else()
      probeterm_use_precompiled_headers(${name} core)
    endif()
  else()
    add_library(${name} INTERFACE ${L_SOURCES})
    target_link_libraries(${name} INTERFACE ${L_LINKS})
    probeterm_expose_headers(${name} INTERFACE ${L_SOURCES})
  endif()
endfunction()

# The absolute paths of the sources of every target defined in <folder> and
# the folders below it, appended to the list <result>.
function(probeterm_collect_target_sources folder result)
  set(files ${${result}})
  get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(sources ${target} SOURCES)
    get_target_property(source_dir ${target} SOURCE_DIR)
    foreach(source IN LISTS sources)
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir} NORMALIZE)
      list(APPEND files ${source})
    endforeach()
  endforeach()
  get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
  foreach(subfolder IN LISTS subfolders)
    probeterm_collect_target_sources(${subfolder} files)
  endforeach()
  set(${result} ${files} PARENT_SCOPE)
endfunction()

# probeterm_require_listed_sources(FOLDERS <folder>... FILES <file>...)
# Fails the configure when a .cpp or .h file in the FOLDERS (and below) or
# among the FILES of the source root belongs to no target: such a file would
# silently not be built. Run at the end of the top CMakeLists.txt; a file
# added later makes the next build configure again and check it.
function(probeterm_require_listed_sources)
  cmake_parse_arguments(R "" "" "FOLDERS;FILES" ${ARGN})
  set(patterns)
  foreach(folder IN LISTS R_FOLDERS)
    list(APPEND patterns ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  endforeach()
  file(GLOB_RECURSE present CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
       ${patterns})
  file(GLOB present_at_root CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
       ${PROJECT_SOURCE_DIR}/*.cpp ${PROJECT_SOURCE_DIR}/*.h)
  list(APPEND present ${present_at_root} ${R_FILES})

  set(listed)
  probeterm_collect_target_sources(${PROJECT_SOURCE_DIR} listed)
  set(unlisted)
  foreach(file IN LISTS present)
    if(NOT ${PROJECT_SOURCE_DIR}/${file} IN_LIST listed)
      list(APPEND unlisted ${file})
    endif()
  endforeach()
  if(unlisted)
    list(REMOVE_DUPLICATES unlisted)
    list(JOIN unlisted "\n  " lines)
    message(FATAL_ERROR "These source files belong to no target and would not be built; "
            "list each in the SOURCES of its folder's CMakeLists.txt:\n  ${lines}")
  endif()
endfunction()
