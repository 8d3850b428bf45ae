# SPDX-License-Identifier: MIT
# The Debian package's own files: its changelog and its copyright file, and the move of the game to
# /usr/games when cpack stages it (deb_games.cmake).

set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries a dynamic game needs, as dpkg-shlibdeps finds them; a static game needs none.
set(CPACK_STICKQUEST_STATIC ${STICKQUEST_STATIC})
if(STICKQUEST_STATIC)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
else()
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
# cpack takes the architecture of the machine it runs on, where a cross build's is another.
if(CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/deb_games.cmake")

# Debian's changelog, in its own format, from CHANGELOG.md: "## VERSION - DATE" headings, "- " items.
file(STRINGS "${PROJECT_SOURCE_DIR}/CHANGELOG.md" changelog_lines)
set(debian_changelog "")
set(signature "")
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^## ([^ ]+) - ([0-9: -]+)$")
    string(APPEND debian_changelog "${signature}stickquest (${CMAKE_MATCH_1}) unstable; urgency=medium\n\n")
    stickquest_rfc2822_date("${CMAKE_MATCH_2}" date)
    set(signature "\n -- ${CPACK_PACKAGE_CONTACT}  ${date}\n\n")
  elseif(signature AND line MATCHES "^- (.*)")
    string(APPEND debian_changelog "  * ${CMAKE_MATCH_1}\n")
  elseif(signature AND line MATCHES "^  (.*)")
    string(APPEND debian_changelog "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
string(REGEX REPLACE "\n\n$" "\n" debian_changelog "${debian_changelog}${signature}")
file(WRITE "${PROJECT_BINARY_DIR}/debian/changelog" "${debian_changelog}")
stickquest_install_gzipped("${PROJECT_BINARY_DIR}/debian/changelog" "${CMAKE_INSTALL_DOCDIR}/changelog")

# The machine-readable copyright file, carrying LICENSE word for word.
file(STRINGS "${PROJECT_SOURCE_DIR}/LICENSE" licence_lines)
list(FILTER licence_lines EXCLUDE REGEX "^(MIT License|Copyright .*)$")
string(REGEX REPLACE "^;+" "" licence_lines "${licence_lines}")
list(TRANSFORM licence_lines PREPEND " ")
list(TRANSFORM licence_lines REPLACE "^ $" " .")
string(REPLACE ";" "\n" licence_text "${licence_lines}")
string(REGEX REPLACE "^Copyright (\\(c\\) )?" "" copyright "${STICKQUEST_COPYRIGHT}")
# A static game bundles what NOTICES.txt lists; the copyright file says where its terms are.
set(bundled "")
if(STICKQUEST_STATIC)
  set(bundled "Comment: The game is linked statically with musl libc, whose copyright and licence\n"
              " terms are in NOTICES.txt.gz beside this file.\n")
  stickquest_install_gzipped("${PROJECT_BINARY_DIR}/NOTICES.txt" "${CMAKE_INSTALL_DOCDIR}/NOTICES.txt")
endif()
file(WRITE "${PROJECT_BINARY_DIR}/debian/copyright"
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: stickquest\n" ${bundled} "\n"
  "Files: *\n"
  "Copyright: ${copyright}\n"
  "License: Expat\n"
  "${licence_text}\n")
install(FILES "${PROJECT_BINARY_DIR}/debian/copyright" DESTINATION "${CMAKE_INSTALL_DOCDIR}")
