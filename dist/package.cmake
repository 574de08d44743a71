# SPDX-License-Identifier: MIT
# The installed documents and the desktop entry. Included from the top-level CMakeLists.txt once
# the install directories are known. The Debian package (debian/) is made of this install: the
# game, its manual page, desktop entry and metainfo in vendettix, the data set, icons and the
# README's pictures in vendettix-data; debhelper compresses the documents and writes the
# copyright file and the changelogs.

set(dist_out ${CMAKE_BINARY_DIR}/dist)

# the manual page names the folders this build installs to
configure_file(${CMAKE_SOURCE_DIR}/dist/vendettix.6 ${dist_out}/vendettix.6 @ONLY)
install(FILES ${dist_out}/vendettix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# the README's pictures (and any other file it links to) go beside it, at the same relative place,
# so the installed README has no dead links
file(READ ${CMAKE_SOURCE_DIR}/README.md readme)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/README.md)
string(REGEX MATCHALL "\\]\\([^):# ]+\\)" readme_links "${readme}")
string(REGEX REPLACE "\\]\\(([^)]*)\\)" "\\1" readme_links "${readme_links}")
list(REMOVE_DUPLICATES readme_links)
foreach(link IN LISTS readme_links)
  if(NOT EXISTS ${CMAKE_SOURCE_DIR}/${link})
    message(FATAL_ERROR "README.md links to ${link}, which is not in the source")
  endif()
  cmake_path(GET link PARENT_PATH link_dir)
  install(FILES ${CMAKE_SOURCE_DIR}/${link} DESTINATION ${CMAKE_INSTALL_DOCDIR}/${link_dir})
endforeach()
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(NOT VX_DEBIAN_PACKAGE)
  install(FILES dist/vendettix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
else()
  # /usr/games is on a user's PATH but not on root's nor on every launcher's; the licence is in
  # the package's copyright file
  file(READ ${CMAKE_SOURCE_DIR}/dist/vendettix.desktop desktop)
  string(REPLACE "\nExec=vendettix" "\nExec=${CMAKE_INSTALL_FULL_BINDIR}/vendettix" desktop "${desktop}")
  file(WRITE ${dist_out}/vendettix.desktop "${desktop}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/dist/vendettix.desktop)
  install(FILES ${dist_out}/vendettix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endif()
