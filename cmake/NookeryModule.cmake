# nookery_strict_strings(<target>)
# Under NOOKERY_LINT the program and the tools build with QT_NO_CAST_FROM_ASCII, so every string
# literal states its encoding. Tests may keep plain string literals: they never get it.
function(nookery_strict_strings target)
  if(NOOKERY_LINT)
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII)
  endif()
endfunction()

set(NOOKERY_PRODUCT_DIR ${PROJECT_SOURCE_DIR}/src)

# nookery_module(<target> SOURCES <files...> [QT <Core Gui ...>] [DEPS <targets...>])
# A static library of one folder's classes. Model modules link Qt Core only.
function(nookery_module target)
  cmake_parse_arguments(ARG "" "" "SOURCES;QT;DEPS;LIBS" ${ARGN})
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  set(qt_targets Qt6::Core)
  foreach(component IN LISTS ARG_QT)
    list(APPEND qt_targets Qt6::${component})
  endforeach()
  target_link_libraries(${target} PUBLIC ${qt_targets} ${ARG_DEPS} ${ARG_LIBS})
  cmake_path(IS_PREFIX NOOKERY_PRODUCT_DIR ${CMAKE_CURRENT_SOURCE_DIR} in_product)
  if(in_product)
    nookery_strict_strings(${target})
  endif()
endfunction()

# nookery_add_test(<name> SOURCES <files...> DEPS <targets...> [DISPLAY none|offscreen|xvfb|xvfb-tray]
#                  [SESSION_BUS] [TIMEOUT <seconds>] [LABELS <labels...>])
# One QtTest executable, registered with CTest. Every test runs in a throw-away HOME,
# XDG_DATA_HOME and XDG_CONFIG_HOME so nothing touches the user's real files; SESSION_BUS gives
# it a private D-Bus session bus and the label "dbus".
function(nookery_add_test name)
  cmake_parse_arguments(ARG "SESSION_BUS" "DISPLAY;TIMEOUT" "SOURCES;DEPS;LABELS" ${ARGN})
  if(NOT ARG_DISPLAY)
    set(ARG_DISPLAY none)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test nookery_test_fakes ${ARG_DEPS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(runner ${PROJECT_SOURCE_DIR}/tests/harness/run-test)
  set(mode ${ARG_DISPLAY})
  if(ARG_SESSION_BUS)
    set(mode --session-bus ${ARG_DISPLAY})
    list(APPEND ARG_LABELS dbus)
  endif()
  add_test(NAME ${name} COMMAND ${runner} ${mode} $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_DISPLAY};${ARG_LABELS}")
endfunction()
