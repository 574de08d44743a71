# SPDX-License-Identifier: MIT
# The installed documents, and the Debian package that `cpack -G DEB` makes of a build configured
# with -DVX_DEBIAN_PACKAGE=ON (make package). Included from the top-level CMakeLists.txt once the
# install directories are known.

set(VX_MAINTAINER "The Vendettix developers <developers@vendettix.org>")
set(dist_out ${CMAKE_BINARY_DIR}/dist)

# the manual page names the folders this build installs to
configure_file(${CMAKE_SOURCE_DIR}/dist/vendettix.6 ${dist_out}/vendettix.6 @ONLY)

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
  install(FILES ${dist_out}/vendettix.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
else()
  # Debian's form: the licence in a machine-readable copyright file (Expat is the MIT licence's
  # name there), the manual page and the changelog compressed without a name or a time in them
  file(READ ${CMAKE_SOURCE_DIR}/LICENSE licence)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" found "${licence}")
  set(VX_COPYRIGHT ${CMAKE_MATCH_1})
  string(FIND "${licence}" "Permission is hereby granted" start)
  if(NOT VX_COPYRIGHT OR start LESS 0)
    message(FATAL_ERROR "LICENSE is no longer the MIT licence the copyright file describes")
  endif()
  string(SUBSTRING "${licence}" ${start} -1 licence)
  string(STRIP "${licence}" licence)
  string(REGEX REPLACE "\n[ \t]*\n" "\n.\n" licence "${licence}")
  string(REPLACE "\n" "\n " VX_LICENCE_TEXT " ${licence}")
  configure_file(${CMAKE_SOURCE_DIR}/dist/copyright.in ${dist_out}/copyright @ONLY)

  # /usr/games is on a user's PATH but not on root's nor on every launcher's
  file(READ ${CMAKE_SOURCE_DIR}/dist/vendettix.desktop desktop)
  string(REPLACE "\nExec=vendettix" "\nExec=${CMAKE_INSTALL_FULL_BINDIR}/vendettix" desktop "${desktop}")
  file(WRITE ${dist_out}/vendettix.desktop "${desktop}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/dist/vendettix.desktop)
  install(FILES ${dist_out}/vendettix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

  find_program(GZIP_PROGRAM gzip REQUIRED)
  set(compressed)
  foreach(page IN ITEMS ${dist_out}/vendettix.6 ${CMAKE_SOURCE_DIR}/dist/changelog)
    cmake_path(GET page FILENAME name)
    add_custom_command(OUTPUT ${dist_out}/gz/${name}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dist_out}/gz
      COMMAND ${CMAKE_COMMAND} -E copy ${page} ${dist_out}/gz/${name}
      COMMAND ${GZIP_PROGRAM} -9nf ${dist_out}/gz/${name}
      DEPENDS ${page} VERBATIM)
    list(APPEND compressed ${dist_out}/gz/${name}.gz)
  endforeach()
  add_custom_target(compressed_docs ALL DEPENDS ${compressed})
  install(FILES ${dist_out}/gz/vendettix.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  install(FILES ${dist_out}/copyright ${dist_out}/gz/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

  # cpack's strip leaves the compilers' version notes, which a Debian binary goes without
  add_custom_command(TARGET vendettix POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment --remove-section=.note $<TARGET_FILE:vendettix>
    VERBATIM)
endif()

# cpack -G DEB: the package's name, its maintainer and what it needs. Depends: what the binary
# links (dpkg-shlibdeps, GLU among them), freeglut's libGL and the GLX vendor library the GL
# dispatch loads at run time; Mesa's drivers are only recommended, a machine may have its own
set(CPACK_PACKAGE_NAME vendettix)
set(CPACK_PACKAGE_VENDOR "The Vendettix developers")
set(CPACK_PACKAGE_CONTACT ${VX_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION [=[
A small single-player first-person 3D game. It is night; you stand in the
yard of a house and throw toilet-paper rolls and eggs at it. A thrown roll
trails a strip of paper, simulated as a cloth of particles and springs, that
drapes over the house where it strikes; an egg leaves a splat on a wall, and
an egg that strikes one of the plants earns bonus points.

There are four levels, each played from one side of the house with 10 rolls,
10 eggs and 30 seconds. The owner walks round the house; while she is on your
side the windows light up, and you can step aside behind cover.

Every model, texture and sound is generated from the game's own source.]=])
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libglx-mesa0 | libglx-vendor")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libgl1-mesa-dri)
set(CPACK_STRIP_FILES ON)
configure_file(${CMAKE_SOURCE_DIR}/dist/cpack-project.cmake.in ${dist_out}/cpack-project.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${dist_out}/cpack-project.cmake)
include(CPack)
