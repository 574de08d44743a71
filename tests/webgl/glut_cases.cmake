# SPDX-License-Identifier: MIT
# The window toolkit's cases, as a page: build-web/tests/webgl/glut_cases.html ends with the line
# "glut cases: N passed, M failed" and the title "glut cases: done".
add_executable(glut_cases ${CMAKE_CURRENT_LIST_DIR}/glut_cases.cpp)
target_link_libraries(glut_cases PRIVATE vx_platform_webgl)
target_include_directories(glut_cases PRIVATE ${PROJECT_SOURCE_DIR}/platform_webgl)
set_target_properties(glut_cases PROPERTIES SUFFIX ".js"
  RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests/webgl)
target_link_options(glut_cases PRIVATE -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1
  -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web)
configure_file(${CMAKE_CURRENT_LIST_DIR}/glut_cases.html ${PROJECT_BINARY_DIR}/tests/webgl/glut_cases.html COPYONLY)
