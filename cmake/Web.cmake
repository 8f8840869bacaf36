# The browser build (Emscripten). The game's sources are linked as they are;
# what differs is here, and docs/WEB.md says why:
#   -sASYNCIFY           the program's waits become yields to the browser
#   ASYNCIFY's lists     only the paths that can reach a sleep are made
#                        resumable (below)
#   -sALLOW_MEMORY_GROWTH the heap grows as the pictures are decoded
#   -sEXIT_RUNTIME       exit() ends the runtime, printing what stdout holds
#   ENV exported         the page names SDL's keyboard element in preRun
#   web only, no eval    a smaller script; the page's Content-Security-Policy
#                        allows no eval
#   emmalloc, TextDecoder a smaller allocator and no decoder of our own
#   --wrap=exit          web/exit.c: an exit that ends a suspended loop too
#   --wrap=SDL_WaitEvent web/wait.c: a wait that sleeps until an event comes
#                        instead of polling
#   --wrap=SDL_CreateRenderer web/tasks.c: the program's start in short
#                        tasks, its renderer created once the browser's
#                        graphics have started (web/graphics.js)
#   --wrap=IMG_Load,IMG_Init web/pictures.c: each picture decoded from the
#                        archives the page fetches, as the program asks;
#                        SDL_image's decoders are left out
#   -sFILESYSTEM=0       no file is read: Emscripten's file system is left out
#   liblzma              the archives' decoder, from Debian's xz-utils
#                        (tools/web.sh builds it)
#   --wrap=eglGetProcAddress web/gl.c: only the OpenGL ES functions SDL asks
#                        for by name, not every WebGL function
#   the smaller script   Closure Compiler (--closure 1), then terser, minify
#                        zorvane.js; only the Module hooks the page sets are
#                        read; no pooled GL buffers, no GL error tracking of
#                        Emscripten's own and no deferred fullscreen or
#                        pointer-lock requests, which the game never makes
#   a second -Oz         Binaryen optimises the program again once ASYNCIFY
#                        has instrumented it
#
# ASYNCIFY instruments every function that may be on the stack during a
# sleep. Left to itself it counts every call through a function pointer as
# one that may sleep: most of SDL. Told to ignore those, it still follows
# the direct calls up from each sleep (web/wait.c's, SDL_Delay's), and the
# list adds the functions whose calls through a pointer lead to one. Derived
# from emscripten_sleep's callers in SDL's source: after every present SDL
# sleeps in the video driver's swap, Emscripten_GLES_SwapWindow, reached
# from SDL_RenderPresent through the renderer's present, GLES2_RenderPresent,
# and from that through SDL_GL_SwapWindow's call of the driver, which
# Binaryen inlines into it. The names are those of the .wasm's name section
# (see them with emcc --profiling-funcs and wasm-dis). A sleep reached some
# other way may still seem to work in the shipped build (it played with
# GLES2_RenderPresent left out here); tools/web-test.sh therefore also plays
# zorvane_checked, the same objects linked with Emscripten's checks
# (-sASSERTIONS includes ASYNCIFY's), where such a sleep stops the program.
# liblzma's decoder alone: CMake's FindLibLZMA would also want its encoder.
find_path(LZMA_INCLUDE_DIR lzma.h REQUIRED)
find_library(LZMA_LIBRARY lzma REQUIRED)
add_library(zorvane_lzma STATIC IMPORTED)
set_target_properties(zorvane_lzma PROPERTIES IMPORTED_LOCATION ${LZMA_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${LZMA_INCLUDE_DIR})
set(ZORVANE_WEB_SHIMS web/exit.c web/wait.c web/gl.c web/tasks.c web/pictures.c)
set(ZORVANE_WEB_LINK -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT
  -sASYNCIFY_ADD=SDL_RenderPresent,GLES2_RenderPresent
  -sALLOW_MEMORY_GROWTH -sEXIT_RUNTIME -sFILESYSTEM=0
  -sEXPORTED_RUNTIME_METHODS=ENV -sENVIRONMENT=web -sDYNAMIC_EXECUTION=0
  -sMALLOC=emmalloc -sTEXTDECODER=2 -Wl,--wrap=exit -Wl,--wrap=SDL_WaitEvent
  -Wl,--wrap=IMG_Load -Wl,--wrap=IMG_Init -Wl,--wrap=eglGetProcAddress
  -Wl,--wrap=SDL_CreateRenderer --closure 1
  -sINCOMING_MODULE_JS_API=canvas,preRun,print,printErr,onExit,onAbort,instantiateWasm
  -sGL_POOL_TEMP_BUFFERS=0 -sGL_TRACK_ERRORS=0 -sGL_SUPPORT_AUTOMATIC_ENABLE_EXTENSIONS=0
  -sGL_SUPPORT_SIMPLE_ENABLE_EXTENSIONS=0
  -sHTML5_SUPPORT_DEFERRING_USER_SENSITIVE_REQUESTS=0 -sBINARYEN_EXTRA_PASSES=-Oz)

# The minifiers, which tools/web.sh installs with npm ci from
# web/package-lock.json. Emscripten runs Closure Compiler from where
# EM_CLOSURE_COMPILER names it (Debian's configuration names Debian's own
# closure-compiler, a build of 2013 too old for Emscripten 3.1.6's options);
# terser then minifies Closure's output further.
set(ZORVANE_NODE_TOOLS "" CACHE PATH "node_modules holding the pinned minifiers (tools/web.sh sets it)")
if(NOT EXISTS "${ZORVANE_NODE_TOOLS}/google-closure-compiler-linux/compiler"
    OR NOT EXISTS "${ZORVANE_NODE_TOOLS}/terser/bin/terser")
  message(FATAL_ERROR "ZORVANE_NODE_TOOLS must name the node_modules that tools/web.sh installs")
endif()
find_program(ZORVANE_NODE node REQUIRED)
set(closure_env ${CMAKE_COMMAND} -E env
  EM_CLOSURE_COMPILER=${ZORVANE_NODE_TOOLS}/google-closure-compiler-linux/compiler)
list(JOIN closure_env " " closure_env)

# TARGET, linked as a browser program: with the shims, liblzma and the
# options above, Closure Compiler found where EM_CLOSURE_COMPILER names it.
# Further arguments are further link options.
function(zorvane_web_program target)
  target_sources(${target} PRIVATE ${ZORVANE_WEB_SHIMS})
  target_link_libraries(${target} PRIVATE zorvane_lzma)
  target_link_options(${target} PRIVATE ${ZORVANE_WEB_LINK} ${ARGN})
  set_target_properties(${target} PROPERTIES RULE_LAUNCH_LINK "${closure_env}")
endfunction()

# The same program linked again, into FOLDER, with further link options;
# made only when named.
function(zorvane_web_variant target folder)
  add_executable(${target} EXCLUDE_FROM_ALL src/main.cpp)
  target_link_libraries(${target} PRIVATE ${ZORVANE_SDL_MAIN} zorvane_game)
  zorvane_web_program(${target} ${ARGN})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME zorvane
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${folder})
endfunction()

