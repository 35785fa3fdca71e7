# GoogleTest from the system package (/usr/src/googletest), built with the
# project's own compiler so that the Windows test executables link it too.

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
if(NOT TARGET gtest)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # GoogleTest's own sources do not build cleanly under the project's warning
  # set (-Wundef); its warnings are not ours to fix.
  foreach(t gtest gtest_main gmock gmock_main)
    target_compile_options(${t} PRIVATE -w)
  endforeach()
endif()
include(GoogleTest)

# kelvane_add_gtest(target source... LIBS lib... [LABELS label])
# Natively every test case becomes a ctest test of its own.  Under Wine one
# process per test case would cost ~0.1 s each, so there the whole executable
# is one ctest test.  The i686 build has no emulator: it is built, not run.
function(kelvane_add_gtest target)
  cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
  add_executable(${target} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  # One label per test: the discovered tests' properties pass through a
  # generated script that splits any list, so a second label would be lost.
  set(label unit)
  if(ARG_LABELS)
    list(GET ARG_LABELS 0 label)
  endif()
  if(NOT CMAKE_CROSSCOMPILING)
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS ${label})
  elseif(CMAKE_CROSSCOMPILING_EMULATOR)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES LABELS ${label})
  endif()
endfunction()

# The source tree as the test executables see it: Wine shows the Unix file
# system as drive Z:.
if(CMAKE_CROSSCOMPILING)
  set(KELVANE_TEST_SOURCE_ROOT "Z:${PROJECT_SOURCE_DIR}")
else()
  set(KELVANE_TEST_SOURCE_ROOT "${PROJECT_SOURCE_DIR}")
endif()
