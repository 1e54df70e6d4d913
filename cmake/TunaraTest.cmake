# tunara_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [TIMEOUT <s>])
#
# One place that registers a GoogleTest binary with ctest: every test runs
# headless, in its own folder of the build tree, with its own HOME and
# settings, data, cache, state and temporary folders (below <folder>/home),
# so no test sees another's files or writes into the developer's own.
# The binary sets those itself before main() (tests/test_home.cpp), so it
# stays in its folder when run by hand too; ctest passes the same values.
function(tunara_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(work ${CMAKE_BINARY_DIR}/test-home/${name})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/test_home.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE TUNARA_TEST_HOME_DIR="${work}")
  file(MAKE_DIRECTORY ${work})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${work})
  set(home ${work}/home)
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_CACHE_HOME=${home}/cache;XDG_STATE_HOME=${home}/state;TMPDIR=${home}/tmp;TUNARA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()
