# The portable sources in their libraries, listed once for every build that
# compiles them (the main builds and the fuzz build).
#   SNIPKIT_RULES_SOURCES  the text rules: pure functions over bytes, with no
#                          include outside this list (checked by the layer test)
#   SNIPKIT_FLOWS_SOURCES  the editor bridge and the command flows, on the rules
#   SNIPKIT_UI_PORTABLE_SOURCES  what the window framework keeps portable
get_filename_component(SNIPKIT_SRC "${CMAKE_CURRENT_LIST_DIR}/../src" ABSOLUTE)

set(SNIPKIT_RULES_SOURCES
  ${SNIPKIT_SRC}/format/case_rules.cpp
  ${SNIPKIT_SRC}/format/comment_rules.cpp
  ${SNIPKIT_SRC}/format/indent_rules.cpp
  ${SNIPKIT_SRC}/format/line_list.cpp
  ${SNIPKIT_SRC}/stash/snippet_format.cpp
  ${SNIPKIT_SRC}/templates/template_text.cpp)

set(SNIPKIT_UI_PORTABLE_SOURCES ${SNIPKIT_SRC}/ui/pixmap.cpp)

# (CONFIGURE_DEPENDS only where a build reads this file, not in a script.)
if(CMAKE_SCRIPT_MODE_FILE)
  set(snipkit_glob_mode)
else()
  set(snipkit_glob_mode CONFIGURE_DEPENDS)
endif()
file(GLOB SNIPKIT_FLOWS_SOURCES ${snipkit_glob_mode}
  ${SNIPKIT_SRC}/bridge/*.cpp ${SNIPKIT_SRC}/format/*.cpp ${SNIPKIT_SRC}/templates/*.cpp
  ${SNIPKIT_SRC}/stash/*.cpp ${SNIPKIT_SRC}/about/*.cpp ${SNIPKIT_SRC}/toolbar/*.cpp)
list(FILTER SNIPKIT_FLOWS_SOURCES EXCLUDE REGEX "_win\\.cpp$")
list(REMOVE_ITEM SNIPKIT_FLOWS_SOURCES ${SNIPKIT_RULES_SOURCES})
