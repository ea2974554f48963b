# Test programs: one per folder of tests, run by ctest (through Wine in the win32 build).
include(GoogleTest)

if(SABLA_WIN32)
  # Cross-built from the Debian sources, once per build folder.
  if(NOT TARGET gtest)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  endif()
  set(SABLA_GTEST_LIBS gtest gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  set(SABLA_GTEST_LIBS GTest::gtest GTest::gmock GTest::gtest_main)
endif()

# sabla_test_program(NAME DIR dir LIBS libs... [TIMEOUT s] [FIXTURES names...])
# Builds every .cpp under DIR into one GoogleTest program and registers it with ctest.
function(sabla_test_program name)
  cmake_parse_arguments(ARG "" "DIR;TIMEOUT" "LIBS;FIXTURES" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${SABLA_GTEST_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(SABLA_WIN32)
    # Under Wine each process start is costly, so a whole program is one ctest test.
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT}
                         FIXTURES_REQUIRED "wine;${ARG_FIXTURES}")
  else()
    gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                         PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  endif()
endfunction()
