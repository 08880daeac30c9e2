# Registers one CTest test per scenario group of the end-to-end driver, named
# e2e.<group>. Each runs run_e2e.sh against the Windows build in
# SNIPKIT_WIN_BUILD_DIR under Wine on a private X display. The groups are read
# from the E2E_SCENARIO lines of the driver's sources, so a new group shows up
# here by itself. The "demo" group is tools/run.sh's, not a test.
find_program(SNIPKIT_BASH bash REQUIRED)

file(GLOB _e2e_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/driver/*.cpp)
set(_e2e_groups)
foreach(_src IN LISTS _e2e_sources)
  file(STRINGS ${_src} _lines REGEX "^E2E_SCENARIO\\(\"[a-z0-9_]+\"")
  foreach(_line IN LISTS _lines)
    string(REGEX REPLACE "^E2E_SCENARIO\\(\"([a-z0-9_]+)\".*" "\\1" _group "${_line}")
    list(APPEND _e2e_groups ${_group})
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_src})
endforeach()
list(REMOVE_DUPLICATES _e2e_groups)
list(REMOVE_ITEM _e2e_groups demo)

# Two programs saving into one stash folder at once: no scenario, no display,
# only Wine and the file system, in the prefix snipkit_text.wine makes (the lock keeps the two apart).
add_test(NAME wine_files.two_savers_one_stash
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/../../tools/wine.sh wine64 ${SNIPKIT_WIN_BUILD_DIR}/tests/e2e/stash_race.exe)
set_tests_properties(wine_files.two_savers_one_stash PROPERTIES
  ENVIRONMENT "WINEDEBUG=-all;WINEPREFIX=${CMAKE_BINARY_DIR}/tools/snipkit-text/wineprefix"
  RESOURCE_LOCK snipkit_e2e
  TIMEOUT 300)
snipkit_guard_wine_test(wine_files.two_savers_one_stash)

foreach(_group IN LISTS _e2e_groups)
  add_test(NAME e2e.${_group}
    COMMAND ${SNIPKIT_BASH} ${CMAKE_CURRENT_LIST_DIR}/run_e2e.sh ${SNIPKIT_WIN_BUILD_DIR} ${_group})
  set_tests_properties(e2e.${_group} PROPERTIES
    ENVIRONMENT "SNIPKIT_E2E_STATE=${CMAKE_BINARY_DIR}/e2e"
    # One display-and-Wine session at a time: the scenarios share the prefix
    # and watch the foreground window.
    RESOURCE_LOCK snipkit_e2e
    # The first run also makes the Wine prefix; a loaded machine is slow.
    TIMEOUT 600
    LABELS e2e)
  snipkit_guard_wine_test(e2e.${_group})
endforeach()
