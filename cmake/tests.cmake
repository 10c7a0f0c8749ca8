# GoogleTest from Debian's sources, built with the project's own compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# The tests of the plain parts, built for every target.
set(UNIT_TEST_SOURCES
  tests/unit/fciv_test.cpp
  tests/unit/paths_test.cpp
  tests/unit/report_test.cpp)
