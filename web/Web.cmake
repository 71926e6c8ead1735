# The browser build: the rules, the zone tool and the game compiled to WebAssembly by emscripten.
# SDL2, FreeType and SDL2_ttf are our own builds from Debian's source packages
# (scripts/web-deps.sh), never emscripten's downloaded ports.
set(QUARN_WEB_DEPS ${CMAKE_SOURCE_DIR}/build/web-deps/prefix CACHE PATH
    "Where scripts/web-deps.sh installed SDL2, FreeType and SDL2_ttf built for the browser")
if(NOT EXISTS ${QUARN_WEB_DEPS}/lib/libSDL2.a)
  message(FATAL_ERROR "${QUARN_WEB_DEPS} has no SDL2 for the browser: run scripts/setup.sh web")
endif()
set(QUARN_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${QUARN_BIN_DIR})
# The page has no installed data folder; the game finds its data beside itself.
set(QUARN_INSTALL_FULL_DATADIR /quarn)

# The zone loader and the screens throw and catch C++ exceptions.
add_compile_options(-fexceptions -Wno-dollar-in-identifier-extension)
add_link_options(-fexceptions)

add_library(quarn_sdl INTERFACE)
target_include_directories(quarn_sdl INTERFACE ${QUARN_WEB_DEPS}/include/SDL2
                                               ${QUARN_WEB_DEPS}/include)
target_link_libraries(quarn_sdl INTERFACE ${QUARN_WEB_DEPS}/lib/libSDL2_ttf.a
                      ${QUARN_WEB_DEPS}/lib/libfreetype.a ${QUARN_WEB_DEPS}/lib/libSDL2.a)

add_subdirectory(src/base)
add_subdirectory(src/zone)
add_subdirectory(src/game)
add_subdirectory(src/run)
add_subdirectory(src/render)
add_subdirectory(src/system)
add_subdirectory(tools/quarn-zone)

# The zone tool for Node: one module that a test loads once and runs many times, each run in a
# fresh instance, with the real file system of the machine (web/quarn-zone.cjs runs it from a
# command line). The runtime is never shut down, which would close the runner's own descriptors:
# the runner flushes the program's output itself.
target_link_options(quarn-zone PRIVATE -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sMODULARIZE=1
  -sEXPORT_NAME=QuarnZone -sEXPORTED_RUNTIME_METHODS=callMain -sINVOKE_RUN=0 -sENVIRONMENT=node
  -sEXPORTED_FUNCTIONS=_main,_fflush)

# The game for the page. Only when asked for: the zone tool alone needs no data.
option(QUARN_WEB_GAME "Build the game for the page too" ON)
if(NOT QUARN_WEB_GAME)
  return()
endif()
# The pictures and sounds are painted and synthesised by the native tools of a native build.
set(QUARN_NATIVE_BIN ${CMAKE_SOURCE_DIR}/build/release/bin CACHE PATH
    "bin/ of a native build, whose Graphics and sound go into the page's data")
set(QUARN_WEB_SITE ${CMAKE_SOURCE_DIR}/build/web CACHE PATH "Where the page is put together")
set(QUARN_FONT_FILES
    /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
    /usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
    /usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf
    /usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf)

# OpenAL is emscripten's own, over the page's Web Audio.
add_library(PkgConfig::OPENAL INTERFACE IMPORTED)
set_target_properties(PkgConfig::OPENAL PROPERTIES INTERFACE_LINK_LIBRARIES "-lopenal")

