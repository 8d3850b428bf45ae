# SPDX-License-Identifier: MIT
# Makes NAME.zip and its NAME.zip.sha256 in the working directory: the files of SITE in one folder
# NAME/, so that unpacking it and opening index.html plays. Order, modes and times are set here
# rather than taken from the disk, so the bytes are the same whoever packs them, with any umask, in
# any time zone: every time is the release date's, or SOURCE_DATE_EPOCH's.
#   cmake -DSITE=DIR -DNAME=NAME -DEPOCH=SECONDS -P site_zip.cmake
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} "${EPOCH}")
endif()
string(TIMESTAMP time "%Y-%m-%d %H:%M:%S UTC" UTC)  # SOURCE_DATE_EPOCH's, not the clock's
set(ENV{TZ} UTC0)  # zip stores local times
file(REMOVE_RECURSE "${NAME}" "${NAME}.zip")
file(MAKE_DIRECTORY "${NAME}")
file(GLOB files RELATIVE "${SITE}" "${SITE}/*")
list(SORT files)
foreach(file IN LISTS files)
  file(COPY_FILE "${SITE}/${file}" "${NAME}/${file}")
  file(CHMOD "${NAME}/${file}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
list(TRANSFORM files PREPEND "${NAME}/")
file(ARCHIVE_CREATE OUTPUT "${NAME}.zip" PATHS ${files} FORMAT zip MTIME "${time}")
file(REMOVE_RECURSE "${NAME}")
file(SHA256 "${NAME}.zip" sum)
file(WRITE "${NAME}.zip.sha256" "${sum}  ${NAME}.zip\n")
