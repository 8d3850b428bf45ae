# SPDX-License-Identifier: MIT
# The game for a web page and for node: one JavaScript file with the WebAssembly inside (a page
# opened from disk may not fetch a .wasm beside it), made by a factory, createStickquest, that
# starts a fresh game each time it is called. ASYNCIFY lets the game's blocking reads wait for the
# host's promise.
set(before "${PROJECT_SOURCE_DIR}/web/instantiate.js")
set(after "${PROJECT_SOURCE_DIR}/web/exit.js")
target_link_options(stickquest PRIVATE -sASYNCIFY -sEXIT_RUNTIME=1 -sSINGLE_FILE=1 -sMODULARIZE=1
  -sEXPORT_NAME=createStickquest -sENVIRONMENT=web,node -sMALLOC=emmalloc "--pre-js=${before}" "--post-js=${after}")
set_property(TARGET stickquest APPEND PROPERTY LINK_DEPENDS "${before}" "${after}")
set(STICKQUEST_SITE_DIR "${PROJECT_BINARY_DIR}/site" CACHE PATH "Where the game's JavaScript goes")
set_target_properties(stickquest PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${STICKQUEST_SITE_DIR}")