# The platform layer without its X paths: the desktop of WebDesktop.cpp is the window system
# (WindowSystem.h) in place of SDL's own (WindowSystemSdl.cpp), EventWaitWeb.cpp the wait in place
# of the one on the X connection, SignalsWeb.cpp the signal watcher (a page has no signals, and
# no threads here).
file(GLOB web_platform_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/*.cpp)
list(REMOVE_ITEM web_platform_sources ${CMAKE_SOURCE_DIR}/src/platform/WindowSystemSdl.cpp
     ${CMAKE_SOURCE_DIR}/src/platform/EventWait.cpp
     ${CMAKE_SOURCE_DIR}/src/platform/XUpload.cpp ${CMAKE_SOURCE_DIR}/src/platform/Signals.cpp)
add_library(quarn_platform STATIC ${web_platform_sources})
target_include_directories(quarn_platform PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(quarn_platform PUBLIC quarn_sdl)

# The sound slots as on a desktop; only the choice of the output device is the page's own.
file(GLOB web_sound_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/sound/*.cpp)
list(REMOVE_ITEM web_sound_sources ${CMAKE_SOURCE_DIR}/src/sound/AudioDevice.cpp)
add_library(quarn_sound STATIC ${web_sound_sources})
target_include_directories(quarn_sound PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(quarn_sound PUBLIC quarn_game PkgConfig::OPENAL PRIVATE quarn_sdl)
add_subdirectory(src/edit)
add_subdirectory(src/ui)

# The data file: pictures, sounds, zones and fonts, at the paths the game looks for them.
set(web_data ${CMAKE_BINARY_DIR}/web-data)
add_custom_target(quarn_web_data
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${web_data}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${web_data}/fonts
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${QUARN_NATIVE_BIN}/Graphics ${web_data}/Graphics
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${QUARN_NATIVE_BIN}/sound ${web_data}/sound
  # Every set: the folder with its subfolders, title files and the authors' runs.
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/zones ${web_data}/zones
  COMMAND ${CMAKE_COMMAND} -E copy ${QUARN_FONT_FILES} ${web_data}/fonts
  COMMENT "Gathering the page's data")

set_target_properties(quarn PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUARN_WEB_SITE} SUFFIX .js)
target_sources(quarn PRIVATE ${CMAKE_SOURCE_DIR}/web/NoInotify.cpp ${CMAKE_SOURCE_DIR}/web/SharedZone.cpp
  ${CMAKE_SOURCE_DIR}/web/PlayerFiles.cpp ${CMAKE_SOURCE_DIR}/web/Touch.cpp)
add_dependencies(quarn quarn_web_data)
set_property(TARGET quarn APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/Wait.js)
# The data file is packed when the page is linked: a zone, picture, sound or font changed, added,
# renamed or removed (the folders' times tell the last three) links it again, so that the page
# never ships the zones of an earlier build.
file(GLOB_RECURSE web_data_inputs LIST_DIRECTORIES true CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/zones/* ${QUARN_NATIVE_BIN}/Graphics/* ${QUARN_NATIVE_BIN}/sound/*)
set_property(TARGET quarn APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/zones
             ${QUARN_NATIVE_BIN}/Graphics ${QUARN_NATIVE_BIN}/sound ${web_data_inputs} ${QUARN_FONT_FILES})
# ASYNCIFY lets the loop's wait hand the browser its turn from wherever it is, a modal dialog's
# own loop included (see README).
# The loop's wait is web/Wait.js: a sleep that an event ends early.
target_link_options(quarn PRIVATE -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=262144
  -sASYNCIFY_IMPORTS=quarn_wait "SHELL:--js-library ${CMAKE_SOURCE_DIR}/web/Wait.js"
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864 -sENVIRONMENT=web -sFORCE_FILESYSTEM=1
  -lidbfs.js -sEXPORTED_RUNTIME_METHODS=FS,IDBFS,callMain
  "SHELL:--preload-file ${web_data}@/")
add_custom_command(OUTPUT ${QUARN_WEB_SITE}/index.html ${QUARN_WEB_SITE}/touch.js
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/web/index.html ${QUARN_WEB_SITE}/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/web/touch.js ${QUARN_WEB_SITE}/touch.js
  DEPENDS ${CMAKE_SOURCE_DIR}/web/index.html ${CMAKE_SOURCE_DIR}/web/touch.js
  COMMENT "The page")
# The page's icon is the desktop's (painted by the native build's quarn-icongen), so that the
# browser finds one of ours and asks for no favicon.ico.
get_filename_component(QUARN_NATIVE_BUILD ${QUARN_NATIVE_BIN} DIRECTORY)
set(QUARN_WEB_ICON ${QUARN_NATIVE_BUILD}/icons/hicolor/64x64/apps/quarn.png)
add_custom_command(OUTPUT ${QUARN_WEB_SITE}/quarn.png
  COMMAND ${CMAKE_COMMAND} -E copy ${QUARN_WEB_ICON} ${QUARN_WEB_SITE}/quarn.png
  DEPENDS ${QUARN_WEB_ICON}
  COMMENT "The page's icon")
add_custom_target(quarn_web_page ALL DEPENDS ${QUARN_WEB_SITE}/index.html ${QUARN_WEB_SITE}/touch.js
                  ${QUARN_WEB_SITE}/quarn.png)
