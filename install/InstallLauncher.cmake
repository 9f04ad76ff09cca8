# Run by cmake --install: writes the applications menu entry and the command
# bin/zintello for the program installed below CMAKE_INSTALL_PREFIX.
set(program "${CMAKE_INSTALL_PREFIX}/${ZINTELLO_INSTALL_PROGRAM_DIR}/zintello")
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# Exec quotes the path, escaping what desktop entries reserve inside quotes
# (each escape's backslash itself doubled, as the file format asks).
set(quoted "${program}")
string(REPLACE "\\" "\\\\\\\\" quoted "${quoted}")
foreach(reserved "\"" "`" "$")
  string(REPLACE "${reserved}" "\\\\${reserved}" quoted "${quoted}")
endforeach()
set(ZINTELLO_EXEC "\"${quoted}\"")
string(REPLACE "\\" "\\\\" ZINTELLO_TRY_EXEC "${program}")
set(entry "${root}/share/applications/zintello.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${ZINTELLO_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")

# The same for the screensaver, in the list that desktop screensaver dialogs read.
string(REPLACE "/zintello\"" "/ZINTELLO.scr\"" ZINTELLO_SAVER_EXEC "${ZINTELLO_EXEC}")
string(REGEX REPLACE "/zintello$" "/ZINTELLO.scr" ZINTELLO_SAVER_TRY_EXEC "${ZINTELLO_TRY_EXEC}")
set(saver_entry "${root}/share/applications/screensavers/zintello-screensaver.desktop")
message(STATUS "Installing: ${saver_entry}")
configure_file("${ZINTELLO_SAVER_DESKTOP_TEMPLATE}" "${saver_entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${saver_entry}")

set(command "${root}/bin/zintello")
file(MAKE_DIRECTORY "${root}/bin")
file(RELATIVE_PATH target "${CMAKE_INSTALL_PREFIX}/bin" "${program}")
message(STATUS "Installing: ${command} -> ${target}")
file(REMOVE "${command}")
file(CREATE_LINK "${target}" "${command}" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${command}")
