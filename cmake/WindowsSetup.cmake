# The Windows setup program, which tools/windows.sh builds with makensis from
# win/setup.nsi.in. It speaks English and every language of po/LINGUAS
# through NSIS's own language files, and installs the pictures with words of
# the language chosen over the English set.
#
# A translation calls its language by its own name (the "language name"
# message of po/<code>.po), and so does NSIS's file for that language on its
# LANGFILE line: that name ties a code to its file, so that a new
# translation needs no list of ours to extend.
find_program(ZORVANE_MAKENSIS makensis REQUIRED)
execute_process(COMMAND ${ZORVANE_MAKENSIS} -HDRINFO OUTPUT_VARIABLE nsis_settings)
if(NOT nsis_settings MATCHES "NSISDIR=([^,\r\n]+)")
  message(FATAL_ERROR "${ZORVANE_MAKENSIS} -HDRINFO does not say where NSIS lies (NSISDIR)")
endif()
set(nsis_language_files "${CMAKE_MATCH_1}/Contrib/Language files")
file(GLOB nsis_headers "${nsis_language_files}/*.nsh")
foreach(header IN LISTS nsis_headers)
  # !insertmacro LANGFILE "<name>" <English name, or => "<own name>" ...
  file(STRINGS ${header} line REGEX "^!insertmacro LANGFILE " LIMIT_COUNT 1 ENCODING UTF-8)
  if(line MATCHES "^!insertmacro LANGFILE \"([^\"]+)\" (=|\"[^\"]*\") \"([^\"]+)\"")
    set("nsis_language_called_${CMAKE_MATCH_3}" ${CMAKE_MATCH_1})
  endif()
endforeach()

# makensis's File commands, one a line, for the pictures with words in FOLDER.
function(zorvane_word_picture_files folder out)
  list(TRANSFORM ZORVANE_WORD_PICTURES PREPEND "        File \"${folder}/" OUTPUT_VARIABLE lines)
  list(JOIN lines "\"\n" text)
  set(${out} "${text}\"\n" PARENT_SCOPE)
endfunction()

# Each language's pictures are copied into the build, where tools/windows.sh
# gives them the commit's time, which the setup program records.
set(codes ${ZORVANE_LANGUAGES})
list(SORT codes)
set(ZORVANE_SETUP_LANGUAGES "")
set(ZORVANE_SETUP_WORD_PICTURES "")
foreach(code IN LISTS codes)
  file(READ ${PROJECT_SOURCE_DIR}/po/${code}.po po)
  if(NOT po MATCHES "\nmsgctxt \"language name\"\nmsgid \"English\"\nmsgstr \"([^\"\n]+)\"")
    message(FATAL_ERROR "po/${code}.po does not name its language (msgctxt \"language name\", "
      "msgid \"English\"): the setup program finds NSIS's language file by that name")
  endif()
  set(own_name "${CMAKE_MATCH_1}")
  set(nsis_name "${nsis_language_called_${own_name}}")
  if(NOT nsis_name)
    message(FATAL_ERROR "po/${code}.po calls its language \"${own_name}\", and no NSIS language "
      "file in ${nsis_language_files} does on its LANGFILE line: the setup program cannot speak ${code}")
  endif()
  foreach(picture IN LISTS ZORVANE_WORD_PICTURES)
    configure_file(${PROJECT_SOURCE_DIR}/lang/${code}/${picture} setup/lang/${code}/${picture} COPYONLY)
  endforeach()
  zorvane_word_picture_files(${PROJECT_BINARY_DIR}/setup/lang/${code} files)
  string(TOUPPER ${nsis_name} id)
  string(APPEND ZORVANE_SETUP_LANGUAGES "!insertmacro MUI_LANGUAGE \"${nsis_name}\"\n")
  string(APPEND ZORVANE_SETUP_WORD_PICTURES "    \${Case} \${LANG_${id}}\n${files}")
endforeach()
zorvane_word_picture_files(\${PACKAGE}/resources files)
string(APPEND ZORVANE_SETUP_WORD_PICTURES "    \${CaseElse}\n${files}")
list(TRANSFORM ZORVANE_WORD_PICTURES PREPEND "/x " OUTPUT_VARIABLE left_out)
list(JOIN left_out " " ZORVANE_SETUP_WITHOUT_WORD_PICTURES)

configure_file(win/setup.nsi.in setup.nsi @ONLY)
