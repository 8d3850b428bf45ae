# SPDX-License-Identifier: MIT
# `cmake --build BUILD --target uninstall` removes what the last `cmake --install BUILD` put down,
# and the folders that it made and left empty, and nothing else. install_manifest.txt cannot serve:
# cpack installs into its own staging folder and writes that file anew. So every install writes its
# own record, stickquest-installed.txt, unless cpack runs it, with the files installed and the
# folders that did not exist before. Include this before the first install rule, and call
# stickquest_install_record() after the last.
set(STICKQUEST_INSTALL_RECORD "${PROJECT_BINARY_DIR}/stickquest-installed.txt")
set(install_folders "${STICKQUEST_INSTALL_BINDIR}" "${CMAKE_INSTALL_MANDIR}/man6" "${CMAKE_INSTALL_DOCDIR}"
    "${CMAKE_INSTALL_DATADIR}/applications" "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install(CODE "
  set(stickquest_made_folders)
  if(NOT \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\" MATCHES \"/_CPack_Packages/\")
    foreach(folder ${install_folders})
      while(NOT folder STREQUAL \".\" AND NOT folder STREQUAL \"\")
        if(NOT IS_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${folder}\")
          list(APPEND stickquest_made_folders \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${folder}\")
        endif()
        get_filename_component(folder \"\${folder}\" DIRECTORY)
      endwhile()
    endforeach()
  endif()")

function(stickquest_install_record)
  install(CODE "
    if(NOT \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\" MATCHES \"/_CPack_Packages/\")
      list(REMOVE_DUPLICATES stickquest_made_folders)
      string(REPLACE \";\" \"\\n\" files \"\${CMAKE_INSTALL_MANIFEST_FILES}\")
      string(REPLACE \";\" \"\\n\" folders \"\${stickquest_made_folders}\")
      file(WRITE \"${STICKQUEST_INSTALL_RECORD}\" \"\${files}\\n\${folders}\\n\")
    endif()")
endfunction()

add_custom_target(uninstall
  COMMAND "${CMAKE_COMMAND}" "-DRECORD=${STICKQUEST_INSTALL_RECORD}" -P "${PROJECT_SOURCE_DIR}/cmake/uninstall_record.cmake"
  VERBATIM)
