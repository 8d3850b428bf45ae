# SPDX-License-Identifier: MIT
# What a distribution needs beside the game: the manual page, and the Debian package with its
# changelog and copyright file, all made from the one copy of each fact in the repository.

# The release date stands once, in CHANGELOG.md, under the heading of this version.
file(STRINGS "${PROJECT_SOURCE_DIR}/CHANGELOG.md" release_heading REGEX "^## ${PROJECT_VERSION} - ")
string(REGEX MATCH "[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]$" STICKQUEST_RELEASE_DATE "${release_heading}")
if(NOT STICKQUEST_RELEASE_DATE)
  message(FATAL_ERROR "CHANGELOG.md has no heading '## ${PROJECT_VERSION} - YYYY-MM-DD'")
endif()
configure_file(docs/stickquest.6.in stickquest.6 @ONLY)

set(CPACK_PACKAGE_NAME stickquest)
set(CPACK_PACKAGE_VENDOR "The stickquest authors")
set(CPACK_PACKAGE_CONTACT "stickquest maintainers <maintainers@stickquest.invalid>")
set(CPACK_PACKAGE_DESCRIPTION "A stick-figure hero stands in a landscape of sun, clouds and land drawn in
characters. Left, an enemy attacks and a fixed seven-strike fight earns
experience; right stands the enemy castle, whose visits nest as deep as the
player likes. Every answer is one character and Enter.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# Debian keeps games in /usr/games; a plain install keeps the GNU layout.
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/deb_games.cmake")
# Timestamps from the last commit, so that two builds of one commit give the same package.
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/cpack_project.cmake")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
if(WIN32)
  install(FILES README.md LICENSE DESTINATION .)
  include(CPack)
  return()
endif()

find_program(GZIP_PROGRAM gzip REQUIRED)
function(stickquest_install_gzipped source destination)
  get_filename_component(name "${destination}" NAME)
  set(gzipped "${PROJECT_BINARY_DIR}/${name}.gz")
  add_custom_command(OUTPUT "${gzipped}"
    COMMAND "${GZIP_PROGRAM}" -9 -n -c "${source}" > "${gzipped}"
    DEPENDS "${source}" VERBATIM)
  add_custom_target(${name}_gz ALL DEPENDS "${gzipped}")
  get_filename_component(directory "${destination}" DIRECTORY)
  install(FILES "${gzipped}" DESTINATION "${directory}")
endfunction()
stickquest_install_gzipped("${PROJECT_BINARY_DIR}/stickquest.6" "${CMAKE_INSTALL_MANDIR}/man6/stickquest.6")

# The seconds since 1970 at the start of a YYYY-MM-DD day (UTC), by the days-from-civil count
# (the year taken to begin in March, so that the leap day comes last).
function(stickquest_epoch iso_date out)
  string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" parts "${iso_date}")
  set(year ${CMAKE_MATCH_1})
  if(CMAKE_MATCH_2 LESS_EQUAL 2)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR day_of_year "(153 * ((${CMAKE_MATCH_2} + 9) % 12) + 2) / 5 + ${CMAKE_MATCH_3} - 1")
  math(EXPR days "${year} * 365 + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${day_of_year} - 719468")
  math(EXPR seconds "${days} * 86400")
  set(${out} ${seconds} PARENT_SCOPE)
endfunction()

# CMake formats only the time that SOURCE_DATE_EPOCH gives (or the clock), so lend it the date's.
function(stickquest_rfc2822_date iso_date out)
  stickquest_epoch("${iso_date}" seconds)
  set(saved "$ENV{SOURCE_DATE_EPOCH}")
  set(ENV{SOURCE_DATE_EPOCH} ${seconds})
  string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  if(saved STREQUAL "")
    unset(ENV{SOURCE_DATE_EPOCH})
  else()
    set(ENV{SOURCE_DATE_EPOCH} "${saved}")
  endif()
  set(${out} "${date}" PARENT_SCOPE)
endfunction()

# Debian's changelog, in its own format, from CHANGELOG.md: "## VERSION - DATE" headings, "- " items.
file(STRINGS "${PROJECT_SOURCE_DIR}/CHANGELOG.md" changelog_lines)
set(debian_changelog "")
set(signature "")
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^## ([^ ]+) - ([0-9-]+)$")
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
file(WRITE "${PROJECT_BINARY_DIR}/debian/copyright"
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: stickquest\n\n"
  "Files: *\n"
  "Copyright: 2026 The stickquest authors\n"
  "License: Expat\n"
  "${licence_text}\n")
install(FILES "${PROJECT_BINARY_DIR}/debian/copyright" DESTINATION "${CMAKE_INSTALL_DOCDIR}")

include(CPack)
