# The native Linux build: unit tests of the core, command-line tools, and the
# registration of the end-to-end tests that run the Windows build under Wine.
enable_testing()

# Directory of the Windows x86-64 build whose programs the end-to-end tests run.
set(SNIPKIT_WIN_BUILD_DIR "" CACHE PATH "Windows x86-64 build folder for the end-to-end tests")
include(cmake/wine_guard.cmake)

if(EXISTS ${PROJECT_SOURCE_DIR}/tests/unit/CMakeLists.txt)
  add_subdirectory(tests/unit)
endif()
if(EXISTS ${PROJECT_SOURCE_DIR}/tools/CMakeLists.txt)
  add_subdirectory(tools)
endif()

if(SNIPKIT_WIN_BUILD_DIR AND EXISTS ${PROJECT_SOURCE_DIR}/tests/e2e/register.cmake)
  include(${PROJECT_SOURCE_DIR}/tests/e2e/register.cmake)
endif()

# The layers of src/ as the includes show them (see the script).
add_test(NAME layers COMMAND ${CMAKE_COMMAND} -P ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake)

# One version, stated in CMakeLists.txt, in everything the program shows (see the script).
if(SNIPKIT_WIN_BUILD_DIR)
  add_test(NAME version COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DSUFFIX=${SNIPKIT_VERSION_SUFFIX}
    -DEXE=${SNIPKIT_WIN_BUILD_DIR}/snipkit.exe -DHEADER=${SNIPKIT_WIN_BUILD_DIR}/generated/version.h
    -DLAYOUT=${PROJECT_SOURCE_DIR}/tests/e2e/layouts/TfrmAbout.txt
    -P ${PROJECT_SOURCE_DIR}/cmake/check_version.cmake)
endif()
