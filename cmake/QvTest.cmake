# GoogleTest from the sources that Debian's googletest package installs, built with the project's
# flags so that no amd64 object mixes in.
set(QV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# g++ 12 at -O3 reports a string concatenation inside GoogleTest as an overlapping copy, a false
# alarm of that compiler in code that is not ours; it must not break a warnings-as-errors build.
target_compile_options(gtest PRIVATE -Wno-restrict)
include(GoogleTest)

# qv_add_test(<name> SOURCES <files...> LIBS <libs...> [LABEL <label>] [TIMEOUT <seconds>]): one test
# executable, registered with CTest; its tests carry the label when one is given, and may run for
# 300 s unless another limit is given.
function(qv_add_test name)
  cmake_parse_arguments(T "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} qv_test_support GTest::gtest_main)
  # The checks take their arguments by reference, and the fields of the packed records that tests
  # compare are not always aligned for one. The libraries under test keep the alignment check.
  if(QV_SANITIZE)
    target_compile_options(${name} PRIVATE -fno-sanitize=alignment)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(properties TIMEOUT ${T_TIMEOUT})
  if(T_LABEL)
    list(APPEND properties LABELS ${T_LABEL})
  endif()
  # Listing a test's cases starts the program once: under the emulator, with the sanitizers, on a
  # busy machine that alone can take a minute.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 300 PROPERTIES ${properties})
endfunction()
