# SPDX-License-Identifier: MIT
# What a distribution needs beside the game: the manual page, the menu entry, the packages, the
# source release, a static game's own tarball and the checksums, all made from the one copy of each
# fact in the repository. The release date comes from release_date.cmake, the Debian package's own
# files from debian.cmake, and the release target that makes every release file from release.cmake.

include(cmake/release_date.cmake)
configure_file(docs/stickquest.6.in stickquest.6 @ONLY)

# The source release: the files git tracks, packed the same way by anyone, anywhere, at any time.
add_custom_target(dist
  COMMAND "${CMAKE_COMMAND}" -DSOURCE=${PROJECT_SOURCE_DIR} -DNAME=stickquest-${PROJECT_VERSION}
          -DEPOCH=${STICKQUEST_RELEASE_EPOCH} -P "${PROJECT_SOURCE_DIR}/cmake/tarball.cmake"
  WORKING_DIRECTORY "${PROJECT_BINARY_DIR}" VERBATIM)
# cpack --config CPackSourceConfig.cmake, for those who reach for it: one archive, without the
# repository or the build trees inside the source (the patterns meet absolute paths, so they are
# anchored there). The release tarball is dist's.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "^${PROJECT_SOURCE_DIR}/([.]git|out|build[^/]*)/" "^${PROJECT_BINARY_DIR}/")

set(CPACK_PACKAGE_NAME stickquest)
set(CPACK_PACKAGE_VENDOR "The stickquest authors")
set(CPACK_PACKAGE_CONTACT "stickquest maintainers <maintainers@stickquest.invalid>")
set(CPACK_PACKAGE_DESCRIPTION "A stick-figure hero stands in a landscape of sun, clouds and land drawn in
characters. Left, an enemy attacks and a fixed seven-strike fight earns
experience; right stands the enemy castle, whose visits nest as deep as the
player likes. Every answer is one character and Enter.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
# Timestamps from the release date, so that two builds of one release give the same package.
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/cpack_project.cmake")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

include(cmake/notices.cmake)

if(WIN32)
  # Plain text with CR LF line ends, which Notepad opens: a short README in place of the Markdown,
  # and the licence.
  function(stickquest_crlf source destination)
    file(READ ${source} content)
    string(REPLACE "\n" "\r\n" content "${content}")
    file(WRITE "${PROJECT_BINARY_DIR}/${destination}" "${content}")
  endfunction()
  stickquest_crlf(docs/README-windows.txt README.txt)
  stickquest_crlf(LICENSE LICENSE.txt)
  stickquest_notices("${PROJECT_BINARY_DIR}/NOTICES.txt" Windows mingw-w64)
  install(FILES "${PROJECT_BINARY_DIR}/README.txt" "${PROJECT_BINARY_DIR}/LICENSE.txt" "${PROJECT_BINARY_DIR}/NOTICES.txt"
          DESTINATION .)
  stickquest_install_record()
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

# A static game bundles musl.
if(STICKQUEST_STATIC)
  stickquest_notices("${PROJECT_BINARY_DIR}/NOTICES.txt" "Linux on ${CMAKE_SYSTEM_PROCESSOR}" musl)
endif()
include(cmake/debian.cmake)
stickquest_install_record()

# A static game for any Linux of its processor, to unpack and play where it lies: the stripped game
# beside its manual page, the README, the licence, the notices of musl and the changelog, in one
# folder. The Debian package of such a build carries the notices too.
if(STICKQUEST_STATIC)
  set(name stickquest-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(stripped "${PROJECT_BINARY_DIR}/stripped/stickquest")
  add_custom_command(OUTPUT "${stripped}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${PROJECT_BINARY_DIR}/stripped"
    COMMAND "${CMAKE_STRIP}" -o "${stripped}" "$<TARGET_FILE:stickquest>"
    DEPENDS stickquest VERBATIM)
  # A README of its own, whose commands work where the tarball is unpacked.
  configure_file(docs/README-linux.md.in linux/README.md @ONLY)
  set(files "${stripped}" "${PROJECT_BINARY_DIR}/stickquest.6" "${PROJECT_BINARY_DIR}/NOTICES.txt"
            "${PROJECT_BINARY_DIR}/linux/README.md" LICENSE CHANGELOG.md)
  list(TRANSFORM files PREPEND "${PROJECT_SOURCE_DIR}/" REGEX "^[^/]")
  list(JOIN files "$<SEMICOLON>" file_list)
  add_custom_command(OUTPUT "${name}.tar.xz" "${name}.tar.xz.sha256"
    COMMAND "${CMAKE_COMMAND}" -DNAME=${name} -DEPOCH=${STICKQUEST_RELEASE_EPOCH} "-DFILES=${file_list}"
            -P "${PROJECT_SOURCE_DIR}/cmake/tarball.cmake"
    DEPENDS ${files} "${PROJECT_SOURCE_DIR}/cmake/tarball.cmake" VERBATIM)
  add_custom_target(linux_tarball ALL DEPENDS "${name}.tar.xz")
endif()

include(CPack)
