# The Qt part: korvale_ui holds every window, view and dialog (and src/ui/, the small
# support they share); korvale is the program.
# Svg: the tool bar's pictograms, and the vector pictures of Export Image and korvale --render.
find_package(Qt6 REQUIRED COMPONENTS Widgets Svg)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

# The version data (cmake/Version.cmake) is compiled into the program as a Qt resource.
configure_file(${CMAKE_SOURCE_DIR}/src/resources/korvale.qrc.in
               ${CMAKE_BINARY_DIR}/generated/korvale.qrc @ONLY)

file(GLOB_RECURSE ui_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/ui/*.cpp
  ${CMAKE_SOURCE_DIR}/src/*/ui/*.cpp
  ${CMAKE_SOURCE_DIR}/src/views/*.cpp
  ${CMAKE_SOURCE_DIR}/src/app/*.cpp)
file(GLOB_RECURSE ui_headers CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/ui/*.h
  ${CMAKE_SOURCE_DIR}/src/*/ui/*.h
  ${CMAKE_SOURCE_DIR}/src/views/*.h
  ${CMAKE_SOURCE_DIR}/src/app/*.h)
list(REMOVE_ITEM ui_sources ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
if(ui_sources)
  add_library(korvale_ui STATIC ${ui_sources} ${ui_headers} ${CMAKE_BINARY_DIR}/generated/korvale.qrc
              ${CMAKE_SOURCE_DIR}/src/resources/icons.qrc)
  target_include_directories(korvale_ui PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(korvale_ui PUBLIC korvale_core Qt6::Widgets Qt6::Svg)
  # Every conversion between 8-bit text and QString says its encoding.
  target_compile_definitions(korvale_ui PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
  # For the tests, which check the compiled version data against the project's version.
  target_compile_definitions(korvale_ui INTERFACE KORVALE_PROJECT_VERSION="${PROJECT_VERSION}")

  # The help file sits beside the executables, where the program looks for it first.
  set(KORVALE_HELP_SOURCE ${CMAKE_SOURCE_DIR}/data/help/Korvale.hlp)
  set(KORVALE_HELP_FILE ${KORVALE_DATA_DIR}/Korvale.hlp)
  add_custom_command(
    OUTPUT ${KORVALE_HELP_FILE}
    COMMAND ${CMAKE_COMMAND} -E copy ${KORVALE_HELP_SOURCE} ${KORVALE_HELP_FILE}
    DEPENDS ${KORVALE_HELP_SOURCE}
    COMMENT "Copying the help file beside the program"
    VERBATIM)
  add_custom_target(korvale_help ALL DEPENDS ${KORVALE_HELP_FILE})
  add_dependencies(korvale_ui korvale_help)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/src/app/main.cpp AND TARGET korvale_ui)
  add_executable(korvale ${CMAKE_SOURCE_DIR}/src/app/main.cpp)
  target_link_libraries(korvale PRIVATE korvale_ui)
  target_compile_definitions(korvale PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
  if(WIN32)
    # The program file's own version resource, as the platform's file properties show it.
    configure_file(${CMAKE_SOURCE_DIR}/src/resources/version.rc.in
                   ${CMAKE_BINARY_DIR}/generated/korvale_version.rc @ONLY)
    target_sources(korvale PRIVATE ${CMAKE_BINARY_DIR}/generated/korvale_version.rc)
  endif()

  # Installed layout: programs in bin, their data in share/korvale (the program falls back
  # to ../share/korvale), and the desktop entry and .kvl MIME type for the desktop.
  include(GNUInstallDirs)
  install(TARGETS korvale RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(TARGET korvale-cli)
    install(TARGETS korvale-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
  install(FILES ${KORVALE_DATA_DIR}/tracks.dat ${KORVALE_HELP_FILE}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/korvale)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/korvale.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/korvale.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/korvale.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # Bitmap icons at the sizes menus, docks and software centres ask for.
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/korvale-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME korvale.png)
  endforeach()
  # AppStream data, so software centres can list the program.
  configure_file(${CMAKE_SOURCE_DIR}/packaging/korvale.metainfo.xml
                 ${CMAKE_BINARY_DIR}/generated/korvale.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/generated/korvale.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The package's documentation: its copyright in Debian's machine-readable form and its
  # changelog, compressed reproducibly; a native package keeps it as changelog.gz.
  set(KORVALE_PACKAGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/korvale)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${KORVALE_PACKAGE_DOCDIR})
  set(KORVALE_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/generated/changelog.gz)
  add_custom_command(OUTPUT ${KORVALE_CHANGELOG_GZ}
                     COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${KORVALE_CHANGELOG_GZ}
                     DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog VERBATIM)
  add_custom_target(korvale_changelog ALL DEPENDS ${KORVALE_CHANGELOG_GZ})
  install(FILES ${KORVALE_CHANGELOG_GZ} DESTINATION ${KORVALE_PACKAGE_DOCDIR})
  # The document type's icon, which file managers show beside .kvl files.
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/application-x-korvale-telemetry.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes)
  # Manual pages made from the programs' own --help texts (not in a sanitizer build: no
  # package is made from one).
  find_program(KORVALE_HELP2MAN help2man)
  if(KORVALE_HELP2MAN AND TARGET korvale-cli AND NOT KORVALE_SANITIZE)
    set(KORVALE_MAN_DIR ${CMAKE_BINARY_DIR}/generated/man)
    add_custom_command(OUTPUT ${KORVALE_MAN_DIR}/korvale.1.gz ${KORVALE_MAN_DIR}/korvale-cli.1.gz
                       COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/make-man.sh
                               $<TARGET_FILE_DIR:korvale> ${KORVALE_MAN_DIR}
                       DEPENDS korvale korvale-cli ${CMAKE_SOURCE_DIR}/scripts/make-man.sh VERBATIM)
    add_custom_target(korvale_man ALL DEPENDS ${KORVALE_MAN_DIR}/korvale.1.gz)
    install(FILES ${KORVALE_MAN_DIR}/korvale.1.gz ${KORVALE_MAN_DIR}/korvale-cli.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  include(${CMAKE_SOURCE_DIR}/cmake/Package.cmake)
endif()
