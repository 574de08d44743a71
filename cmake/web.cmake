# SPDX-License-Identifier: MIT
# The game in a web page (emcmake cmake; `make web`). What the desktop takes from the system is
# built here for WebAssembly:
# - GL 1.x, GLU and GLUT over WebGL and the page: vx_platform_webgl (platform_webgl/);
# - SQLite, the score table's store: the amalgamation that the npm package better-sqlite3 ships
#   (scripts/web-deps pins it; installed into the build's npm/ folder at configure time);
# - the settings file's INI syntax: app/web/ini, a reader of our own with the system library's
#   interface and behaviour (no source of the library is to be had from the package archives).
# The game's data set and the bitmap fonts' glyphs come from a native build, VX_HOST_BUILD.
set(VX_HOST_BUILD "" CACHE PATH "the native build whose data set (run/) the page packages")
if(NOT VX_HOST_BUILD OR NOT EXISTS "${VX_HOST_BUILD}/run/vendettix.manifest")
  message(FATAL_ERROR "the page packages the native build's data set: configure with "
    "-DVX_HOST_BUILD=<native build dir> after building its target assets (make web does both)")
endif()

add_subdirectory(platform_webgl)
set(VX_DISPLAY_LIBRARIES vx_platform_webgl)

# SQLite from npm, by the lock file's exact version
set(vx_npm ${CMAKE_BINARY_DIR}/npm)
set(vx_sqlite_dir ${vx_npm}/node_modules/better-sqlite3/deps/sqlite3)
set(vx_lock ${CMAKE_SOURCE_DIR}/scripts/web-deps/package-lock.json)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${vx_lock})
# again whenever the lock file changes
file(SHA256 ${vx_lock} vx_lock_hash)
set(vx_installed "")
if(EXISTS ${vx_npm}/installed-lock.sha256)
  file(READ ${vx_npm}/installed-lock.sha256 vx_installed)
endif()
if(NOT EXISTS ${vx_sqlite_dir}/sqlite3.c OR NOT vx_installed STREQUAL vx_lock_hash)
  file(COPY ${CMAKE_SOURCE_DIR}/scripts/web-deps/package.json ${vx_lock} DESTINATION ${vx_npm})
  message(STATUS "Installing SQLite's source from npm into ${vx_npm}")
  # its install scripts would build a native module: only the source is wanted
  execute_process(COMMAND npm ci --ignore-scripts --no-audit --no-fund --loglevel=error
    WORKING_DIRECTORY ${vx_npm} RESULT_VARIABLE vx_npm_result)
  if(NOT vx_npm_result EQUAL 0 OR NOT EXISTS ${vx_sqlite_dir}/sqlite3.c)
    message(FATAL_ERROR "npm ci in ${vx_npm} did not give ${vx_sqlite_dir}/sqlite3.c")
  endif()
  file(WRITE ${vx_npm}/installed-lock.sha256 ${vx_lock_hash})
endif()

add_library(vx_sqlite3 STATIC ${vx_sqlite_dir}/sqlite3.c)
target_include_directories(vx_sqlite3 SYSTEM PUBLIC ${vx_sqlite_dir})
# one thread, no loadable extensions; its own warnings are not ours to mend
target_compile_definitions(vx_sqlite3 PRIVATE SQLITE_THREADSAFE=0 SQLITE_OMIT_LOAD_EXTENSION
  SQLITE_DEFAULT_MEMSTATUS=0 SQLITE_OMIT_DEPRECATED)
target_compile_options(vx_sqlite3 PRIVATE -w)
set(VX_SQLITE vx_sqlite3)

add_library(vx_inih STATIC ${CMAKE_SOURCE_DIR}/app/web/ini/ini.cpp)
target_include_directories(vx_inih PUBLIC ${CMAKE_SOURCE_DIR}/app/web/ini)
set(VX_INIH vx_inih)

# the data set where the game's search looks last, "the installed data"
set(VX_WEB_DATADIR /usr/share/vendettix)

# The page's files in <build>/www: index.html, the page's script, and the game as emcc makes it
# (vendettix.js, .wasm, and .data with the data set).
function(vx_web_page target)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/app/data_directory.cpp PROPERTIES
    COMPILE_DEFINITIONS "VX_DATA_FROM_BINDIR=\"../share/vendettix\";VX_INSTALLED_DATADIR=\"${VX_WEB_DATADIR}\"")
  set(www ${CMAKE_BINARY_DIR}/www)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${www} SUFFIX .js)
  target_link_options(${target} PRIVATE
    -sENVIRONMENT=web
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
    # exit() runs the game's atexit handlers and flushes its streams; the page (Module.quit)
    # stops the frames and says the game ended
    -sEXIT_RUNTIME=1
    -sMAX_WEBGL_VERSION=1 -sMIN_WEBGL_VERSION=1
    -sFORCE_FILESYSTEM=1 -lidbfs.js
    "-sEXPORTED_RUNTIME_METHODS=[FS,addRunDependency,removeRunDependency]"
    # what the page reads of the game (app/page_web.cpp), which nothing in the game calls
    "-sEXPORTED_FUNCTIONS=[_main,_vx_step_count]"
    --preload-file "${VX_HOST_BUILD}/run@${VX_WEB_DATADIR}"
    # the desktop's window icon is no use to a page
    --exclude-file "*.pam")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${VX_HOST_BUILD}/run/vendettix.manifest)
  set(page_files index.html page.js page.css)
  set(page_sources ${page_files})
  list(TRANSFORM page_sources PREPEND ${CMAKE_SOURCE_DIR}/app/web/)
  list(TRANSFORM page_files PREPEND ${www}/)
  add_custom_command(OUTPUT ${page_files}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${www}
    COMMAND ${CMAKE_COMMAND} -E copy ${page_sources} ${www}
    DEPENDS ${page_sources}
    COMMENT "The page's files in ${www}")
  add_custom_target(${target}-page DEPENDS ${page_files})
  add_dependencies(${target} ${target}-page)
endfunction()
