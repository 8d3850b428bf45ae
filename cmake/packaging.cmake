# SPDX-License-Identifier: MIT
# What a distribution needs beside the game: the manual page, the menu entry, the Debian package
# with its changelog and copyright file, the source release and the checksums, all made from the
# one copy of each fact in the repository.

# A release is dated YYYY-MM-DD, with HH:MM (UTC) after it where one day saw two releases, whose
# Debian changelog entries must still differ. Seconds since 1970 by the days-from-civil count (the
# year taken to begin in March, so that the leap day comes last).
function(stickquest_epoch iso_date out)
  string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)( ([0-9]+):([0-9]+))?$" parts "${iso_date}")
  set(time_of_day 0)
  if(CMAKE_MATCH_4)
    math(EXPR time_of_day "${CMAKE_MATCH_5} * 3600 + ${CMAKE_MATCH_6} * 60")
  endif()
  set(year ${CMAKE_MATCH_1})
  if(CMAKE_MATCH_2 LESS_EQUAL 2)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR day_of_year "(153 * ((${CMAKE_MATCH_2} + 9) % 12) + 2) / 5 + ${CMAKE_MATCH_3} - 1")
  math(EXPR days "${year} * 365 + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${day_of_year} - 719468")
  math(EXPR seconds "${days} * 86400 + ${time_of_day}")
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

# The release date stands once, in CHANGELOG.md, under the heading of this version.
file(STRINGS "${PROJECT_SOURCE_DIR}/CHANGELOG.md" release_heading REGEX "^## ${PROJECT_VERSION} - ")
if(NOT release_heading MATCHES " - (([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])( [0-9][0-9]:[0-9][0-9])?)$")
  message(FATAL_ERROR "CHANGELOG.md has no heading '## ${PROJECT_VERSION} - YYYY-MM-DD'")
endif()
set(release_time "${CMAKE_MATCH_1}")
set(STICKQUEST_RELEASE_DATE "${CMAKE_MATCH_2}")
configure_file(docs/stickquest.6.in stickquest.6 @ONLY)
# Every timestamp in a package or the source release is the release date's, unless a packager sets
# SOURCE_DATE_EPOCH: never the clock, nor whichever git repository happens to surround the tree.
stickquest_epoch("${release_time}" STICKQUEST_RELEASE_EPOCH)
set(CPACK_STICKQUEST_RELEASE_EPOCH ${STICKQUEST_RELEASE_EPOCH})

# The source release: the files git tracks, packed the same way by anyone, anywhere, at any time.
add_custom_target(dist
  COMMAND "${CMAKE_COMMAND}" -DSOURCE=${PROJECT_SOURCE_DIR} -DNAME=stickquest-${PROJECT_VERSION}
          -DEPOCH=${STICKQUEST_RELEASE_EPOCH} -P "${PROJECT_SOURCE_DIR}/cmake/source_tarball.cmake"
  WORKING_DIRECTORY "${PROJECT_BINARY_DIR}" VERBATIM)
# cpack --config CPackSourceConfig.cmake, for those who reach for it: one archive, without the
# repository or the build trees inside the source (the patterns meet absolute paths, so they are
# anchored there). The release tarball is dist's.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "^${PROJECT_SOURCE_DIR}/(\\.git|out|build[^/]*)/" "^${PROJECT_BINARY_DIR}/")

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
set(CPACK_PACKAGE_CHECKSUM SHA256)
# Debian keeps games in /usr/games; a plain install keeps the GNU layout.
set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/deb_games.cmake")
# Timestamps from the release date, so that two builds of one release give the same package.
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
stickquest_install_gzipped("${PROJECT_SOURCE_DIR}/README.md" "${CMAKE_INSTALL_DOCDIR}/README.md")

# The menu entry, which opens the game in a terminal, and its icon. The entry names the game by its
# full path, written when it is installed (the Debian package's move to /usr/games writes it again),
# since a desktop's PATH may lack the folder it is in.
install(CODE "set(STICKQUEST_EXEC \"\${CMAKE_INSTALL_PREFIX}/${STICKQUEST_INSTALL_BINDIR}/stickquest\")
  configure_file(\"${PROJECT_SOURCE_DIR}/docs/stickquest.desktop.in\" \"${PROJECT_BINARY_DIR}/stickquest.desktop\" @ONLY)")
install(FILES "${PROJECT_BINARY_DIR}/stickquest.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES docs/stickquest.svg DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

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
file(WRITE "${PROJECT_BINARY_DIR}/debian/copyright"
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: stickquest\n\n"
  "Files: *\n"
  "Copyright: 2026 The stickquest authors\n"
  "License: Expat\n"
  "${licence_text}\n")
install(FILES "${PROJECT_BINARY_DIR}/debian/copyright" DESTINATION "${CMAKE_INSTALL_DOCDIR}")

include(CPack)
