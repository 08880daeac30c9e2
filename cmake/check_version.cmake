# The version test (cmake -P): the version stated once in CMakeLists.txt
# (VERSION, SUFFIX) is the one the built program carries in its manifest and
# its version resource, the one its About text is compiled from (HEADER, the
# generated version header), and the one the About box's layout expects
# (LAYOUT), which the end-to-end test compares with the About box on screen.
# EXE is the built snipkit.exe.
cmake_minimum_required(VERSION 3.22)
foreach(var VERSION SUFFIX EXE HEADER LAYOUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_version.cmake needs -D${var}=...")
  endif()
endforeach()
if(NOT EXISTS ${EXE})
  message(FATAL_ERROR "no program at ${EXE}; build it first")
endif()

string(REPLACE "." ";" parts ${VERSION})
list(GET parts 0 major)
list(GET parts 1 minor)
set(text "Version ${VERSION} ${SUFFIX}")

# Every byte of the program as two hex digits, so that a search cannot match
# across a byte boundary when it looks at even offsets only.
file(READ ${EXE} exe HEX)
function(hex_of string out)
  string(HEX "${string}" h)
  set(${out} ${h} PARENT_SCOPE)
endfunction()
function(utf16_hex_of string out)
  string(HEX "${string}" h)
  string(REGEX REPLACE "(..)" "\\100" h "${h}")
  set(${out} ${h} PARENT_SCOPE)
endfunction()
function(expect_in_exe what hex)
  string(FIND "${exe}" "${hex}" at)
  # An odd offset would be a match that straddles two bytes.
  math(EXPR odd "${at} % 2")
  if(at EQUAL -1 OR odd)
    message(SEND_ERROR "${EXE}: ${what} not found")
  endif()
endfunction()

# The compiler may build a short string from immediate values, so the About
# text is looked for in the header it is compiled from.
file(STRINGS ${HEADER} about REGEX "^#define SNIPKIT_VERSION_TEXT ")
if(NOT about STREQUAL "#define SNIPKIT_VERSION_TEXT \"${text}\"")
  message(SEND_ERROR "${HEADER}: the About text is '${about}', not \"${text}\"")
endif()
hex_of("version=\"${major}.${minor}.0.0\"" manifest)
expect_in_exe("the manifest's version=\"${major}.${minor}.0.0\"" "${manifest}")
# VS_FIXEDFILEINFO: its signature and structure version, then the file
# version major.minor as one little-endian word each.
math(EXPR ms "(${major} << 16) | ${minor}" OUTPUT_FORMAT HEXADECIMAL)
string(REGEX REPLACE "^0x" "" ms "${ms}")
string(LENGTH "${ms}" n)
math(EXPR pad "8 - ${n}")
string(REPEAT "0" ${pad} zeros)
set(ms "${zeros}${ms}")
string(REGEX REPLACE "^(..)(..)(..)(..)$" "\\4\\3\\2\\1" ms_le "${ms}")
string(TOLOWER "${ms_le}" ms_le)
expect_in_exe("the version resource's file version ${major}.${minor}" "bd04effe00000100${ms_le}00000000${ms_le}00000000")
utf16_hex_of("${VERSION}" version16)
expect_in_exe("the version resource's text '${VERSION}'" "${version16}0000")

file(READ ${LAYOUT} layout)
string(FIND "${layout}" "\"${text}\"" at)
if(at EQUAL -1)
  message(SEND_ERROR "${LAYOUT}: the About box's layout does not show \"${text}\"")
endif()
