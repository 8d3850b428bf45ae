# SPDX-License-Identifier: MIT
# The release date, from CHANGELOG.md, and the times made from it: STICKQUEST_RELEASE_DATE for the
# manual page, STICKQUEST_RELEASE_EPOCH for every timestamp, stickquest_rfc2822_date for Debian.

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
# Every timestamp in a package or the source release is the release date's, unless a packager sets
# SOURCE_DATE_EPOCH: never the clock, nor whichever git repository happens to surround the tree.
stickquest_epoch("${release_time}" STICKQUEST_RELEASE_EPOCH)
set(CPACK_STICKQUEST_RELEASE_EPOCH ${STICKQUEST_RELEASE_EPOCH})
