# tintwave_add_test(<name> SOURCES <files...> LIBS <targets...>)
# Builds a Qt Test executable and registers it with CTest. Every test runs on the
# offscreen platform with its own temporary HOME and XDG folders, so no test can
# touch the user's real settings or need a display.
function(tintwave_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  tintwave_target_defaults(${name})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set(sandbox ${CMAKE_BINARY_DIR}/test-home/${name})
  file(MAKE_DIRECTORY ${sandbox}/config ${sandbox}/runtime)
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 300
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${sandbox};XDG_CONFIG_HOME=${sandbox}/config;XDG_RUNTIME_DIR=${sandbox}/runtime")
endfunction()
