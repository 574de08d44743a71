# SPDX-License-Identifier: MIT
# The window toolkit over the page, part of vx_platform_webgl. Its bitmap fonts' glyphs are the
# native build's glut_fonts.cpp (vendettix-glyphs), which includes glut_font.h from here.
target_sources(vx_platform_webgl PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/glut_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glut_input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glut_menu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glut_font.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glut_shapes.cpp)
target_include_directories(vx_platform_webgl PRIVATE ${CMAKE_CURRENT_LIST_DIR})
# the toolchain's JavaScript libraries come only when named (WebGL's here): a GLUT call this
# library lacks fails the link rather than being taken from one of them
target_link_options(vx_platform_webgl INTERFACE -sAUTO_JS_LIBRARIES=0 -lGL)

if(BUILD_TESTING)
  include(${PROJECT_SOURCE_DIR}/tests/webgl/glut_cases.cmake)
endif()
