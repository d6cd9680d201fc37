# Test helpers.
#
# ox_add_test(<name> SOURCES <files...> [LIBS <libs...>] [TIMEOUT <s>] [LABELS <l...>]
#             [RESOURCE_LOCK <r...>] [ENV <VAR=value...>] [SERIAL] [CHANNEL] [ALLOCATOR_KINDS])
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
#
# Allocator kinds: every test of the engine (engine/tests) and of the data layer (app/data/tests)
# that uses the database library runs once more under each kind in OX_ALLOCATOR_KINDS, the value of HKEY_CURRENT_USER\Software\
# velmar "Allocator" that chooses the database library's allocator (the ordinary run has no value:
# kind 2). The registry value lives in a Wine prefix of its own per kind, build/wineprefix-
# allocator<kind> (tools/wine-session.sh makes it from the main prefix and gives it the value), so
# the kinds run side by side with everything else. These runs are named <test>_allocator<kind> and
# carry the labels "allocator" and "allocator<kind>". The test programs that link the engine's
# objects themselves get the library's allocator as well (ox_link_library_allocator).

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(OX_ALLOCATOR_KINDS 1 3)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/allocator-kinds.txt CONTENT "${OX_ALLOCATOR_KINDS}\n")

# True (in the variable out) when tests of the current source directory run under each kind.
function(_ox_allocator_suite out)
  if(CMAKE_CURRENT_SOURCE_DIR MATCHES "/(engine|app/data)/tests$")
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

# The emulator command line of the prefix of an allocator kind.
function(_ox_allocator_emulator kind out)
  string(REPLACE "WINEPREFIX=${OX_WINEPREFIX}" "WINEPREFIX=${OX_WINEPREFIX}-allocator${kind}" emulator
         "${CMAKE_CROSSCOMPILING_EMULATOR}")
  set(${out} "${emulator}" PARENT_SCOPE)
endfunction()

# Copies the properties of a test to its run under an allocator kind.
function(_ox_allocator_properties name kind)
  foreach(property TIMEOUT RESOURCE_LOCK RUN_SERIAL ENVIRONMENT)
    get_test_property(${name} ${property} value)
    if(value)
      set_tests_properties(${name}_allocator${kind} PROPERTIES ${property} "${value}")
    endif()
  endforeach()
  get_test_property(${name} LABELS labels)
  if(NOT labels)
    set(labels "")
  endif()
  list(APPEND labels allocator allocator${kind})
  set_tests_properties(${name}_allocator${kind} PROPERTIES LABELS "${labels}")
  set_property(TEST ${name}_allocator${kind} APPEND PROPERTY ENVIRONMENT "OX_ALLOCATOR_KIND=${kind}")
endfunction()

# Links the database library's allocator (object library vlsupport_alloc) into every program of
# the directory that links the engine's objects but not the library itself.
function(ox_link_library_allocator directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(libraries ${target} LINK_LIBRARIES)
    if(type STREQUAL "EXECUTABLE" AND "vlengine" IN_LIST libraries AND NOT "vlDB07" IN_LIST libraries)
      target_link_libraries(${target} PRIVATE vlsupport_alloc)
    endif()
  endforeach()
endfunction()

function(ox_add_test name)
  cmake_parse_arguments(T "SERIAL;CHANNEL;ALLOCATOR_KINDS" "TIMEOUT" "SOURCES;LIBS;LABELS;RESOURCE_LOCK;ENV" ${ARGN})
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
  _ox_allocator_suite(kinds)
  # Only programs that use the database library (or the engine's objects) run again.
  set(uses_library FALSE)
  foreach(library vlDB07 vlengine oxdata)
    if(library IN_LIST T_LIBS)
      set(uses_library TRUE)
    endif()
  endforeach()
  if((kinds AND uses_library) OR T_ALLOCATOR_KINDS)
    foreach(kind IN LISTS OX_ALLOCATOR_KINDS)
      _ox_allocator_emulator(${kind} emulator)
      add_test(NAME ${name}_allocator${kind} COMMAND ${emulator} $<TARGET_FILE:${name}>)
      _ox_allocator_properties(${name} ${kind})
    endforeach()
  endif()
endfunction()

function(ox_add_script_test name)
  cmake_parse_arguments(T "SERIAL" "SCRIPT;TIMEOUT" "DEPENDS;LABELS;RESOURCE_LOCK" ${ARGN})
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
  if(T_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
  if(T_DEPENDS)
    add_custom_target(${name}_deps ALL DEPENDS ${T_DEPENDS})
  endif()
  _ox_allocator_suite(kinds)
  if(kinds)
    foreach(kind IN LISTS OX_ALLOCATOR_KINDS)
      _ox_allocator_emulator(${kind} emulator)
      string(REPLACE ";" "\\;" emulator "${emulator}")
      add_test(NAME ${name}_allocator${kind} COMMAND ${cmd})
      _ox_allocator_properties(${name} ${kind})
      get_test_property(${name} ENVIRONMENT environment)
      string(REPLACE "OX_WINE=${wine}" "OX_WINE=${emulator}" environment "${environment}")
      set_tests_properties(${name}_allocator${kind} PROPERTIES ENVIRONMENT "${environment};OX_ALLOCATOR_KIND=${kind}")
    endforeach()
  endif()
endfunction()
