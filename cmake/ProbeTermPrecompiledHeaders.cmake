# Qt's headers take most of each file's compile time. With precompiled
# headers, every library, test and fuzz target reads the Qt headers nearly
# all its files include from one header precompiled once: one for the core
# libraries, the tests and the fuzz targets (Qt Core alone, so that a core
# library still cannot reach a widget) and one for the ui libraries.
#
# They are on by default without a compiler cache (a first build from a
# fresh clone). With ccache, as the suite builds in CI, every file is
# compiled with its own includes only, so that a missing include is still
# caught; CI's sanitizer and fuzz builds turn them on, with the ccache
# settings that let the cache serve them (.ci/run).
if(CMAKE_CXX_COMPILER_LAUNCHER)
  set(precompiled_default OFF)
else()
  set(precompiled_default ON)
endif()
option(PROBETERM_PRECOMPILED_HEADERS "Precompile the Qt headers each library shares"
       ${precompiled_default})

set(probeterm_core_headers <QByteArray> <QDateTime> <QHash> <QList> <QMap> <QObject>
    <QString> <QStringList> <QVariant> <functional> <memory> <optional> <vector>)
set(probeterm_ui_headers ${probeterm_core_headers} <QAbstractItemModel> <QComboBox>
    <QLabel> <QLineEdit> <QPushButton> <QTableView> <QVBoxLayout> <QWidget>)

# The two libraries that hold the precompiled headers, built with the same
# options as the libraries that use them.
if(PROBETERM_PRECOMPILED_HEADERS)
  set(empty_source ${PROJECT_BINARY_DIR}/precompiled_headers.cpp)
  file(WRITE ${empty_source} "")
  add_library(probeterm_core_pch STATIC ${empty_source})
  target_link_libraries(probeterm_core_pch PRIVATE Qt6::Core probeterm_warnings)
  target_precompile_headers(probeterm_core_pch PRIVATE ${probeterm_core_headers})
  add_library(probeterm_ui_pch STATIC ${empty_source})
  target_link_libraries(probeterm_ui_pch PRIVATE Qt6::Widgets probeterm_warnings)
  target_precompile_headers(probeterm_ui_pch PRIVATE ${probeterm_ui_headers})
  set_target_properties(probeterm_core_pch probeterm_ui_pch PROPERTIES AUTOMOC OFF AUTOUIC OFF)
  # clang stamps its precompiled headers with the time by default, which
  # would keep ccache from serving the files that use them.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    target_compile_options(probeterm_core_pch PRIVATE -Xclang -fno-pch-timestamp)
    target_compile_options(probeterm_ui_pch PRIVATE -Xclang -fno-pch-timestamp)
  endif()
endif()

# probeterm_use_precompiled_headers(<target> <core|ui>)
function(probeterm_use_precompiled_headers target kind)
  if(PROBETERM_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} REUSE_FROM probeterm_${kind}_pch)
  endif()
endfunction()