zorvane_web_program(zorvane)
add_custom_command(TARGET zorvane POST_BUILD
  COMMAND ${ZORVANE_NODE} ${ZORVANE_NODE_TOOLS}/terser/bin/terser zorvane.js
    --compress --mangle --output zorvane.min.js
  COMMAND ${CMAKE_COMMAND} -E rename zorvane.min.js zorvane.js
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  VERBATIM)

# Checked the same way, without terser's second pass.
zorvane_web_variant(zorvane_checked checked -sASSERTIONS)
# The same program with its functions' names kept, for bench/wasm_sizes.py.
zorvane_web_variant(zorvane_names names --profiling-funcs)

# The pictures as compressed archives (web/pack.py), of the paths the
# program asks for, resources/... as on the desktop: one of the signs, and
# one of the pictures with words for each language and input, of which the
# page fetches the one it shows (docs/WEB.md). Arguments: the archive's
# name, then SOURCE@PATH pairs, sources relative to the tree. Debian's
# Python, with its Pillow, packs them.
function(zorvane_archive name)
  list(TRANSFORM ARGN PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE pictures)
  list(TRANSFORM pictures REPLACE "@.*$" "" OUTPUT_VARIABLE sources)
  add_custom_command(
    OUTPUT ${name}.tar.lzma
    COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/web/pack.py ${name}.tar.lzma ${pictures}
    DEPENDS ${sources} web/pack.py
    VERBATIM)
