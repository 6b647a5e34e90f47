# tilvendo_library(<name> [DEPS <targets>...])
# A static library of every .cpp in the calling folder; includes are rooted at the
# project folder ("platform/bitmap.h").
function(tilvendo_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    if(TILVENDO_FUZZ)
      # Coverage for the fuzzer, where the readers it drives live.
      target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
  else()
    # Headers only, so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# The headers nearly every test file reads, parsed once per test program instead of once
# per file: GoogleTest's alone costs more than most test files themselves.
set(TILVENDO_TEST_PCH <gtest/gtest.h> <algorithm> <array> <cstdint> <cstring> <filesystem>
    <functional> <memory> <optional> <stdexcept> <string> <string_view> <utility> <vector>)

# Test programs are compiled in batches of this many files (a unity build): each batch
# parses the shared headers once. Helpers in a test file's anonymous namespace therefore
# need names unique within its folder.
set(TILVENDO_TEST_BATCH 8)

# tilvendo_test_program(<target>)
# Precompiled headers and batched compiling for a GoogleTest program. Its own files are
# not optimised: they compile in half the time, and the work they test is done in the
# libraries, which are.
function(tilvendo_test_program name)
  target_precompile_headers(${name} PRIVATE ${TILVENDO_TEST_PCH})
  target_compile_options(${name} PRIVATE -O0)
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${TILVENDO_TEST_BATCH})
endfunction()

# A GoogleTest program runs as this many ctest cases, each a share of its tests
# (GoogleTest's sharding). A process per test spent more time starting the sanitized
# program than testing; one per program would leave a core idle behind the longest.
set(TILVENDO_TEST_TEILE 2)

# tilvendo_test(<name> DIR <folder> DEPS <targets>...)
# One GoogleTest executable of every .cpp in tests/<folder>, registered with ctest as
# <name>_0 .. (its shares). The tests run in German, the language of the texts they check,
# whatever the machine's locale. A failing share names its failed tests.
function(tilvendo_test name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  tilvendo_test_program(${name})
  math(EXPR letzter "${TILVENDO_TEST_TEILE} - 1")
  foreach(teil RANGE ${letzter})
    add_test(NAME ${name}_${teil} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name}_${teil} PROPERTIES TIMEOUT 600 ENVIRONMENT
      "GTEST_TOTAL_SHARDS=${TILVENDO_TEST_TEILE};GTEST_SHARD_INDEX=${teil};${TILVENDO_TESTSPRACHE}")
  endforeach()
endfunction()
