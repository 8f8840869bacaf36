# The languages the game speaks besides English: po/LINGUAS, read the way
# gettext's msgfmt reads it. Codes are separated by white space, any number
# to a line; a line that starts with # is a comment. This is the one reader
# of the file: every other part of the project is handed the list.
#   include(cmake/Languages.cmake)   sets ZORVANE_LANGUAGES
#   cmake -P cmake/Languages.cmake   prints the codes, separated by spaces
# A code that is no language name (a # after a code, say, which msgfmt
# would take for a language) stops with the line that holds it.

function(zorvane_read_languages file out)
  file(STRINGS ${file} lines ENCODING UTF-8)
  set(codes "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^#")
      continue()
    endif()
    string(REGEX MATCHALL "[^ \t\r]+" words "${line}")
    foreach(code IN LISTS words)
      if(NOT code MATCHES "^[a-z][a-z][a-z]?(_[A-Z][A-Z])?(@[a-z]+)?$")
        message(FATAL_ERROR "${file}: \"${code}\" is not a language code, in the line \"${line}\" "
          "(codes are separated by white space; a comment is a line of its own, starting with #)")
      endif()
      list(APPEND codes ${code})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES codes)
  set(${out} ${codes} PARENT_SCOPE)
endfunction()

zorvane_read_languages(${CMAKE_CURRENT_LIST_DIR}/../po/LINGUAS ZORVANE_LANGUAGES)
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  list(JOIN ZORVANE_LANGUAGES " " codes)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${codes}")
endif()
