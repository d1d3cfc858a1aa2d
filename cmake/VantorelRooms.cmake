# Small helpers shared by every room's CMakeLists.txt.

# Adds each listed folder that has a CMakeLists.txt.
function(vantorel_add_rooms)
  foreach(room IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${room}/CMakeLists.txt)
      add_subdirectory(${room})
    endif()
  endforeach()
endfunction()

# vantorel_add_test(NAME name SOURCES a_test.cpp ... [LIBS lib ...] [LABELS l ...])
# One GoogleTest executable, built into build/tests/, registered with CTest.
# Tests learn where the program folder and the test libraries are through
# VANTOREL_BIN_DIR / VANTOREL_TEST_LIB_DIR (environment, also compiled in as
# defaults) and find their scratch space in a fresh temporary folder.
function(vantorel_add_test)
  if(NOT VANTOREL_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
    VANTOREL_BIN_DIR="${VANTOREL_BIN_DIR}"
    VANTOREL_TEST_LIB_DIR="${VANTOREL_TEST_LIB_DIR}")
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VANTOREL_TEST_BIN_DIR})
  set(props ENVIRONMENT "VANTOREL_BIN_DIR=${VANTOREL_BIN_DIR};VANTOREL_TEST_LIB_DIR=${VANTOREL_TEST_LIB_DIR}")
  if(T_LABELS)
    list(APPEND props LABELS "${T_LABELS}")
  endif()
  include(GoogleTest)
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

# vantorel_add_test_library(NAME name SOURCES ... [LIBS ...])
# A shared library that only tests load; built into build/testlibs/.
function(vantorel_add_test_library)
  if(NOT VANTOREL_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${T_NAME} SHARED ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
  set_target_properties(${T_NAME} PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${VANTOREL_TEST_LIB_DIR}
    C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden)
endfunction()

# vantorel_add_engine(NAME name OUTPUT_NAME file SOURCES ... [LIBS ...])
# A dlopen'ed engine or plug-in library in the program folder. Only symbols
# marked with default visibility (the plain C entry points) are exported.
function(vantorel_add_engine)
  cmake_parse_arguments(T "" "NAME;OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${T_NAME} SHARED ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
  set_target_properties(${T_NAME} PROPERTIES
    C_VISIBILITY_PRESET hidden CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  if(T_OUTPUT_NAME)
    set_target_properties(${T_NAME} PROPERTIES OUTPUT_NAME ${T_OUTPUT_NAME})
  endif()
  target_link_options(${T_NAME} PRIVATE -Wl,--no-undefined)
endfunction()
