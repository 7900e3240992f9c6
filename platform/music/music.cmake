# DirectMusic (platform/dmusic) and what plays it (platform/music): the standard MIDI file
# reader, the sequencer and FluidSynth with a General MIDI sound font.
target_sources(parrun_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/../dmusic/guids.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../dmusic/loader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../dmusic/performance.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../dmusic/segment.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fluid_synthesiser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/instruments.cpp
    ${CMAKE_CURRENT_LIST_DIR}/music_player.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sequencer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/smf_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sound_font.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tempo_map.cpp
)
# The browser's build reaches FluidSynth through a bridge of its own (web/web.cmake).
if(PARRUN_WEB)
    return()
endif()
find_package(PkgConfig REQUIRED)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
target_link_libraries(parrun_platform PRIVATE PkgConfig::FLUIDSYNTH)
