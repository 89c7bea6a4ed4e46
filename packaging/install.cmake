# SPDX-License-Identifier: GPL-2.0-or-later
# What `cmake --install` puts where (GNU layout), the desktop integration, manual pages, bash
# completion, and the Debian package `cpack -G DEB` makes from the same files.

# Programs in bin/, the private libraries beside the plug-ins in lib/gallivex/.
install(TARGETS gallivex gallivex-cli morlune lumivex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tolvane varnex LIBRARY DESTINATION ${GV_INSTALL_LIBDIR} NAMELINK_SKIP)
set_target_properties(tolvane varnex PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS gvhtmlplugin LIBRARY DESTINATION ${GV_INSTALL_PLUGINDIR})
set_target_properties(gvhtmlplugin PROPERTIES INSTALL_RPATH "$ORIGIN/..")

# Read-only data in share/gallivex/: skin pictures, help pages, the HTML plug-in's themes.
# Files install without write bits for anyone but the owner (root, for a system install).
set(GV_DATA_PERMISSIONS FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
    DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
install(DIRECTORY ${GV_BIN_DIR}/graphics/ DESTINATION ${GV_INSTALL_DATADIR}/graphics
    ${GV_DATA_PERMISSIONS} PATTERN .generated EXCLUDE)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${GV_INSTALL_DATADIR}/help
    ${GV_DATA_PERMISSIONS})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/outputs/html/themes/ DESTINATION ${GV_INSTALL_DATADIR}/themes/html
    ${GV_DATA_PERMISSIONS} PATTERN README.md EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/COPYING
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/gallivex)

# Desktop integration: menu entries (the theme installer's is hidden: it only opens theme
# packages), AppStream metainfo, the MIME types of album projects and theme packages.
set(GV_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
configure_file(${GV_PACKAGING}/example.vellora.Gallivex.metainfo.xml
    ${CMAKE_BINARY_DIR}/packaging/example.vellora.Gallivex.metainfo.xml @ONLY)
install(FILES ${GV_PACKAGING}/gallivex.desktop ${GV_PACKAGING}/morlune.desktop
    ${GV_PACKAGING}/lumivex.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/packaging/example.vellora.Gallivex.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${GV_PACKAGING}/gallivex-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    RENAME gallivex.xml)
# The application icon the skin generator draws, in the hicolor theme.
install(FILES ${GV_BIN_DIR}/graphics/gallivex.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${GV_BIN_DIR}/graphics/gallivex-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME gallivex.png)
endforeach()
# The photo editor's icon, drawn with its toolbar pictures.
foreach(size 16 32 48 64 128 256)
    install(FILES ${GV_BIN_DIR}/graphics/lumivex-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME lumivex.png)
endforeach()

# Manual pages from the programs' --help, and bash completion for both terminal programs.
find_program(HELP2MAN help2man REQUIRED)
set(GV_MAN_DIR ${CMAKE_BINARY_DIR}/packaging/man)
add_custom_command(OUTPUT ${GV_MAN_DIR}/gallivex-cli.1
    COMMAND ${CMAKE_COMMAND} -E make_directory ${GV_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:gallivex-cli>
        "-DSUMMARY=make web photo albums from a terminal" -DVERSION=${PROJECT_VERSION}
        "-DCOMMANDS=themes\;new\;set\;generate\;info\;publish" -DOUTPUT=${GV_MAN_DIR}/gallivex-cli.1
        -P ${GV_PACKAGING}/manpage.cmake
    DEPENDS gallivex-cli ${GV_PACKAGING}/manpage.cmake
    COMMENT "Writing the manual page of gallivex-cli")
add_custom_command(OUTPUT ${GV_MAN_DIR}/morlune.1
    COMMAND ${CMAKE_COMMAND} -E make_directory ${GV_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:morlune>
        "-DSUMMARY=install a Gallivex album theme package" -DVERSION=${PROJECT_VERSION}
        -DOUTPUT=${GV_MAN_DIR}/morlune.1 -P ${GV_PACKAGING}/manpage.cmake
    DEPENDS morlune ${GV_PACKAGING}/manpage.cmake
    COMMENT "Writing the manual page of morlune")
add_custom_target(gvmanpages ALL DEPENDS ${GV_MAN_DIR}/gallivex-cli.1 ${GV_MAN_DIR}/morlune.1)
# The two window programs have no terminal options to write a page from: theirs are written by
# hand.
install(FILES ${GV_MAN_DIR}/gallivex-cli.1 ${GV_MAN_DIR}/morlune.1 ${GV_PACKAGING}/gallivex.1
    ${GV_PACKAGING}/lumivex.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# bash-completion loads a command's completion from a file named after the command.
install(FILES ${GV_PACKAGING}/gallivex-cli.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME gallivex-cli)
install(FILES ${GV_PACKAGING}/gallivex-cli.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME morlune)

include(${GV_PACKAGING}/debian.cmake)
