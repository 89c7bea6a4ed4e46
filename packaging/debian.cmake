# SPDX-License-Identifier: GPL-2.0-or-later
# The Debian package: `cpack -G DEB` in the build folder. dpkg-shlibdeps computes the
# libraries' packages; the rest of Depends are what the programs load at run time.
set(CPACK_PACKAGE_NAME gallivex)
set(CPACK_PACKAGE_VENDOR Vellora)
set(CPACK_PACKAGE_CONTACT "Vellora <gallivex@vellora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns photos into web photo albums")
set(CPACK_PACKAGE_DESCRIPTION "A seven-page wizard that makes a web photo album from photos
through output plug-ins with themes, keeps albums as project files and publishes them.
Includes gallivex-cli, the album engine for the terminal, and the theme installer morlune.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://vellora.example/gallivex")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_STRIP_FILES ON) # the debugging data would triple the package
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded, not linked: libvips's loaders (with libvips42), Qt's platform and picture format
# plug-ins (libqt6gui6); run: xdg-open for albums and help pages, the MIME database.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libvips42, libqt6gui6, shared-mime-info, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, hicolor-icon-theme")
include(CPack)