endfunction()

file(GLOB_RECURSE signs CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
  ${PROJECT_SOURCE_DIR}/resources/sings/*)
list(TRANSFORM signs REPLACE "^.+$" "\\0@\\0")
zorvane_archive(signs ${signs})
set(ZORVANE_ARCHIVES ${CMAKE_CURRENT_BINARY_DIR}/signs.tar.lzma)
# English's keyboard pictures are the desktop's own; the touch variant has a
# welcome and a congratulation of its own, and shares the label strip.
foreach(code en ${ZORVANE_LANGUAGES})
  set(keyboard lang/${code})
  if(code STREQUAL "en")
    set(keyboard resources)
  endif()
  foreach(variant keyboard touch)
    set(words "")
    foreach(picture IN LISTS ZORVANE_WORD_PICTURES)
      set(from ${keyboard})
      if(variant STREQUAL "touch" AND NOT picture STREQUAL "namesGroup.png")
        set(from lang/${code}/touch)
      endif()
      list(APPEND words ${from}/${picture}@resources/${picture})
    endforeach()
    zorvane_archive(words-${code}-${variant} ${words})
    list(APPEND ZORVANE_ARCHIVES ${CMAKE_CURRENT_BINARY_DIR}/words-${code}-${variant}.tar.lzma)
  endforeach()
endforeach()
add_custom_target(zorvane_data ALL DEPENDS ${ZORVANE_ARCHIVES})

# The page with its language menu, and each language's page strings, from
# po/ by gettext's tools (web/strings.py).
set(ZORVANE_PAGE ${CMAKE_CURRENT_BINARY_DIR}/index.html)
set(translations "")
foreach(code en ${ZORVANE_LANGUAGES})
  list(APPEND ZORVANE_PAGE ${CMAKE_CURRENT_BINARY_DIR}/strings-${code}.json)
  if(NOT code STREQUAL "en")
    list(APPEND translations po/${code}.po)
  endif()
endforeach()
add_custom_command(
  OUTPUT ${ZORVANE_PAGE}
  COMMAND python3 ${PROJECT_SOURCE_DIR}/web/strings.py ${PROJECT_SOURCE_DIR}/web/index.html
    ${CMAKE_CURRENT_BINARY_DIR} ${ZORVANE_LANGUAGES}
  DEPENDS web/strings.py po/catalogue.py web/index.html ${translations}
  VERBATIM)
add_custom_target(zorvane_page ALL DEPENDS ${ZORVANE_PAGE})

# The page, its strings, the program, its data, the icon as the page's, the manifest that
# makes it an installable app with its icons, and last the service worker
# that keeps them, each language's once used, for offline play.
install(FILES ${ZORVANE_PAGE} web/page.css web/page.js web/offline.js web/graphics.js web/manifest.webmanifest
  art/icon/icon-192.png art/icon/icon-512.png art/icon/icon-maskable-512.png
  $<TARGET_FILE:zorvane> $<TARGET_FILE_DIR:zorvane>/zorvane.wasm ${ZORVANE_ARCHIVES}
  DESTINATION .)
install(FILES art/icon/zorvane.ico DESTINATION . RENAME favicon.ico)
install(CODE "set(SITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(WORKER \"${PROJECT_SOURCE_DIR}/web/sw.js\")")
install(SCRIPT cmake/WebCache.cmake)
