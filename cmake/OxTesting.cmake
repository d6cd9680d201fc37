# Test helpers.
#
# ox_add_test(<name> SOURCES <files...> [LIBS <libs...>] [TIMEOUT <s>] [LABELS <l...>]
#             [RESOURCE_LOCK <r...>] [ENV <VAR=value...>] [SERIAL] [CHANNEL])
#   A GoogleTest program that CTest runs under wine64 (through CMAKE_CROSSCOMPILING_EMULATOR),
#   with OX_TEST_ENVIRONMENT followed by ENV (later entries win). SERIAL: the test runs alone
#   (a program started with another locale rewrites the prefix's shared locale settings, which
#   the programs running beside it would read). CHANNEL: the test reads the debug-output channel
#   (it owns the mailslot \\.\mailslot\traxel) and runs alone: under Wine a program that opens
#   the mailslot while another test owns it keeps the name taken for as long as it runs, even
#   after the owner closed it, which would block the next capture.
#
# ox_add_script_test(<name> SCRIPT <file> [DEPENDS <targets...>] [TIMEOUT <s>] [LABELS <l...>]
#                    [RESOURCE_LOCK <r...>])
#   A Linux-side driver (Python or shell) that starts Windows programs under Wine and checks
#   their output with independent readers. It receives OX_BIN (the folder of the Windows
#   programs) and OX_WINE (the emulator command line, words separated by ';'), and
#   OX_TEST_ENVIRONMENT, which the Windows programs it starts inherit. Python drivers import the
#   shared helpers of tests/oxtest.py (checks, running the programs under Wine, Windows paths).

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

function(ox_add_test name)
  cmake_parse_arguments(T "SERIAL;CHANNEL" "TIMEOUT" "SOURCES;LIBS;LABELS;RESOURCE_LOCK;ENV" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ox_testkit ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${OX_TEST_ENVIRONMENT};${T_ENV}")
  if(T_SERIAL OR T_CHANNEL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

function(ox_add_script_test name)
  cmake_parse_arguments(T "" "SCRIPT;TIMEOUT" "DEPENDS;LABELS;RESOURCE_LOCK" ${ARGN})
  get_filename_component(script ${T_SCRIPT} ABSOLUTE)
  if(script MATCHES "\\.py$")
    set(cmd /usr/bin/python3 ${script})
  else()
    set(cmd /bin/bash ${script})
  endif()
  add_test(NAME ${name} COMMAND ${cmd})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  string(REPLACE ";" "\\;" wine "${CMAKE_CROSSCOMPILING_EMULATOR}")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "${OX_TEST_ENVIRONMENT};OX_BIN=${CMAKE_RUNTIME_OUTPUT_DIRECTORY};OX_WINE=${wine};OX_SOURCE_DIR=${CMAKE_SOURCE_DIR};PYTHONPATH=${CMAKE_SOURCE_DIR}/tests")
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
  if(T_DEPENDS)
    add_custom_target(${name}_deps ALL DEPENDS ${T_DEPENDS})
  endif()
endfunction()
