# The game in a web page, built with Emscripten (docs/web.md): FreeType built for the browser
# (scripts/web-freetype.sh), FluidSynth reached through a bridge to a FluidSynth of its own
# that the page loads, and the web host with its page.
set(PARRUN_WEB_FREETYPE "${PROJECT_SOURCE_DIR}/build-web/freetype" CACHE PATH
    "FreeType built for the browser (scripts/web-freetype.sh)")
add_library(parrun_web_freetype STATIC IMPORTED)
set_target_properties(parrun_web_freetype PROPERTIES
    IMPORTED_LOCATION ${PARRUN_WEB_FREETYPE}/lib/libfreetype.a
    INTERFACE_INCLUDE_DIRECTORIES ${PARRUN_WEB_FREETYPE}/include/freetype2)
target_link_libraries(parrun_platform PRIVATE parrun_web_freetype)

# FluidSynth's own declarations, from Debian's libfluidsynth-dev, copied apart so that the
# build machine's other headers stay out of the browser's build.
set(parrun_fluid_include ${CMAKE_CURRENT_BINARY_DIR}/fluidsynth-include)
file(COPY /usr/include/fluidsynth.h /usr/include/fluidsynth DESTINATION ${parrun_fluid_include})
target_include_directories(parrun_platform PRIVATE ${parrun_fluid_include})
include(${CMAKE_CURRENT_LIST_DIR}/../music/music.cmake)
target_sources(parrun_platform PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/fluid_bridge.cpp
    ${CMAKE_CURRENT_LIST_DIR}/font_file.cpp)

add_library(parrun_recording STATIC
    ${CMAKE_CURRENT_LIST_DIR}/../replay/recording_host.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../replay/recording_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../replay/recording_writer.cpp)
target_link_libraries(parrun_recording PUBLIC parrun_platform)

add_library(parrun_host_web STATIC ${CMAKE_CURRENT_LIST_DIR}/web_host.cpp)
target_link_libraries(parrun_host_web PUBLIC parrun_platform parrun_recording)


# The page's program, parrun.js with parrun.wasm, and its data, parrun.data: the game folder
# (data/) as /data and the font as /fonts/ipag.ttf.
function(parrun_add_web_program)
    add_executable(parrun ${PROJECT_SOURCE_DIR}/platform/web/main.cpp)
    target_link_libraries(parrun PRIVATE ${ARGN} parrun_host_web)
    set(page_js ${PROJECT_SOURCE_DIR}/platform/web/page/program.js)
    set(font /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf)
    set_target_properties(parrun PROPERTIES SUFFIX .js)
    set_property(TARGET parrun APPEND PROPERTY LINK_DEPENDS ${page_js})
    target_link_options(parrun PRIVATE
        -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
        "-sASYNCIFY_IMPORTS=['parrun_web_yield']"
        -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=67108864 -sTOTAL_STACK=1048576
        -sENVIRONMENT=web -sMODULARIZE -sEXPORT_NAME=createParrun
        "-sEXPORTED_RUNTIME_METHODS=['FS','ENV','callMain']"
        -sFORCE_FILESYSTEM -lidbfs.js
        "SHELL:--pre-js ${page_js}"
        "SHELL:--preload-file ${PROJECT_SOURCE_DIR}/data@/data"
        "SHELL:--preload-file ${font}@/fonts/ipag.ttf")
endfunction()
