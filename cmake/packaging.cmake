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

# Debian's changelog, in its own format, from CHANGELOG.md: "## VERSION - DATE" headings, "- " items.
function(stickquest_rfc2822_date iso_date out)
  string(REPLACE "-" ";" parts "${iso_date}")
  list(GET parts 0 year)
  list(GET parts 1 month)
  list(GET parts 2 day)
  math(EXPR month "${month}")  # no leading zero
  math(EXPR day "${day}")
  # The weekday by Sakamoto's method, 0 for Sunday.
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR month_index "${month} - 1")
  list(GET offsets ${month_index} offset)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${year} - 1")
  endif()
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} weekday_name)
  list(GET months ${month_index} month_name)
  if(day LESS 10)
    set(day "0${day}")
  endif()
  set(${out} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

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
