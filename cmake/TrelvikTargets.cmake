# Helpers shared by every folder's CMakeLists.txt.
include(GoogleTest)
find_package(GTest REQUIRED)

# trelvik_core_library(NAME [SOURCES ...] DEPENDS ...): one static library per
# layer, built from the sources it lists (paths relative to its folder). A
# folder without sources yet is an interface library, so higher layers can
# name it already.
function(trelvik_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  if(ARG_SOURCES)
    add_library(trelvik_${name} STATIC ${ARG_SOURCES})
    target_include_directories(trelvik_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(trelvik_${name} PUBLIC ${ARG_DEPENDS} Threads::Threads)
  else()
    add_library(trelvik_${name} INTERFACE)
    target_include_directories(trelvik_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(trelvik_${name} INTERFACE ${ARG_DEPENDS} Threads::Threads)
  endif()
endfunction()

# trelvik_test(NAME SOURCES ... LIBS ... [LABELS ...] [SHARDS n]): one
# GoogleTest binary, its cases registered with CTest one by one. Tests run from
# the source root so that fixtures and ../shared/flights are found by relative
# paths. SHARDS splits the binary's sanitized run into n processes, for
# binaries whose cases mostly wait on a line or a program.
# The headers of the tests' precompiled header.
set(TRELVIK_TEST_PCH_HEADERS <gtest/gtest.h> <functional> <memory> <string> <string_view> <vector>)

function(trelvik_test name)
  cmake_parse_arguments(ARG "" "SHARDS" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} trelvik_test_support GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  if(ARG_LABELS STREQUAL "ui")
    # Qt's flags differ from the core's, so the window tests need their own.
    target_precompile_headers(${name} PRIVATE ${TRELVIK_TEST_PCH_HEADERS})
  else()
    target_precompile_headers(${name} REUSE_FROM trelvik_test_support)
  endif()
  # One label per binary: a list would lose its semicolons on the way into the
  # discovered tests and take the properties after it along.
  set(label core)
  if(ARG_LABELS)
    set(label ${ARG_LABELS})
  endif()
  if(TRELVIK_SANITIZE)
    # One process per binary: a sanitized process takes a tenth of a second to
    # start, which over a thousand cases doubled the run. GTEST_FILTER in the
    # environment picks cases.
    set(shards 1)
    if(ARG_SHARDS)
      set(shards ${ARG_SHARDS})
    endif()
    math(EXPR last_shard "${shards} - 1")
    foreach(shard RANGE ${last_shard})
      set(test_name ${name})
      if(shards GREATER 1)
        set(test_name ${name}_${shard})
      endif()
      add_test(NAME ${test_name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
      set_tests_properties(${test_name} PROPERTIES LABELS ${label} TIMEOUT 900
                           ENVIRONMENT "TRELVIK_BUILD_DIR=${CMAKE_BINARY_DIR};GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${shard}")
    endforeach()
  else()
    gtest_discover_tests(${name}
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES LABELS ${label} TIMEOUT 300
                 ENVIRONMENT "TRELVIK_BUILD_DIR=${CMAKE_BINARY_DIR}")
  endif()
endfunction()

# trelvik_benchmark(NAME SOURCES ... LIBS ...)
function(trelvik_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
endfunction()

# trelvik_fuzzer(NAME SOURCES ... LIBS ...): one fuzz target, its entry point
# LLVMFuzzerTestOneInput in SOURCES, its inputs in seeds/NAME/ beside the
# folder's CMakeLists.txt and its dictionary, if any, in NAME.dict. With
# TRELVIK_FUZZ (clang) NAME is the libFuzzer binary; otherwise NAME links the
# replay driver, which needs no clang. Either way the test NAME feeds every
# seed to the entry point once, so a target that stops building or a seed that
# once crashed fails the run. The target trelvik_fuzzers builds them all;
# fuzz/run-all.sh reads the list of targets that fuzz/CMakeLists.txt writes.
function(trelvik_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/seeds/${name})
  if(NOT IS_DIRECTORY ${seeds})
    message(FATAL_ERROR "fuzz target ${name} has no seed folder ${seeds}")
  endif()
  set(dict "")
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${name}.dict)
    set(dict ${CMAKE_CURRENT_SOURCE_DIR}/${name}.dict)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  if(TRELVIK_FUZZ)
    # The libraries carry the coverage instrumentation already (top-level
    # CMakeLists.txt); linking with "fuzzer" adds libFuzzer's main.
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_test(NAME ${name} COMMAND ${name} -runs=0 ${seeds})
  else()
    target_link_libraries(${name} PRIVATE trelvik_fuzz_replay)
    add_test(NAME ${name} COMMAND ${name} ${seeds})
  endif()
  add_dependencies(trelvik_fuzzers ${name})
  set_tests_properties(${name} PROPERTIES LABELS core TIMEOUT 300
                       ENVIRONMENT "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  set_property(GLOBAL APPEND PROPERTY TRELVIK_FUZZ_TARGETS "${name}\t$<TARGET_FILE:${name}>\t${seeds}\t${dict}")
endfunction()
