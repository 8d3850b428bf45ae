# SPDX-License-Identifier: MIT
# Read by cpack when it packs. Every timestamp in a package comes from SOURCE_DATE_EPOCH; a packager
# may set it, and otherwise the last commit's time makes two builds of one commit byte-identical.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${CMAKE_CURRENT_LIST_DIR}/.." log -1 --format=%ct
    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(NOT failed AND commit_time)
    set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
  endif()
endif()
