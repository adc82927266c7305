# Linux build: portable core, its unit tests, benchmarks, the service stand-in and the fuzz targets.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE pagelark_core GTest::gtest_main Threads::Threads)
target_compile_definitions(unit_tests PRIVATE PAGELARK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# Only the engine's tests read the lexicons the build makes.
set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/unit/window_hunspell_engine_test.cpp PROPERTIES
    COMPILE_DEFINITIONS "PAGELARK_LEXICON_DIR=\"${PAGELARK_LEXICON_DIR}\"")
add_dependencies(unit_tests pagelark_lexicons)
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)

# The include order of the source folders (docs/design.md).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME LayerOrder COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check_layers.py ${CMAKE_SOURCE_DIR})

# A sanitizer build needs only the unit tests; the stand-in, benchmarks and fuzz targets stay out.
if(PAGELARK_SANITIZE)
    return()
endif()

find_package(benchmark QUIET)
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*_bench.cpp)
if(benchmark_FOUND AND BENCH_SOURCES)
    add_executable(core_benchmarks ${BENCH_SOURCES})
    target_link_libraries(core_benchmarks PRIVATE pagelark_core benchmark::benchmark_main)
    target_compile_definitions(core_benchmarks PRIVATE PAGELARK_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/standin/CMakeLists.txt)
    add_subdirectory(standin)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz/CMakeLists.txt)
    add_subdirectory(tests/fuzz)
endif()

# The shipped Outlook form template, read back with an independent reader (python3-olefile).
add_test(NAME form_template_olefile
         COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/tools/form_template_check.py
                 ${CMAKE_SOURCE_DIR}/data/Data/Pagelark.oft)
