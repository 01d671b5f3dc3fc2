# corvane_add_test(NAME name SOURCES ... LIBS ... [QT])
# Test executables live in build/tests, away from the program folder.
# QT marks tests that need a Qt platform: they run with QT_QPA_PLATFORM=offscreen.
set(CORVANE_TEST_ALSA_CONFIG ${CMAKE_CURRENT_LIST_DIR}/../tests/audio/alsa-null.conf)

function(corvane_add_test)
  cmake_parse_arguments(T "QT" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_definitions(${T_NAME} PRIVATE
    CORVANE_BIN_DIR="${CORVANE_BIN_DIR}"
    CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  # No test uses the machine's sound card: PortAudio sees ALSA's null device only.
  set(env "QT_QPA_PLATFORM=offscreen;ALSA_CONFIG_PATH=${CORVANE_TEST_ALSA_CONFIG}")
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
