# SPDX-License-Identifier: MIT
# Run by cpack once the files are staged: in a Debian package the game goes in /usr/games, where
# Debian keeps games, while a plain install keeps the GNU layout. A static game tells lintian why it
# has no dependencies.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
  if(EXISTS "${usr}/bin/stickquest")
    file(MAKE_DIRECTORY "${usr}/games")
    file(RENAME "${usr}/bin/stickquest" "${usr}/games/stickquest")
    set(entry "${usr}/share/applications/stickquest.desktop")
    file(READ "${entry}" text)
    string(REGEX REPLACE "\nExec=[^\n]*" "\nExec=${CPACK_PACKAGING_INSTALL_PREFIX}/games/stickquest" text "${text}")
    file(WRITE "${entry}" "${text}")
    file(GLOB others "${usr}/bin/*")
    if(NOT others)
      file(REMOVE_RECURSE "${usr}/bin")
    endif()
  endif()
  if(CPACK_STICKQUEST_STATIC)
    # lintian takes a static-pie program, which has no interpreter, for a library without its own.
    set(overrides "${usr}/share/lintian/overrides/stickquest")
    file(WRITE "${overrides}" "# Linked static-pie on purpose: one package for any release of Debian.\n"
               "stickquest: shared-library-lacks-prerequisites [usr/games/stickquest]\n")
    file(CHMOD "${overrides}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endif()
