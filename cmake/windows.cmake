# The Windows program, its platform layer and the tests that run under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_definitions(UNICODE _UNICODE WINVER=0x0A00 _WIN32_WINNT=0x0A00)

set(VERSION_COMMA "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
function(add_version_resource target name description)
  set(NAME ${name})
  set(DESCRIPTION ${description})
  configure_file(${PROJECT_SOURCE_DIR}/src/res/version.rc.in ${CMAKE_BINARY_DIR}/${name}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/${name}_version.rc)
endfunction()

# Non-UI Win32: what both programs share, and the window's files and folders.
add_library(win32 STATIC ${LAYER_src/win32})
target_link_libraries(win32 PUBLIC common)

# The window's controls, form window and services.
add_library(ui STATIC ${LAYER_src/ui})
target_link_libraries(ui PUBLIC logic win32 comctl32 shell32 ole32 uuid)

# The window but its entry point, so that tests can build it.
set(FORM_SOURCES ${LAYER_src/app})
list(FILTER FORM_SOURCES EXCLUDE REGEX "/app/main\\.cpp$")
add_library(form STATIC ${FORM_SOURCES})
target_link_libraries(form PUBLIC ui)

add_executable(tallymere WIN32 src/app/main.cpp src/res/tallymere.rc)
target_link_libraries(tallymere PRIVATE form)
target_link_options(tallymere PRIVATE -municode)
add_version_resource(tallymere tallymere "Tallymere: MD5 and SHA-1 hashes of a folder")

add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE logic fcivcore gtest_main)
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)

add_executable(gui_tests tests/gui/window_test.cpp tests/gui/results_test.cpp tests/gui/navigation_test.cpp tests/gui/job_test.cpp tests/gui/gui_fixture.cpp src/res/tallymere.rc)
target_link_libraries(gui_tests PRIVATE form gtest_main)
target_include_directories(gui_tests PRIVATE tests)
gtest_discover_tests(gui_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)

add_executable(reader_bench bench/reader_bench.cpp)
target_link_libraries(reader_bench PRIVATE form psapi)
target_link_options(reader_bench PRIVATE -municode)
target_include_directories(reader_bench PRIVATE tests)
add_executable(list_bench bench/list_bench.cpp)
target_link_libraries(list_bench PRIVATE form)
target_include_directories(list_bench PRIVATE tests)

# The hashing tool's engine: listing, hashing, the ordered hand-over; a library the tests drive.
add_library(fcivengine STATIC ${LAYER_tools/fciv/engine})
target_link_libraries(fcivengine PUBLIC fcivcore win32 ntdll)
target_compile_definitions(fcivengine PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)

add_executable(engine_tests tests/engine/engine_test.cpp)
target_link_libraries(engine_tests PRIVATE fcivengine gtest_main)
gtest_discover_tests(engine_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 60)
# Once more under Wine's heap checks: a block freed twice or written after it was freed fails the run.
add_test(NAME engine.heap_checked COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:engine_tests>)
set_tests_properties(engine.heap_checked PROPERTIES TIMEOUT 60 ENVIRONMENT "WINEDEBUG=warn+heap" FAIL_REGULAR_EXPRESSION "heap:")

# The hashing tool, beside the program.
set(FCIV_SOURCES ${LAYER_tools/fciv})
list(FILTER FCIV_SOURCES EXCLUDE REGEX "/fciv/(core|engine)/")
add_executable(fciv ${FCIV_SOURCES} src/res/tallymere_icon.rc)
target_link_libraries(fciv PRIVATE fcivengine uuid)
target_link_options(fciv PRIVATE -municode)
add_version_resource(fciv fciv "Tallymere's hashing tool: MD5 and SHA-1 of a folder into an XML database")

# What a stranger could put beside the programs: a DLL and a program that leave a marker when they run.
add_library(planted_dll SHARED tests/planted.cpp)
target_compile_definitions(planted_dll PRIVATE PLANTED_DLL)
add_executable(planted_exe tests/planted.cpp)
target_link_options(planted_exe PRIVATE -municode)
set(PLANTED_ENV "PLANTED_DLL=$<TARGET_FILE:planted_dll>;PLANTED_EXE=$<TARGET_FILE:planted_exe>")

add_executable(lock_file tests/tool/lock_file.cpp)
target_link_options(lock_file PRIVATE -municode)
foreach(group KnownAnswers Listing Failures Interruption Checking)
  add_test(NAME tool.${group} COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/tool/test_fciv.py ${group})
  set_tests_properties(tool.${group} PROPERTIES TIMEOUT 180
    ENVIRONMENT "FCIV_EXE=$<TARGET_FILE:fciv>;LOCK_EXE=$<TARGET_FILE:lock_file>")
endforeach()

add_dependencies(gui_tests fciv)

add_executable(peek tests/journeys/peek.cpp)
target_link_options(peek PRIVATE -municode)

# Journeys: the packaged program driven from outside with real input (Xvfb, xdotool).
foreach(journey three_hashes_recursive_names_only_with_a_mask_in_a_folder_with_blanks keyboard_only
                the_picker_by_mouse started_with_a_folder_a_sums_file_or_from_one_that_has_gone)
  add_test(NAME journey.${journey}
           COMMAND python3 ${PROJECT_SOURCE_DIR}/tests/journeys/test_journeys.py Journeys.test_${journey})
  set_tests_properties(journey.${journey} PROPERTIES TIMEOUT 180 RUN_SERIAL TRUE ENVIRONMENT "PEEK_EXE=$<TARGET_FILE:peek>;${PLANTED_ENV}")
endforeach()

add_executable(read_floor bench/read_floor.cpp)
target_link_options(read_floor PRIVATE -municode)

add_executable(stand_in bench/stand_in.cpp)  # a hashing tool that takes its time
target_link_options(stand_in PRIVATE -municode)
add_executable(wait_bench bench/wait_bench.cpp)
target_link_libraries(wait_bench PRIVATE form)
target_include_directories(wait_bench PRIVATE tests)
add_dependencies(wait_bench stand_in)
add_dependencies(reader_bench stand_in)
