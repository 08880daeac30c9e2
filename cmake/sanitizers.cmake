# Native CTest registration of the programs of the two sanitizer builds the
# Makefile makes beside this one:
#   build/asan  the unit tests under ASan and UBSan   -> tests asan.<program>
#   build/fuzz  the libFuzzer targets (clang)          -> tests fuzz.<target>
# Each fuzz test replays the target's seed corpus and then fuzzes for
# SNIPKIT_FUZZ_SECONDS; it fails only on a finding, never on time.
set(SNIPKIT_ASAN_BUILD_DIR "" CACHE PATH "Sanitizer build folder of the unit tests (cmake -C cmake/asan-cache.cmake)")
set(SNIPKIT_FUZZ_BUILD_DIR "" CACHE PATH "Build folder of fuzz/ configured with clang++")
set(SNIPKIT_FUZZ_SECONDS 3 CACHE STRING "Seconds of random fuzzing per target in each fuzz.* test")

set(SNIPKIT_SANITIZER_ENV
  "ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

if(SNIPKIT_ASAN_BUILD_DIR)
  add_test(NAME asan.unit_tests COMMAND ${SNIPKIT_ASAN_BUILD_DIR}/tests/unit/snipkit_unit_tests --gtest_brief=1)
  add_test(NAME asan.snipkit_text_tests
    COMMAND ${SNIPKIT_ASAN_BUILD_DIR}/tools/snipkit-text/snipkit_text_tests --gtest_brief=1)
  set_tests_properties(asan.unit_tests asan.snipkit_text_tests PROPERTIES
    ENVIRONMENT "${SNIPKIT_SANITIZER_ENV}" TIMEOUT 300)
endif()

if(SNIPKIT_FUZZ_BUILD_DIR)
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(source IN LISTS fuzz_sources)
    get_filename_component(target ${source} NAME_WE)
    string(REGEX REPLACE "_fuzz$" "" target ${target})
    # New inputs go to a work folder here, never into the committed seeds.
    set(work ${PROJECT_BINARY_DIR}/fuzz/work/${target})
    file(MAKE_DIRECTORY ${work})
    add_test(NAME fuzz.${target}
      COMMAND ${SNIPKIT_FUZZ_BUILD_DIR}/${target}_fuzz
        -max_total_time=${SNIPKIT_FUZZ_SECONDS} -timeout=20 -print_final_stats=1
        -artifact_prefix=${PROJECT_BINARY_DIR}/fuzz/${target}-
        ${work} ${PROJECT_SOURCE_DIR}/fuzz/corpus/${target})
    set_tests_properties(fuzz.${target} PROPERTIES
      ENVIRONMENT "${SNIPKIT_SANITIZER_ENV}" TIMEOUT 120)
  endforeach()
endif()
