# Version data: "Name=value" lines generated from the project version. The program compiles
# them in as a Qt resource (the About box and --version read it at run time); korvale-cli
# compiles the same text in as a string, so both always agree with the build they are in.
set(KORVALE_PRODUCT_NAME "Korvale" CACHE STRING "Product name shown in the About box")
set(KORVALE_LEGAL_COPYRIGHT "Copyright (C) 2026 The Korvale developers. All rights reserved."
    CACHE STRING "Legal notice shown in the About box")
set(KORVALE_SPECIAL_BUILD "" CACHE STRING "Special-build text of the About box; empty for a release")
set(KORVALE_VERSION_FILE ${CMAKE_BINARY_DIR}/generated/korvale/version.txt)
configure_file(${CMAKE_SOURCE_DIR}/src/resources/version.txt.in ${KORVALE_VERSION_FILE} @ONLY)
file(READ ${KORVALE_VERSION_FILE} KORVALE_VERSION_TEXT)
set(KORVALE_VERSION_SOURCE ${CMAKE_BINARY_DIR}/generated/korvale/VersionText.cpp)
configure_file(${CMAKE_SOURCE_DIR}/src/resources/VersionText.cpp.in ${KORVALE_VERSION_SOURCE} @ONLY)
