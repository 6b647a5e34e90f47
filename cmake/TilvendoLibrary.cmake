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
# Precompiled headers and batched compiling for a GoogleTest program.
function(tilvendo_test_program name)
  target_precompile_headers(${name} PRIVATE ${TILVENDO_TEST_PCH})
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${TILVENDO_TEST_BATCH})
endfunction()

# tilvendo_test(<name> DIR <folder> DEPS <targets>...)
# One GoogleTest executable of every .cpp in tests/<folder>, registered with ctest (one
# case per test). The tests run in German, the language of the texts they check,
# whatever the machine's locale.
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
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600
                       ENVIRONMENT ${TILVENDO_TESTSPRACHE})
endfunction()
