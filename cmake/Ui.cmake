# The Qt part: korvale_ui holds every window, view and dialog; korvale is the program.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

file(GLOB_RECURSE ui_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/*/ui/*.cpp
  ${CMAKE_SOURCE_DIR}/src/views/*.cpp
  ${CMAKE_SOURCE_DIR}/src/app/*.cpp)
file(GLOB_RECURSE ui_headers CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/*/ui/*.h
  ${CMAKE_SOURCE_DIR}/src/views/*.h
  ${CMAKE_SOURCE_DIR}/src/app/*.h)
list(REMOVE_ITEM ui_sources ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
if(ui_sources)
  add_library(korvale_ui STATIC ${ui_sources} ${ui_headers})
  target_include_directories(korvale_ui PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(korvale_ui PUBLIC korvale_core Qt6::Widgets)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/src/app/main.cpp AND TARGET korvale_ui)
  add_executable(korvale ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
  target_link_libraries(korvale PRIVATE korvale_ui)
endif()
