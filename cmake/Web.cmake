# The browser build (Emscripten). The game's sources are linked as they are;
# what differs is here, and docs/WEB.md says why:
#   -sASYNCIFY           SDL_WaitEvent's waits become yields to the browser
#   -sALLOW_MEMORY_GROWTH the heap grows as the pictures are decoded
#   -sEXIT_RUNTIME       exit() ends the runtime, printing what stdout holds
#   -sFORCE_FILESYSTEM   the data package, a script of its own, fills the
#                        file system before main
#   ENV exported         the page names SDL's keyboard element in preRun
#   --wrap=exit          web/exit.c: an exit that ends a suspended loop too
#   --wrap=SDL_WaitEvent web/wait.c: a wait that sleeps until an event comes
#                        instead of polling
target_sources(zorvane PRIVATE web/exit.c web/wait.c)
target_link_options(zorvane PRIVATE -sASYNCIFY -sALLOW_MEMORY_GROWTH
  -sEXIT_RUNTIME -sFORCE_FILESYSTEM -sEXPORTED_RUNTIME_METHODS=ENV
  -Wl,--wrap=exit -Wl,--wrap=SDL_WaitEvent)

# The picture set as Emscripten's preloaded data, mounted at resources/ in
# the working directory, the same relative paths as on the desktop.
file(GLOB_RECURSE ZORVANE_PICTURES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*)
add_custom_command(
  OUTPUT zorvane.data zorvane.data.js
  COMMAND ${EMSCRIPTEN_ROOT_PATH}/tools/file_packager zorvane.data
    --preload ${PROJECT_SOURCE_DIR}/resources@resources
    --js-output=zorvane.data.js --no-node
  DEPENDS ${ZORVANE_PICTURES}
  VERBATIM)
add_custom_target(zorvane_data ALL DEPENDS zorvane.data zorvane.data.js)

# The page, the program, its data, and the icon as the page's.
install(FILES web/index.html web/page.css web/page.js
  $<TARGET_FILE:zorvane> $<TARGET_FILE_DIR:zorvane>/zorvane.wasm
  ${CMAKE_CURRENT_BINARY_DIR}/zorvane.data ${CMAKE_CURRENT_BINARY_DIR}/zorvane.data.js
  DESTINATION .)
install(FILES art/icon/zorvane.ico DESTINATION . RENAME favicon.ico)
