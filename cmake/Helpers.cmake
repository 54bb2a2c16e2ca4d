# Adds every immediate subfolder of DIR that has a CMakeLists.txt, so that a new
# module needs no edit of a shared list.
function(vra_add_subdirs dir)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}/${dir}
       ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*)
  list(SORT children)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
    return()
  endif()
  foreach(child ${children})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/${child}/CMakeLists.txt)
      add_subdirectory(${dir}/${child})
    endif()
  endforeach()
endfunction()

# vra_core_library(NAME [DEPS ...]): a Qt-free library of every .cpp in the
# calling folder, named core_NAME, with src/core on the include path.
function(vra_core_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(core_${name} STATIC ${sources})
  else()
    add_library(core_${name} INTERFACE)
  endif()
  get_target_property(kind core_${name} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(core_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(core_${name} INTERFACE ${ARG_DEPS} fmt::fmt)
  else()
    target_include_directories(core_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(core_${name} PUBLIC ${ARG_DEPS} fmt::fmt)
  endif()
endfunction()

# vra_test(NAME SOURCES... LIBS ...): one GoogleTest program registered with CTest.
function(vra_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(VRA_FUZZ)
    # Built beside the fuzzers, the libraries are optimised and instrumented
    # for them; the tests' own code runs for seconds and compiles in half
    # the time without either.
    target_compile_options(${name} PRIVATE -O0 -fno-sanitize=fuzzer-no-link)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# vra_fuzz_target(NAME SOURCES... LIBS ...): SOURCES define LLVMFuzzerTestOneInput.
# Always builds NAME_corpus, which runs the entry over every file of
# fuzz/corpus/NAME as a CTest test; with VRA_FUZZ also builds the libFuzzer binary.
function(vra_fuzz_target name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  # CI fuzzes each target with the input size fuzz/max_len.txt gives it.
  file(STRINGS ${PROJECT_SOURCE_DIR}/fuzz/max_len.txt max_len REGEX "^${name}[ \t]")
  if(NOT max_len)
    message(FATAL_ERROR "fuzz/max_len.txt gives no max_len for the fuzz target ${name}")
  endif()
  add_executable(${name}_corpus ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/CorpusMain.cpp)
  target_link_libraries(${name}_corpus PRIVATE ${ARG_LIBS})
  add_test(NAME fuzz_corpus.${name}
           COMMAND ${name}_corpus ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
  if(VRA_FUZZ)
    add_executable(${name}_fuzzer ${ARG_SOURCES})
    target_compile_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name}_fuzzer PRIVATE ${ARG_LIBS} -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY VRA_FUZZERS ${name})
  endif()
endfunction()

# vra_bench(NAME SOURCES... LIBS ...): a Google Benchmark program.
function(vra_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
endfunction()
