include(GoogleTest)

# welvane_warnings(TARGET) turns on the project's warnings for one target,
# as errors when WELVANE_WERROR is on (CI), so third-party code built in the
# same tree is not held to them.
function(welvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
    $<$<BOOL:${WELVANE_WERROR}>:-Werror>)
endfunction()

# welvane_layer(NAME DEPS...) builds every source of the current folder and
# its subfolders into the static library welvane_NAME that links only the
# layers given.
function(welvane_layer name)
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  file(GLOB _qrc CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  add_library(welvane_${name} STATIC ${_srcs} ${_qrc})
  target_include_directories(welvane_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(welvane_${name} PUBLIC ${ARGN})
  welvane_warnings(welvane_${name})
endfunction()

# welvane_test(NAME LIBS...) builds every *.cpp of the current test folder into
# one GoogleTest binary. CTest gets one entry per test ("NAME.Suite.Test"), run
# off screen with a pinned locale and zone; the test main gives each test its
# own XDG_CONFIG_HOME and XDG_CACHE_HOME, so `ctest -j` is safe. Suites whose
# name ends in "Timing" measure time: they run alone (RUN_SERIAL), and only in
# optimized builds without sanitizers.
function(welvane_test name)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT _srcs)
    return()
  endif()
  add_executable(test_${name} ${_srcs})
  target_link_libraries(test_${name} PRIVATE welvane_testmain ${ARGN})
  welvane_warnings(test_${name})
  set(_env "QT_QPA_PLATFORM=offscreen;TZ=UTC;LC_ALL=C.UTF-8;LANG=C.UTF-8")
  gtest_discover_tests(test_${name}
    TEST_PREFIX "${name}."
    TEST_FILTER "-*Timing.*"
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 300)
  # A sanitizer or debug build is too slow for their limits: left out there.
  if(NOT WELVANE_SANITIZE AND NOT WELVANE_TSAN AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    gtest_discover_tests(test_${name}
      TEST_PREFIX "${name}."
      TEST_FILTER "*Timing.*"
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 300 RUN_SERIAL TRUE)
  endif()
endfunction()
