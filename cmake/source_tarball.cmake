# SPDX-License-Identifier: MIT
# Makes NAME.tar.xz and its NAME.tar.xz.sha256 in the working directory: the files git tracks in
# SOURCE, under one top folder NAME/. Owner, modes, order and times are set here rather than taken
# from the disk, so the bytes are the same whoever packs them, with any umask, on any file system.
# Needs git, GNU tar and xz.
#   cmake -DSOURCE=DIR -DNAME=NAME -DEPOCH=SECONDS -P source_tarball.cmake
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(EPOCH "$ENV{SOURCE_DATE_EPOCH}")
endif()
execute_process(COMMAND git -C "${SOURCE}" ls-files -z OUTPUT_FILE "${NAME}.files" COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND tar --create --format=gnu --directory=${SOURCE} --null --files-from=${CMAKE_CURRENT_BINARY_DIR}/${NAME}.files
          --sort=name --owner=0 --group=0 --numeric-owner --mode=go-w,a+rX --mtime=@${EPOCH}
          --transform=s,^,${NAME}/, --file=-
  COMMAND xz -T1 --stdout
  OUTPUT_FILE "${NAME}.tar.xz" COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE "${NAME}.files")
file(SHA256 "${NAME}.tar.xz" sum)
file(WRITE "${NAME}.tar.xz.sha256" "${sum}  ${NAME}.tar.xz\n")
message(STATUS "${NAME}.tar.xz: ${sum}")
