# welvane_layer(NAME DEPS...) builds every source of the current folder and
# its subfolders into the static library welvane_NAME that links only the
# layers given.
function(welvane_layer name)
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB _qrc CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(welvane_${name} STATIC ${_srcs} ${_qrc})
  target_include_directories(welvane_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(welvane_${name} PUBLIC ${ARGN})
endfunction()

# welvane_test(NAME LIBS...) builds every *.cpp of the current test folder into
# one GoogleTest binary, run by CTest off screen with a pinned locale and zone.
function(welvane_test name)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _srcs)
    return()
  endif()
  add_executable(test_${name} ${_srcs})
  target_link_libraries(test_${name} PRIVATE welvane_testmain ${ARGN})
  add_test(NAME ${name} COMMAND test_${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=UTC;LC_ALL=C.UTF-8;LANG=C.UTF-8;XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/test-config;XDG_CACHE_HOME=${PROJECT_BINARY_DIR}/test-cache"
    TIMEOUT 600)
endfunction()
