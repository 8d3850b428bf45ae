# SPDX-License-Identifier: MIT
# Removes what an install recorded in RECORD: its files, then the folders it made, deepest first,
# where they are empty. A file that someone else put beside them stays, and so does its folder.
#   cmake -DRECORD=FILE -P uninstall_record.cmake
if(NOT EXISTS "${RECORD}")
  message(FATAL_ERROR "Nothing to uninstall: ${RECORD} does not exist (run cmake --install first).")
endif()
file(STRINGS "${RECORD}" paths)
set(folders)
foreach(path IN LISTS paths)
  if(IS_DIRECTORY "${path}")
    list(APPEND folders "${path}")
  elseif(EXISTS "${path}" OR IS_SYMLINK "${path}")
    message(STATUS "Removing ${path}")
    file(REMOVE "${path}")
  endif()
endforeach()
list(SORT folders ORDER DESCENDING)  # a folder sorts after its parent, so it goes first
foreach(folder IN LISTS folders)
  file(GLOB left LIST_DIRECTORIES true "${folder}/*")  # hidden files too
  if(NOT left)
    message(STATUS "Removing ${folder}/")
    file(REMOVE_RECURSE "${folder}")  # empty, as just seen
  endif()
endforeach()
file(REMOVE "${RECORD}")
