# korvale_module(NAME DIR [DEPS...]): a static library of the .cpp files directly in DIR.
# A folder without sources yet gives no target, and missing dependencies are skipped,
# so that subsystems can be added one at a time.
function(korvale_module name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  foreach(dep ${ARGN})
    if(TARGET ${dep})
      target_link_libraries(${name} PUBLIC ${dep})
    endif()
  endforeach()
endfunction()

# korvale_test_dir(DIR LIBS...): one GoogleTest executable of the .cpp files in tests/DIR.
function(korvale_test_dir dir)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(name test_${dir})
  add_executable(${name} ${sources} ${CMAKE_SOURCE_DIR}/tests/support/TestEnvironment.cpp)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  foreach(dep ${ARGN})
    if(TARGET ${dep})
      target_link_libraries(${name} PRIVATE ${dep})
    endif()
  endforeach()
  target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    KORVALE_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    KORVALE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    KORVALE_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    DISCOVERY_TIMEOUT 60)
endfunction()
