# SPDX-License-Identifier: MIT
# Makes NAME.tar.xz and its NAME.tar.xz.sha256 in the working directory, with one top folder NAME/:
# either the files git tracks in SOURCE (the source release), or the files FILES names, side by
# side (a game's release). Owner, modes, order and times are set here rather than taken from the
# disk, so the bytes are the same whoever packs them, with any umask, on any file system.
# Needs GNU tar and xz, and git for SOURCE.
#   cmake -DNAME=NAME -DEPOCH=SECONDS (-DSOURCE=DIR | "-DFILES=FILE;...") -P tarball.cmake
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(EPOCH "$ENV{SOURCE_DATE_EPOCH}")
endif()
set(list "${CMAKE_CURRENT_BINARY_DIR}/${NAME}.files")
if(SOURCE)
  execute_process(COMMAND git -C "${SOURCE}" ls-files -z OUTPUT_FILE "${list}" COMMAND_ERROR_IS_FATAL ANY)
  set(null --null)
else()
  # Copied into one folder first, since they come from the build and the source alike.
  set(staged "${CMAKE_CURRENT_BINARY_DIR}/${NAME}.staged")
  set(SOURCE "${staged}")
  file(REMOVE_RECURSE "${SOURCE}")
  file(COPY ${FILES} DESTINATION "${SOURCE}")
  set(names "")
  foreach(file IN LISTS FILES)
    get_filename_component(name "${file}" NAME)
    string(APPEND names "${name}\n")
  endforeach()
  file(WRITE "${list}" "${names}")
endif()
execute_process(
  COMMAND tar --create --format=gnu --directory=${SOURCE} ${null} --files-from=${list}
          --sort=name --owner=0 --group=0 --numeric-owner --mode=go-w,a+rX --mtime=@${EPOCH}
          --transform=s,^,${NAME}/, --file=-
  COMMAND xz -T1 --stdout
  OUTPUT_FILE "${NAME}.tar.xz" COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE "${list}")
if(staged)
  file(REMOVE_RECURSE "${staged}")
endif()
file(SHA256 "${NAME}.tar.xz" sum)
file(WRITE "${NAME}.tar.xz.sha256" "${sum}  ${NAME}.tar.xz\n")
message(STATUS "${NAME}.tar.xz: ${sum}")
