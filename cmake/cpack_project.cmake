# SPDX-License-Identifier: MIT
# Read by cpack when it packs. Every timestamp in a package comes from SOURCE_DATE_EPOCH: a packager
# may set it, and otherwise it is the release date from CHANGELOG.md, wherever the source lies. Zip
# stores local times, so the clock's zone is UTC while packing.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} "${CPACK_STICKQUEST_RELEASE_EPOCH}")
endif()
set(ENV{TZ} UTC0)
