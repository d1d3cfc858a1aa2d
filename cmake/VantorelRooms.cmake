# Small helpers shared by every room's CMakeLists.txt.

# vantorel_add_rooms(folder ...): adds each listed room, in order. A listed
# room without a CMakeLists.txt is a configure error. Inside a room,
# VANTOREL_ROOM is the room's name (the folder's last part: "converter" for
# engines/converter); its tests carry it as their CTest label.
function(vantorel_add_rooms)
  foreach(room IN LISTS ARGN)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${room}/CMakeLists.txt)
      message(FATAL_ERROR "Room '${room}' is listed but ${CMAKE_CURRENT_SOURCE_DIR}/${room}/CMakeLists.txt does not exist")
    endif()
    get_filename_component(VANTOREL_ROOM ${room} NAME)
    add_subdirectory(${room})
  endforeach()
endfunction()

# vantorel_check_planned_rooms(folder ...): rooms that are planned but not
# built yet. One that has grown a CMakeLists.txt is a configure error, so
# that it is moved into the room list instead of being silently left out.
function(vantorel_check_planned_rooms)
  foreach(room IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${room}/CMakeLists.txt)
      message(FATAL_ERROR "Room '${room}' has a CMakeLists.txt: move it from the planned rooms into the room list")
    endif()
  endforeach()
endfunction()

# What every test of a room carries: its labels (the room's name and the
# extra labels given) and the environment that tells it where the program
# folder and the test libraries are.
function(vantorel_test_context labels_var environment_var)
  set(labels ${VANTOREL_ROOM} ${ARGN})
  list(REMOVE_DUPLICATES labels)
  set(${labels_var} "${labels}" PARENT_SCOPE)
  set(${environment_var}
    "VANTOREL_BIN_DIR=${VANTOREL_BIN_DIR};VANTOREL_TEST_LIB_DIR=${VANTOREL_TEST_LIB_DIR}" PARENT_SCOPE)
endfunction()

# vantorel_add_test(NAME name SOURCES a_test.cpp ... [LIBS lib ...] [LABELS l ...])
# One GoogleTest executable, built into build/tests/, registered with CTest
# one test case at a time. Tests learn where the program folder and the test
# libraries are through VANTOREL_BIN_DIR / VANTOREL_TEST_LIB_DIR
# (environment, also compiled in as defaults) and find their scratch space in
# a fresh temporary folder.
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
  include(GoogleTest)
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 TEST_LIST ${T_NAME}_CASES)
  # gtest_discover_tests flattens list-valued PROPERTIES (labels, the
  # environment), so a script CTest reads after the discovered test cases
  # sets them.
  vantorel_test_context(labels environment ${T_LABELS})
  set(script_file ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_properties.cmake)
  file(WRITE ${script_file}
    "if(${T_NAME}_CASES)\n"
    "  set_tests_properties(\${${T_NAME}_CASES} PROPERTIES\n"
    "    LABELS [==[${labels}]==]\n"
    "    ENVIRONMENT [==[${environment}]==])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script_file})
endfunction()

# vantorel_add_qtest(NAME name SOURCES ... [LIBS ...] [LABELS ...]): one Qt
# Test executable in build/tests/, linked with the widget set and the
# screenshot helper, run by CTest as one test on the offscreen platform,
# with the same labels and environment as vantorel_add_test.
function(vantorel_add_qtest)
  if(NOT VANTOREL_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} vt_widgets vt_screenshot Qt6::Test)
  target_compile_definitions(${T_NAME} PRIVATE
    VANTOREL_BIN_DIR="${VANTOREL_BIN_DIR}"
    VANTOREL_TEST_LIB_DIR="${VANTOREL_TEST_LIB_DIR}")
  set_target_properties(${T_NAME} PROPERTIES
    AUTOMOC ON
    RUNTIME_OUTPUT_DIRECTORY ${VANTOREL_TEST_BIN_DIR})
  add_dependencies(${T_NAME} vantorel_data)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  vantorel_test_context(labels environment ${T_LABELS})
  set_property(TEST ${T_NAME} PROPERTY LABELS ${labels})
  set_property(TEST ${T_NAME} PROPERTY ENVIRONMENT ${environment} QT_QPA_PLATFORM=offscreen)
  # A dialog left open by a failing test must not hang the run.
  set_property(TEST ${T_NAME} PROPERTY TIMEOUT 60)
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
