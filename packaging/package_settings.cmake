# CPack settings of the .deb: build/sorrel_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_CONTACT "Sorrel developers <sorrel@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find and move aside web site entries that Windows cannot handle")
set(CPACK_PACKAGE_DESCRIPTION
"Sorrel scans website directories for entries whose names ordinary Windows
path handling cannot reach: reserved device names (con, prn, aux, nul,
COM1-9, LPT1-9), such names with an extension, and names ending in a dot or
a blank. It records them in a data store, lists them and moves the chosen
ones into a dated backup tree without deleting anything.

The package holds the console scanner Sorrelscan, the desktop program
Sorrelmede and the command-line front end sorrel, in /opt/sorrel, and a
weekly scan timer that is disabled until the administrator enables it.")

# Dependencies are read from the programs' shared libraries. Qt loads its platform plugin at run
# time, which no library lookup sees; the menu entry starts the desktop program through pkexec.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET Sorrelmede)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, pkexec")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n, xdg-utils")
endif()

set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_SOURCE_DIR}/debian/postinst ${CMAKE_CURRENT_SOURCE_DIR}/debian/prerm
    ${CMAKE_CURRENT_SOURCE_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
