# Installation in the usual places: the programs (stripped) in bin, the help page in
# share/zeigora/Doku (where the program looks for it beside its own folder), the desktop entry
# with its icon, the file types and the AppStream metadata, and the command-line manual.
include(GNUInstallDirs)

# Stripped by default, as `cmake --install --strip` would; this runs before the targets install.
install(CODE "set(CMAKE_INSTALL_DO_STRIP TRUE)")

set(ZEIGORA_DATA ${CMAKE_SOURCE_DIR}/data)
if(TARGET zeigora)
    install(TARGETS zeigora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${ZEIGORA_DATA}/zeigora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${ZEIGORA_DATA}/zeigora.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    install(FILES ${ZEIGORA_DATA}/zeigora-mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME zeigora.xml)
    install(FILES ${ZEIGORA_DATA}/zeigora.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME de.lumtrek.zeigora.metainfo.xml)
endif()
if(TARGET zeigora-cli)
    install(TARGETS zeigora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/Doku/index.html
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zeigora/Doku)
install(FILES ${CMAKE_SOURCE_DIR}/docs/cli.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zeigora)

# The test installs the built tree into a folder of the build and checks what arrived.
if(ZEIGORA_TESTS)
    set(ZEIGORA_INSTALL_EXPECTED
        ${CMAKE_INSTALL_DATADIR}/zeigora/Doku/index.html
        ${CMAKE_INSTALL_DATADIR}/doc/zeigora/cli.md)
    set(ZEIGORA_INSTALL_STRIPPED)
    if(TARGET zeigora)
        list(APPEND ZEIGORA_INSTALL_EXPECTED
             ${CMAKE_INSTALL_DATADIR}/applications/zeigora.desktop
             ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps/zeigora.svg
             ${CMAKE_INSTALL_DATADIR}/mime/packages/zeigora.xml
             ${CMAKE_INSTALL_DATADIR}/metainfo/de.lumtrek.zeigora.metainfo.xml)
        list(APPEND ZEIGORA_INSTALL_STRIPPED ${CMAKE_INSTALL_BINDIR}/zeigora)
    endif()
    if(TARGET zeigora-cli)
        list(APPEND ZEIGORA_INSTALL_STRIPPED ${CMAKE_INSTALL_BINDIR}/zeigora-cli)
    endif()
    list(APPEND ZEIGORA_INSTALL_EXPECTED ${ZEIGORA_INSTALL_STRIPPED})
    string(REPLACE ";" "|" ZEIGORA_INSTALL_EXPECTED "${ZEIGORA_INSTALL_EXPECTED}")
    string(REPLACE ";" "|" ZEIGORA_INSTALL_STRIPPED "${ZEIGORA_INSTALL_STRIPPED}")
    find_program(ZEIGORA_READELF NAMES readelf)
    find_program(ZEIGORA_DESKTOP_VALIDATE NAMES desktop-file-validate)
    find_program(ZEIGORA_UPDATE_MIME NAMES update-mime-database)
    find_program(ZEIGORA_APPSTREAMCLI NAMES appstreamcli)
    add_test(NAME install_layout
             COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                     -DPREFIX=${CMAKE_BINARY_DIR}/install-check
                     -DEXPECTED=${ZEIGORA_INSTALL_EXPECTED}
                     -DSTRIPPED=${ZEIGORA_INSTALL_STRIPPED}
                     -DREADELF=${ZEIGORA_READELF}
                     -DDESKTOP_VALIDATE=${ZEIGORA_DESKTOP_VALIDATE}
                     -DUPDATE_MIME=${ZEIGORA_UPDATE_MIME}
                     -DAPPSTREAMCLI=${ZEIGORA_APPSTREAMCLI}
                     -P ${CMAKE_SOURCE_DIR}/cmake/check-install.cmake)
endif()
