# tunara_add_test(<name> SOURCES <files...> LIBS <targets...> [WIDGETS] [LABELS <labels...>] [TIMEOUT <s>])
#
# One place that registers a GoogleTest binary with ctest: every test runs
# headless, with its own temporary HOME and settings folder so no test sees
# another's files or the developer's own settings, in an order shuffled anew
# at every run (the seed is printed), and fails when it leaves process-wide
# state changed. WIDGETS gives the binary a QApplication.
function(tunara_add_test name)
  cmake_parse_arguments(T "WIDGETS" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_WIDGETS)
    set(main tunara_widgets_test_main)
  else()
    set(main tunara_test_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${main} GTest::gtest)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set(work ${CMAKE_BINARY_DIR}/test-home/${name})
  file(MAKE_DIRECTORY ${work})
  add_test(NAME ${name} COMMAND ${name} --gtest_shuffle WORKING_DIRECTORY ${work})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${work};XDG_CONFIG_HOME=${work}/config;TUNARA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()
