# The Windows programs: snipkit.exe and, for the end-to-end tests, the
# stand-in IDE editor and the driver.
enable_language(RC)

set(SNIPKIT_WIN_DEFS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(SNIPKIT_WIN_LINK -municode -static -static-libgcc -static-libstdc++)
foreach(lib snipkit_rules snipkit_flows snipkit_ui_portable)
  target_compile_definitions(${lib} PRIVATE ${SNIPKIT_WIN_DEFS})
endforeach()

file(GLOB SNIPKIT_SHELL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/*_win.cpp)
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in ${PROJECT_BINARY_DIR}/generated/version.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/src/toolbar/snipkit.manifest.in ${PROJECT_BINARY_DIR}/generated/snipkit.manifest @ONLY)
add_executable(snipkit WIN32 ${SNIPKIT_SHELL_SOURCES} ${PROJECT_SOURCE_DIR}/src/toolbar/snipkit.rc)
target_include_directories(snipkit PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)
target_compile_definitions(snipkit PRIVATE ${SNIPKIT_WIN_DEFS})
target_link_options(snipkit PRIVATE ${SNIPKIT_WIN_LINK} -mwindows $<$<CONFIG:Release,MinSizeRel>:-s>)
target_link_libraries(snipkit PRIVATE snipkit_flows snipkit_ui_portable user32 gdi32 comctl32 shell32)
set_target_properties(snipkit PROPERTIES OUTPUT_NAME snipkit)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # On 64-bit Windows the 32-bit release may then use 4 GB, not 2.
  target_link_options(snipkit PRIVATE -Wl,--large-address-aware)
endif()
# windres must see the generated version header and the manifest.
set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/toolbar/snipkit.rc APPEND PROPERTY
  INCLUDE_DIRECTORIES ${PROJECT_BINARY_DIR}/generated)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/toolbar/snipkit.rc APPEND PROPERTY
  OBJECT_DEPENDS ${PROJECT_BINARY_DIR}/generated/snipkit.manifest ${PROJECT_BINARY_DIR}/generated/version.h)
# The help page lives beside the program, where Help looks for it.
add_custom_command(TARGET snipkit POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/src/about/snipkit.htm $<TARGET_FILE_DIR:snipkit>/snipkit.htm)

if(EXISTS ${PROJECT_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()

# snipkit-text.exe, the text rules as a command-line filter.
add_subdirectory(tools)
