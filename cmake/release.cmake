# SPDX-License-Identifier: MIT
# Every release file, with its .sha256, made by one command into BUILD/release:
#   cmake --build BUILD --target release
# The source tarball comes from this build. Each of the others comes from a build of its own in
# BUILD/builds, set up for it whatever this build's own settings are: the Debian package for amd64
# (linked as Debian links its programs), the static games for x86-64 and for aarch64 (whose build
# also makes the arm64 package), the Windows zip and the web page's zip. The release is made on an
# x86-64 Linux machine with the tools that tests/tools.txt lists for it.
include(ExternalProject)

# A build of this source in BUILD/builds/NAME with the cache settings given, which makes what its
# build makes by default and then the packages of the cpack generators given.
function(stickquest_release_build name)
  cmake_parse_arguments(PARSE_ARGV 1 build "" "" "SETTINGS;CPACK")
  set(pack "")
  foreach(generator IN LISTS build_CPACK)
    # A Debian package's ar archive takes its members' modes from the files that cpack writes.
    list(APPEND pack COMMAND sh -c "umask 022 && exec '${CMAKE_CPACK_COMMAND}' -G ${generator}")
  endforeach()
  ExternalProject_Add(release_${name}
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${PROJECT_BINARY_DIR}/builds/${name}"
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release "-DSTICKQUEST_WARNINGS_AS_ERRORS=${STICKQUEST_WARNINGS_AS_ERRORS}"
               ${build_SETTINGS}
    BUILD_COMMAND "${CMAKE_COMMAND}" --build <BINARY_DIR> ${pack}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    EXCLUDE_FROM_ALL ON)
endfunction()

set(aarch64 -DSTICKQUEST_STATIC=ON "-DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/aarch64-linux-gnu.cmake")
stickquest_release_build(linux-aarch64 SETTINGS ${aarch64} CPACK DEB)
# The static game that a test build plays in place of its own (STICKQUEST_LINUX_GAME) is the one
# that the tarball holds.
set(linux_game "${PROJECT_BINARY_DIR}/builds/linux-${STICKQUEST_LINUX_GAME}")
set(STICKQUEST_LINUX_GAME_FILE "${linux_game}/stripped/stickquest")
set(STICKQUEST_LINUX_TARBALL "${linux_game}/stickquest-${PROJECT_VERSION}-linux-${STICKQUEST_LINUX_GAME}.tar.xz")
if(NOT CMAKE_HOST_SYSTEM_PROCESSOR STREQUAL "x86_64")
  return()
endif()
stickquest_release_build(amd64 CPACK DEB)
stickquest_release_build(linux-x86_64 SETTINGS -DSTICKQUEST_STATIC=ON)
stickquest_release_build(windows SETTINGS "-DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64.cmake" CPACK ZIP)
stickquest_release_build(web SETTINGS -DSTICKQUEST_WEB=ON -DSTICKQUEST_PAGE_ONLY=ON)

set(version ${PROJECT_VERSION})
set(files stickquest-${version}.tar.xz
          builds/amd64/stickquest_${version}_amd64.deb
          builds/linux-aarch64/stickquest_${version}_arm64.deb
          builds/linux-x86_64/stickquest-${version}-linux-x86_64.tar.xz
          builds/linux-aarch64/stickquest-${version}-linux-aarch64.tar.xz
          builds/windows/stickquest-${version}-win64.zip
          builds/web/stickquest-${version}-web.zip)
set(checksums ${files})
list(TRANSFORM checksums APPEND .sha256)
add_custom_target(release
  COMMAND "${CMAKE_COMMAND}" -E rm -rf release
  COMMAND "${CMAKE_COMMAND}" -E make_directory release
  COMMAND "${CMAKE_COMMAND}" -E copy ${files} ${checksums} release
  COMMAND "${CMAKE_COMMAND}" -E echo "The release files are in ${PROJECT_BINARY_DIR}/release."
  WORKING_DIRECTORY "${PROJECT_BINARY_DIR}" VERBATIM)
add_dependencies(release dist release_amd64 release_linux-x86_64 release_linux-aarch64 release_windows release_web)
