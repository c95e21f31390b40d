# Installation into the usual places and the Debian package: the two programs, the desktop
# entry with its icon, the help page and the CLI's man page. `cpack -G DEB` in the build folder.
include(GNUInstallDirs)
# Installing (and cpack) takes the programs as built; it does not build the tests and benchmarks first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS tessaly-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/tessaly-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET tessaly)
  install(TARGETS tessaly RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/tessaly.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/ui/art/app.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME tessaly.svg)
  # Help Contents finds the page here when it is not beside the program.
  install(FILES ${CMAKE_SOURCE_DIR}/ui/help/tessaly-help.html DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME tessaly)
set(CPACK_PACKAGE_VENDOR "tessaly")
set(CPACK_PACKAGE_CONTACT "tessaly maintainers <tessaly@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer and recovery tool for Access database files")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads Access database files (.mdb, .accdb) page by page without a database engine, also when they are "
    "damaged: tables, records and saved queries in a desktop viewer (tessaly) and on the command line "
    "(tessaly-cli), with export to CSV files or a new Access database.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.invalid/tessaly")
# The shared libraries the programs link (Qt 6, SQLite, the C++ runtime) come from
# dpkg-shlibdeps; the Qt platform plugins are loaded at run time, so they are named (the BMP,
# JPEG, PNG and GIF readers come with libqt6gui6).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET tessaly)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, xdg-utils")
endif()
include(CPack)
