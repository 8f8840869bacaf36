# Locates SDL2 and SDL2_image the way SDL documents it: their CMake packages
# and imported targets first, pkg-config as the fallback. Sets
#   ZORVANE_SDL_MAIN   the entry glue (SDL2::SDL2main) where SDL has one
#   ZORVANE_SDL        SDL2 itself
#   ZORVANE_SDL_IMAGE  SDL2_image

# Sets VAR to the first of the shared and static imported targets that
# exists, or else to a pkg-config target for MODULE.
function(zorvane_sdl_library var shared static module)
  if(TARGET ${shared})
    set(${var} ${shared} PARENT_SCOPE)
  elseif(TARGET ${static})
    set(${var} ${static} PARENT_SCOPE)
  else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(${var}_PC REQUIRED IMPORTED_TARGET ${module})
    set(${var} PkgConfig::${var}_PC PARENT_SCOPE)
  endif()
endfunction()

find_package(SDL2 CONFIG QUIET)
find_package(SDL2_image CONFIG QUIET)

if(TARGET SDL2::SDL2main)
  set(ZORVANE_SDL_MAIN SDL2::SDL2main)
endif()
zorvane_sdl_library(ZORVANE_SDL SDL2::SDL2 SDL2::SDL2-static sdl2)
zorvane_sdl_library(ZORVANE_SDL_IMAGE SDL2_image::SDL2_image
  SDL2_image::SDL2_image-static SDL2_image)

