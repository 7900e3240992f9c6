# The game folder's own sound font, bgm/music.sf2: of Debian's FluidR3_GM only the instruments
# and keys the two pieces play (tools/music/subset_font.py), which sound the same and take a
# third of the memory. It is a build product, made when the tool's Python and the font are
# there; without them the game reads the system's whole font as before. scripts/play.sh copies
# it into the player's game folder and `cmake --install` puts it beside the pieces.
set(parrun_full_font /usr/share/sounds/sf2/FluidR3_GM.sf2)
if(NOT (EXISTS /usr/bin/python3 AND EXISTS ${parrun_full_font}))
    return()
endif()
set(parrun_music_font ${CMAKE_BINARY_DIR}/game-folder/bgm/music.sf2)
file(GLOB parrun_pieces CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/bgm/*.mid)
set(parrun_font_tool ${PROJECT_SOURCE_DIR}/tools/music/subset_font.py)
add_custom_command(
    OUTPUT ${parrun_music_font}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/game-folder/bgm
    COMMAND ${CMAKE_COMMAND} -E env PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 ${parrun_font_tool}
            ${parrun_full_font} ${parrun_music_font}.part ${parrun_pieces}
    COMMAND ${CMAKE_COMMAND} -E rename ${parrun_music_font}.part ${parrun_music_font}
    DEPENDS ${parrun_font_tool} ${PROJECT_SOURCE_DIR}/tools/music/smf.py ${parrun_full_font}
            ${parrun_pieces}
    COMMENT "Cutting the music's sound font down to what the pieces play"
    VERBATIM)
add_custom_target(parrun_music_font ALL DEPENDS ${parrun_music_font})
add_dependencies(parrun parrun_music_font)
install(FILES ${parrun_music_font} DESTINATION ${CMAKE_INSTALL_DATADIR}/parrun/data/bgm)
