# `cmake --install` puts the game under a prefix: the launcher in bin/, the program in
# libexec/parrun/, the game's data in share/parrun/data/, a desktop entry and its icons. The
# launcher finds the rest from its own place, so the installed tree can be moved.
include(GNUInstallDirs)
install(TARGETS parrun RUNTIME DESTINATION libexec/parrun)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/parrun-launcher.sh
        DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME parrun)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/parrun/data)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/parrun.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 128)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/parrun-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME parrun.png)
endforeach()
