# Native build of the plain parts: unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and short fuzzing runs.
set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
# The libraries carry the fuzz targets' coverage instrumentation.
foreach(lib common logic fcivcore)
  target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link ${SANITIZE})
endforeach()

add_executable(native_unit_tests ${UNIT_TEST_SOURCES})
target_compile_options(native_unit_tests PRIVATE ${SANITIZE})
target_link_options(native_unit_tests PRIVATE ${SANITIZE})
target_link_libraries(native_unit_tests PRIVATE logic fcivcore gtest_main)
gtest_discover_tests(native_unit_tests TEST_PREFIX "native." DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 60)

# Fuzz targets: a few seconds each inside the test run, seeded from tests/fuzz/corpus.
function(add_fuzz_test name source lib)
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${lib})
  set(found ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  file(MAKE_DIRECTORY ${found})
  add_test(NAME fuzz.${name}
           COMMAND ${name} -max_total_time=${FUZZ_SECONDS} -rss_limit_mb=2048 -print_final_stats=1
                   ${found} ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${ARGN})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 60)
endfunction()
set(FUZZ_SECONDS 10 CACHE STRING "How long each fuzz target runs in the test suite")
add_fuzz_test(report_fuzz tests/fuzz/report_fuzz.cpp logic report)
add_fuzz_test(sums_fuzz tests/fuzz/sums_fuzz.cpp fcivcore sums)
