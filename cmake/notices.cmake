# SPDX-License-Identifier: MIT
# NOTICES.txt for a release file: what it bundles beside the game, which is the project's own under
# LICENSE, and for each such part where its source is and its licence, word for word as its makers or
# its Debian packagers give it. The parts: the C library of the static Linux games, the runtime of
# the Windows game, and the page's terminal and the runtime that emscripten compiles into the web
# game. Included, this file gives the rule that writes such a file at build time:
#   stickquest_notices(OUTPUT "Linux on x86_64" musl ...)
# which runs this file as a script:
#   cmake -DOUTPUT=FILE -DRELEASE="stickquest 1.4.0 for Windows" "-DBUNDLES=musl;..." [-DMODULES=DIR]
#         [-DCRLF=ON] -P notices.cmake
# where CRLF gives Windows line ends, and MODULES is where npm put xterm.js.
if(NOT CMAKE_SCRIPT_MODE_FILE)
  function(stickquest_notices output system)
    get_filename_component(directory "${output}" DIRECTORY)
    add_custom_command(OUTPUT "${output}"
      COMMAND "${CMAKE_COMMAND}" -E make_directory "${directory}"
      COMMAND "${CMAKE_COMMAND}" "-DOUTPUT=${output}" "-DRELEASE=stickquest ${PROJECT_VERSION} for ${system}"
              "-DBUNDLES=${ARGN}" "-DMODULES=${PROJECT_BINARY_DIR}/node_modules" "-DCRLF=${WIN32}"
              -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
      DEPENDS "${CMAKE_CURRENT_FUNCTION_LIST_FILE}" "${PROJECT_SOURCE_DIR}/docs/notices/emscripten.txt" VERBATIM)
    string(MAKE_C_IDENTIFIER "notices ${system}" target)
    add_custom_target(${target} ALL DEPENDS "${output}")
  endfunction()
  return()
endif()

set(musl "musl libc, the C library linked into the game")
set(musl_source "https://musl.libc.org/ (Debian's source package musl)")
set(musl_texts /usr/share/doc/musl-dev/copyright)
set(mingw-w64 "the mingw-w64 runtime, linked into stickquest.exe")
set(mingw-w64_source "https://www.mingw-w64.org/ (Debian's source package mingw-w64)")
set(mingw-w64_texts /usr/share/doc/mingw-w64-x86-64-dev/copyright)
set(xterm.js "xterm.js, the page's terminal (xterm.js and xterm.css)")
set(xterm.js_source "https://github.com/xtermjs/xterm.js")
set(xterm.js_texts "${MODULES}/@xterm/xterm/LICENSE")
set(emscripten "emscripten's runtime and its C library, from musl, compiled into stickquest.js")
set(emscripten_source "https://github.com/emscripten-core/emscripten (Debian's source package emscripten)")
set(emscripten_texts "${CMAKE_CURRENT_LIST_DIR}/../docs/notices/emscripten.txt"
                     /usr/share/emscripten/system/lib/libc/musl/COPYRIGHT)

set(rule "========================================================================")
set(list "")
set(texts "")
foreach(part IN LISTS BUNDLES)
  string(APPEND list "- ${${part}}\n")
  string(APPEND texts "\n${rule}\n${${part}}\nSource: ${${part}_source}\n${rule}\n")
  foreach(file IN LISTS ${part}_texts)
    if(NOT EXISTS "${file}")
      message(FATAL_ERROR "${file}, the licence of ${${part}}, is missing")
    endif()
    file(READ "${file}" text)
    string(APPEND texts "\n${text}")
  endforeach()
endforeach()
set(notices "This is ${RELEASE}. The game is copyright The stickquest authors, under the
MIT licence beside this file. With it comes the work of others, under their own terms:

${list}${texts}")
if(CRLF)
  string(REPLACE "\n" "\r\n" notices "${notices}")
endif()
file(WRITE "${OUTPUT}" "${notices}")
