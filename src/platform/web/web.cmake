# The game in a web page, built with emscripten (scripts/web.sh): the core (with the recorder
# and the script lines of src/record), the web backend of this folder and the page's entry
# (src/frame/web_main.cpp). The art is made by a native build's art builder and packed into the
# page's data file; the page itself (index.html, page.js, page.css) is copied beside the program.
set(RAVELON_WEB_ART_DIR "" CACHE PATH "The art folder of a native build, packed into the page")
if(NOT EXISTS "${RAVELON_WEB_ART_DIR}/AllTiles8.bmp")
  message(FATAL_ERROR "RAVELON_WEB_ART_DIR must name a native build's art folder "
                      "(it holds AllTiles8.bmp); scripts/web.sh makes one")
endif()

set(RAVELON_WEB_SITE ${CMAKE_BINARY_DIR}/site)
file(GLOB RAVELON_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/web/*.cpp)
add_executable(ravelon-web ${RAVELON_WEB_SOURCES} ${CMAKE_SOURCE_DIR}/src/frame/web_main.cpp)
target_link_libraries(ravelon-web PRIVATE ravelon_core)
# EM_ASM blocks name their arguments $0, $1, ...: emscripten's own syntax, not a slip.
target_compile_options(ravelon-web PRIVATE -Wno-dollar-in-identifier-extension)
set_target_properties(ravelon-web PROPERTIES OUTPUT_NAME ravelon SUFFIX ".js"
                                             RUNTIME_OUTPUT_DIRECTORY ${RAVELON_WEB_SITE})
target_link_options(ravelon-web PRIVATE
  -O2
  -sALLOW_MEMORY_GROWTH=1
  -sEXPORTED_FUNCTIONS=_main,_WebOpenMapPair,_WebOpenLevelFile,_WebWriteMapPair,_WebWriteLevelFile,_WebWriteRecording,_WebPageClosing,_WebStartScripted,_WebPassesDone,_WebResume,_WebPageHidden,_WebBegin,_WebTouchControl,_WebTouchPointer,_WebPlayerY
  -sEXPORTED_RUNTIME_METHODS=ccall,FS
  --preload-file ${RAVELON_WEB_ART_DIR}@/art)

# The page's list of controls is made from the game's table of commands by the native build's
# tool (tools/controls), which writes index.html into the site.
set(RAVELON_WEB_CONTROLS_TOOL "" CACHE FILEPATH
    "The native build's ravelon-controls-page, which writes the page's list of controls")
if(NOT EXISTS "${RAVELON_WEB_CONTROLS_TOOL}")
  message(FATAL_ERROR "RAVELON_WEB_CONTROLS_TOOL must name a native build's "
                      "ravelon-controls-page; scripts/web.sh makes one")
endif()
add_custom_command(OUTPUT ${RAVELON_WEB_SITE}/index.html
  COMMAND ${RAVELON_WEB_CONTROLS_TOOL} ${CMAKE_SOURCE_DIR}/src/platform/web/index.html
          ${RAVELON_WEB_SITE}/index.html
  DEPENDS ${RAVELON_WEB_CONTROLS_TOOL} ${CMAKE_SOURCE_DIR}/src/platform/web/index.html
  VERBATIM)
add_custom_target(ravelon-web-page ALL DEPENDS ${RAVELON_WEB_SITE}/index.html)

set(RAVELON_WEB_PAGE_FILES page.js page_audio.js page_touch.js page_levels.js page.css)
foreach(page_file ${RAVELON_WEB_PAGE_FILES})
  configure_file(${CMAKE_SOURCE_DIR}/src/platform/web/${page_file}
                 ${RAVELON_WEB_SITE}/${page_file} COPYONLY)
endforeach()
# The page's icon is the installed game's.
configure_file(${CMAKE_SOURCE_DIR}/assets/install/ravelon.svg ${RAVELON_WEB_SITE}/ravelon.svg
               COPYONLY)
set_property(TARGET ravelon-web APPEND PROPERTY LINK_DEPENDS ${RAVELON_WEB_ART_DIR}/AllTiles8.bmp)
