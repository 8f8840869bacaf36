# Locates SDL2 and SDL2_image the way SDL documents it: their CMake packages
# and imported targets first, pkg-config as the fallback. Sets
#   ZORVANE_SDL_MAIN   the entry glue (SDL2::SDL2main) where SDL has one
#   ZORVANE_SDL        SDL2 itself
#   ZORVANE_SDL_IMAGE  SDL2_image

find_package(SDL2 CONFIG QUIET)
find_package(SDL2_image CONFIG QUIET)

if(TARGET SDL2::SDL2 OR TARGET SDL2::SDL2-static)
  if(TARGET SDL2::SDL2main)
    set(ZORVANE_SDL_MAIN SDL2::SDL2main)
  endif()
  if(TARGET SDL2::SDL2)
    set(ZORVANE_SDL SDL2::SDL2)
  else()
    set(ZORVANE_SDL SDL2::SDL2-static)
  endif()
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
  set(ZORVANE_SDL PkgConfig::SDL2)
endif()

if(TARGET SDL2_image::SDL2_image)
  set(ZORVANE_SDL_IMAGE SDL2_image::SDL2_image)
elseif(TARGET SDL2_image::SDL2_image-static)
  set(ZORVANE_SDL_IMAGE SDL2_image::SDL2_image-static)
  # A static SDL2_image names the static SDL2 as its dependency. Where the
  # program links the shared SDL2, point it there instead, so that one SDL
  # is linked, not two.
  if(ZORVANE_SDL STREQUAL "SDL2::SDL2")
    set_target_properties(SDL2_image::SDL2_image-static PROPERTIES
      INTERFACE_LINK_LIBRARIES SDL2::SDL2)
  endif()
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SDL2_IMAGE REQUIRED IMPORTED_TARGET SDL2_image)
  set(ZORVANE_SDL_IMAGE PkgConfig::SDL2_IMAGE)
endif()
