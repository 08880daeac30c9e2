# Every test that runs Wine does so with stand-ins for `wine`, `wineserver`
# and `wineboot` first on PATH (tests/e2e/bare-wine): a script that calls one
# of them by its bare name fails on every machine, whatever it has installed,
# and the check after the tests reports the call even when the caller hid
# its output and status.
set(SNIPKIT_BARE_WINE_DIR ${PROJECT_SOURCE_DIR}/tests/e2e/bare-wine)
set(SNIPKIT_BARE_WINE_LOG ${CMAKE_BINARY_DIR}/bare-wine-calls.log)

add_test(NAME wine_guard.reset COMMAND ${CMAKE_COMMAND} -E rm -f ${SNIPKIT_BARE_WINE_LOG})
add_test(NAME wine_guard.no_bare_calls
  COMMAND ${CMAKE_COMMAND} -DLOG=${SNIPKIT_BARE_WINE_LOG} -P ${PROJECT_SOURCE_DIR}/cmake/wine_guard_check.cmake)
set_tests_properties(wine_guard.reset PROPERTIES FIXTURES_SETUP wine_guard)
set_tests_properties(wine_guard.no_bare_calls PROPERTIES FIXTURES_CLEANUP wine_guard)

function(snipkit_guard_wine_test test)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT SNIPKIT_BARE_WINE_LOG=${SNIPKIT_BARE_WINE_LOG})
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT_MODIFICATION PATH=path_list_prepend:${SNIPKIT_BARE_WINE_DIR})
  set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED wine_guard)
endfunction()
