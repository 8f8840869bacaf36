# Linux: the game installed like any desktop game, and its Debian package.
# The program reads its pictures from its working directory, so it goes out
# of the command path, and a launcher in the games directory starts it in
# the directory that holds them.
include(GNUInstallDirs)

set(ZORVANE_ID org.zorvane.Zorvane)
set(ZORVANE_INSTALL_GAMESDIR games CACHE PATH "Where the zorvane command goes")
set(ZORVANE_INSTALL_DATADIR ${CMAKE_INSTALL_DATAROOTDIR}/games/zorvane
  CACHE PATH "Where the pictures go, under resources/")
set(ZORVANE_INSTALL_PROGRAMDIR ${CMAKE_INSTALL_LIBEXECDIR}/zorvane
  CACHE PATH "Where the program the launcher starts goes")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE
  OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(linux ${PROJECT_SOURCE_DIR}/linux)
set(generated ${PROJECT_BINARY_DIR}/linux)

# The launcher reaches the pictures and the program by paths relative to its
# own place, so the installed tree works wherever it is unpacked.
foreach(dir GAMESDIR DATADIR PROGRAMDIR)
  get_filename_component(full_${dir} ${ZORVANE_INSTALL_${dir}} ABSOLUTE
    BASE_DIR ${CMAKE_INSTALL_PREFIX})
endforeach()
file(RELATIVE_PATH ZORVANE_LAUNCHER_TO_DATA ${full_GAMESDIR} ${full_DATADIR})
file(RELATIVE_PATH ZORVANE_LAUNCHER_TO_BINARY ${full_GAMESDIR} ${full_PROGRAMDIR}/zorvane)
configure_file(${linux}/zorvane.in ${generated}/zorvane @ONLY)

# The changelog and the AppStream data's releases are history, written by
# hand an entry a release: the version must have its entry in both, the
# changelog's first, which gives the package its version.
file(STRINGS ${linux}/changelog latest LIMIT_COUNT 1)
string(FIND "${latest}" "zorvane (${PROJECT_VERSION}) " at)
if(NOT at EQUAL 0)
  message(FATAL_ERROR "linux/changelog: its first entry, \"${latest}\", is not version "
    "${PROJECT_VERSION}'s: add an entry for this release")
endif()
file(READ ${linux}/${ZORVANE_ID}.metainfo.xml metainfo)
string(FIND "${metainfo}" "<release version=\"${PROJECT_VERSION}\"" at)
if(at EQUAL -1)
  message(FATAL_ERROR "linux/${ZORVANE_ID}.metainfo.xml: no <release version=\"${PROJECT_VERSION}\"> "
    "in its releases: add one for this release")
endif()

# Debian ships manual pages and changelogs compressed, without time stamps;
# the manual page names the project's version.
configure_file(${linux}/zorvane.6.in ${generated}/zorvane.6 @ONLY)
configure_file(${linux}/changelog ${generated}/changelog COPYONLY)
foreach(name zorvane.6 changelog)
  add_custom_command(OUTPUT ${generated}/${name}.gz
    COMMAND gzip -9nkf ${generated}/${name}
    DEPENDS ${generated}/${name} VERBATIM)
endforeach()
add_custom_target(zorvane_compressed_docs ALL
  DEPENDS ${generated}/zorvane.6.gz ${generated}/changelog.gz)

install(TARGETS zorvane RUNTIME DESTINATION ${ZORVANE_INSTALL_PROGRAMDIR})
install(PROGRAMS ${generated}/zorvane DESTINATION ${ZORVANE_INSTALL_GAMESDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources DESTINATION ${ZORVANE_INSTALL_DATADIR})

# Each translation is a folder, lang/<code>, that the launcher starts the
# game in: its resources/ holds the language's three pictures with words
# and a link to the one set of signs.
file(CREATE_LINK ../../../resources/sings ${generated}/sings SYMBOLIC)
foreach(code IN LISTS ZORVANE_LANGUAGES)
  list(TRANSFORM ZORVANE_WORD_PICTURES PREPEND ${PROJECT_SOURCE_DIR}/lang/${code}/
    OUTPUT_VARIABLE pictures)
  install(FILES ${pictures} ${generated}/sings
    DESTINATION ${ZORVANE_INSTALL_DATADIR}/lang/${code}/resources)
endforeach()
install(FILES ${generated}/zorvane.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${linux}/copyright ${generated}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zorvane)

# The menu entry and the AppStream data carry every translation, merged by
# gettext's own tools from the build's catalogues (cmake/Translations.cmake).
set(translations ${ZORVANE_CATALOGUES}/LINGUAS)
foreach(code IN LISTS ZORVANE_LANGUAGES)
  list(APPEND translations ${ZORVANE_CATALOGUES}/${code}.po)
endforeach()
add_custom_command(OUTPUT ${generated}/${ZORVANE_ID}.desktop.in ${generated}/${ZORVANE_ID}.metainfo.xml
  COMMAND msgfmt --desktop --template=${linux}/${ZORVANE_ID}.desktop.in
    -d ${ZORVANE_CATALOGUES} -o ${generated}/${ZORVANE_ID}.desktop.in
  COMMAND msgfmt --xml --template=${linux}/${ZORVANE_ID}.metainfo.xml
    -d ${ZORVANE_CATALOGUES} -o ${generated}/${ZORVANE_ID}.metainfo.xml
  DEPENDS ${linux}/${ZORVANE_ID}.desktop.in ${linux}/${ZORVANE_ID}.metainfo.xml ${translations}
  VERBATIM)
add_custom_target(zorvane_translated_entries ALL
  DEPENDS ${generated}/${ZORVANE_ID}.desktop.in ${generated}/${ZORVANE_ID}.metainfo.xml)
install(FILES ${generated}/${ZORVANE_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
foreach(px 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/art/icon/icon-${px}.png
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${px}x${px}/apps
    RENAME ${ZORVANE_ID}.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/art/icon/zorvane.svg
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
  RENAME ${ZORVANE_ID}.svg)

# The menu entry names the launcher by its absolute path, which is known only
# at install time: a package is configured for /usr/local and installed
# under /usr.
install(CODE "
  get_filename_component(ZORVANE_LAUNCHER [[${ZORVANE_INSTALL_GAMESDIR}/zorvane]]
    ABSOLUTE BASE_DIR \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file([[${generated}/${ZORVANE_ID}.desktop.in]]
    [[${generated}/${ZORVANE_ID}.desktop]] @ONLY)")
install(FILES ${generated}/${ZORVANE_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)

# The Debian package (tools/package.sh). dpkg-shlibdeps reads the program's
# run-time libraries from its dynamic section; DESTDIR staging keeps the
# install-time prefix /usr, as the menu entry needs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvane)
set(CPACK_PACKAGE_CONTACT
  "Zorvane maintainers <maintainers@users.noreply.c-seed-05b0f30c.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sorting puzzle with road signs")
set(CPACK_PACKAGE_DESCRIPTION [[
Zorvane is a small sorting puzzle played with the mouse. Twenty-seven road
signs are dealt onto a board of three rows of nine; each row carries a label
naming a family of signs. Drag a sign onto another to swap the two: the game
is won when every row holds only signs of the family on its label.]])
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
include(CPack)
