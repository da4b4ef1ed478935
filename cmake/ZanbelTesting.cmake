# zanbel_add_tests(NAME [LABEL label] SOURCES ... LIBS ... [ENVIRONMENT VAR=VALUE])
# One GoogleTest executable per library, discovered test by test. Test suites
# whose name starts with "Golden" compare pictures or sounds with files under
# testdata/ and are labelled "golden"; the rest carry LABEL (default "unit").
if(ZANBEL_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

function(zanbel_add_tests name)
  if(NOT ZANBEL_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
      ZANBEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
      ZANBEL_TESTDATA_DIR="${CMAKE_SOURCE_DIR}/testdata"
      ZANBEL_BIN_DIR="${ZANBEL_BIN_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # The discovered tests take their properties as separate words, so a list
  # of variables would lose all but its first entry: one variable at most.
  list(LENGTH T_ENVIRONMENT env_count)
  if(env_count GREATER 1)
    message(FATAL_ERROR "zanbel_add_tests(${name}): ENVIRONMENT takes one variable; pass the rest through the test's code")
  endif()
  set(env "${T_ENVIRONMENT}")
  if(NOT env)
    set(env "ZANBEL_BIN_DIR=${ZANBEL_BIN_DIR}")
  endif()
  if(T_LABEL STREQUAL "desktop")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
        PROPERTIES LABELS desktop ENVIRONMENT "${env}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 TEST_FILTER "-Golden*"
        PROPERTIES LABELS "${T_LABEL}" ENVIRONMENT "${env}")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 TEST_FILTER "Golden*"
        PROPERTIES LABELS golden ENVIRONMENT "${env}")
  endif()
endfunction()
