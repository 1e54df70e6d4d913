# tunara_add_test(<name> SOURCES <files...> LIBS <targets...> [WIDGETS | OWN_MAIN] [LABELS <labels...>] [TIMEOUT <s>])
#
# One place that registers a GoogleTest binary with ctest: every test runs
# headless, in its own folder of the build tree, with its own HOME and
# settings, data, cache and state folders (below <folder>/home), so no test
# sees another's files or writes into the developer's own; the binary sets
# those itself before main() (tests/test_home.cpp), so it stays in its folder
# when run by hand too, and ctest passes the same values. Temporary files go
# to a folder of the run's own (on memory where there is one). The tests run
# in an order shuffled anew at every run (the seed is printed), and a test
# fails when it leaves process-wide state changed. WIDGETS gives the binary a
# QApplication; OWN_MAIN says the sources bring a main of their own, which
# still guards the process state (tests/support/process_state.h).
function(tunara_add_test name)
  cmake_parse_arguments(T "WIDGETS;OWN_MAIN" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set(work ${CMAKE_BINARY_DIR}/test-home/${name})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/test_home.cpp)
  if(T_WIDGETS)
    set(main tunara_widgets_test_main)
  elseif(T_OWN_MAIN)
    set(main tunara_test_guard)
  else()
    set(main tunara_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${main} GTest::gtest)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE TUNARA_TEST_HOME_DIR="${work}")
  file(MAKE_DIRECTORY ${work})
  add_test(NAME ${name} COMMAND ${name} --gtest_shuffle WORKING_DIRECTORY ${work})
  set(home ${work}/home)
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_CACHE_HOME=${home}/cache;XDG_STATE_HOME=${home}/state;TUNARA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()
