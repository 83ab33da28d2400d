include(GoogleTest)

# vexilon_add_test(<name> SOURCES <files...> LIBS <targets...> [XVFB] [DBUS]
#                  [ORDINARY_USER] [LABELS <labels...>])
#
# Widget tests run on Qt's offscreen platform. XVFB tests need a real X server
# (screenshots, global key grabs) and are started inside xvfb-run instead.
# DBUS tests get a private session bus of their own (dbus-run-session), on
# which they play the desktop's services. ORDINARY_USER tests check what
# permissions refuse, and run as an unprivileged uid when the suite runs as
# root.
function(vexilon_add_test name)
  cmake_parse_arguments(T "XVFB;DBUS;ORDINARY_USER" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE vexilon_options GTest::gtest GTest::gtest_main ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  if(T_XVFB)
    add_test(NAME ${name}
      COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${name}>
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "xvfb;${T_LABELS}"
      ENVIRONMENT "QT_QPA_PLATFORM=xcb")
  elseif(T_ORDINARY_USER)
    add_test(NAME ${name}
      COMMAND ${PROJECT_SOURCE_DIR}/tests/support/as_ordinary_user.sh $<TARGET_FILE:${name}>
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
      LABELS "ordinary-user;${T_LABELS}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  elseif(T_DBUS)
    add_test(NAME ${name}
      COMMAND dbus-run-session -- $<TARGET_FILE:${name}>
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "dbus;${T_LABELS}"
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  else()
    # An empty LABELS value would swallow the next property name, so labels
    # are passed only when there are some.
    set(_props TIMEOUT ${T_TIMEOUT} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    if(T_LABELS)
      list(APPEND _props LABELS "${T_LABELS}")
    endif()
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      PROPERTIES ${_props})
  endif()
endfunction()
