# The Debian package, made by CPack from the install rules: `cpack -G DEB` in a build tree
# (scripts/package.sh does it from a clean Release build). Installs under /usr; the desktop
# entry, MIME type, icons and AppStream data land where the desktop's own packages pick
# them up through their dpkg triggers, so the package needs no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Korvale developers")
set(CPACK_PACKAGE_CONTACT "The Korvale developers <korvale@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Korvale developers <korvale@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lap telemetry viewer for racing simulation replays")
# Debian wraps the long description at 80 columns; the line breaks are kept as written.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Korvale opens the replays that a racing simulation records, cuts every"
  "driver's recording into laps at the start/finish line and shows them as"
  "graphs of time, position, speed, line, in-line force, lateral force and"
  "slip angle, and on a map of the track. Laps are kept in Korvale documents"
  "(.kvl) and can be exported as text tables or written back into replays."
  "The package also holds korvale-cli, the same engine on the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies are read off the binaries; the fonts are what the layout measures with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
