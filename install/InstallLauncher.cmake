# Run by cmake --install: writes the applications menu entry and the command
# bin/zintello for the program installed below CMAKE_INSTALL_PREFIX.
set(program "${CMAKE_INSTALL_PREFIX}/${ZINTELLO_INSTALL_PROGRAM_DIR}/zintello")
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# Exec and TryExec by the rule of the program's own autostart entry.
function(desktop_entry_value kind value variable)
  execute_process(COMMAND "${ZINTELLO_DESKTOP_ENTRY_VALUE}" ${kind} "${value}"
    OUTPUT_VARIABLE text RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot write the Desktop Entry value of ${value}")
  endif()
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()
desktop_entry_value(exec "${program}" ZINTELLO_EXEC)
desktop_entry_value(string "${program}" ZINTELLO_TRY_EXEC)
set(entry "${root}/share/applications/zintello.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${ZINTELLO_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")

# The same for the screensaver, in the list that desktop screensaver dialogs read.
set(saver "${CMAKE_INSTALL_PREFIX}/${ZINTELLO_INSTALL_PROGRAM_DIR}/ZINTELLO.scr")
desktop_entry_value(exec "${saver}" ZINTELLO_SAVER_EXEC)
desktop_entry_value(string "${saver}" ZINTELLO_SAVER_TRY_EXEC)
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
