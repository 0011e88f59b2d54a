# Installation in the usual places: the programs in bin, the help page in share/zeigora/Doku
# (where the program looks for it beside its own folder), and the desktop entry with its icon.
include(GNUInstallDirs)

if(TARGET zeigora)
    install(TARGETS zeigora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${CMAKE_SOURCE_DIR}/data/zeigora.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/data/zeigora.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
if(TARGET zeigora-cli)
    install(TARGETS zeigora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/Doku/index.html
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zeigora/Doku)

# The test installs the built tree into a folder of the build and checks what arrived.
if(ZEIGORA_TESTS)
    set(ZEIGORA_INSTALL_EXPECTED
        ${CMAKE_INSTALL_DATADIR}/zeigora/Doku/index.html)
    if(TARGET zeigora)
        list(APPEND ZEIGORA_INSTALL_EXPECTED
             ${CMAKE_INSTALL_BINDIR}/zeigora
             ${CMAKE_INSTALL_DATADIR}/applications/zeigora.desktop
             ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps/zeigora.svg)
    endif()
    if(TARGET zeigora-cli)
        list(APPEND ZEIGORA_INSTALL_EXPECTED ${CMAKE_INSTALL_BINDIR}/zeigora-cli)
    endif()
    string(REPLACE ";" "|" ZEIGORA_INSTALL_EXPECTED "${ZEIGORA_INSTALL_EXPECTED}")
    add_test(NAME install_layout
             COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                     -DPREFIX=${CMAKE_BINARY_DIR}/install-check
                     -DEXPECTED=${ZEIGORA_INSTALL_EXPECTED}
                     -P ${CMAKE_SOURCE_DIR}/cmake/check-install.cmake)
endif()
