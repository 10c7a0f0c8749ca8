# Native build of the plain parts: unit tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and short fuzzing runs.
set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
target_compile_options(core PRIVATE ${SANITIZE})

add_executable(native_unit_tests ${UNIT_TEST_SOURCES})
target_compile_options(native_unit_tests PRIVATE ${SANITIZE})
target_link_options(native_unit_tests PRIVATE ${SANITIZE})
target_link_libraries(native_unit_tests PRIVATE core gtest_main)
gtest_discover_tests(native_unit_tests TEST_PREFIX "native." DISCOVERY_MODE PRE_TEST)
