# The translations: po/<code>.po for every language the game speaks, and
# their template po/zorvane.pot, which xgettext extracts from the files that
# po/POTFILES names: Python, JavaScript, the page through the ITS rules in
# po/its/, the menu entry and AppStream data through gettext's own. After a
# text changes in those files,
#   cmake --build <build folder> --target zorvane-update-po
# (po/update.sh configures a build for it) remakes the template, with the
# project's name and version in its header, and merges it into every
# catalogue.
set(po ${PROJECT_SOURCE_DIR}/po)
set(merges "")
foreach(code IN LISTS ZORVANE_LANGUAGES)
  list(APPEND merges COMMAND msgmerge --quiet --update --backup=none ${po}/${code}.po ${po}/zorvane.pot)
endforeach()
add_custom_target(zorvane-update-po
  COMMAND ${CMAKE_COMMAND} -E env GETTEXTDATADIRS=${po} xgettext --from-code=UTF-8
    --add-comments=Translators: --keyword=N_ --keyword=C_:1c,2 --keyword=pgettext:1c,2
    --keyword=translated --package-name=${PROJECT_NAME} --package-version=${PROJECT_VERSION}
    --msgid-bugs-address=none -f po/POTFILES -o po/zorvane.pot
  ${merges}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)

# msgfmt merges the translations into the menu entry and the AppStream data
# from a folder of catalogues, reading its LINGUAS: the build's own copy,
# which lists the languages read from po/LINGUAS above.
set(ZORVANE_CATALOGUES ${PROJECT_BINARY_DIR}/po)
list(JOIN ZORVANE_LANGUAGES "\n" codes)
file(CONFIGURE OUTPUT ${ZORVANE_CATALOGUES}/LINGUAS CONTENT "${codes}\n")
foreach(code IN LISTS ZORVANE_LANGUAGES)
  configure_file(${po}/${code}.po ${ZORVANE_CATALOGUES}/${code}.po COPYONLY)
endforeach()
