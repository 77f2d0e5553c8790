# Runs at install time, after the files are in place. CMAKE_INSTALL_PREFIX is the prefix
# installed to; DESTDIR, when set, stages the tree for a package.

# Where that prefix's bin is not on the usual PATH, as in ~/.local, the entry names the
# program by its full path, so that the desktop can start it.
set(bin "${CMAKE_INSTALL_PREFIX}/${VORLA_BINDIR}")
if(bin MATCHES "^/(usr/|usr/local/)?bin/?$")
  set(VORLA_DESKTOP_EXEC vorla)
elseif("${bin}/vorla" MATCHES "^[A-Za-z0-9/._+-]+$")
  set(VORLA_DESKTOP_EXEC "${bin}/vorla")
else()
  # Quoted as a desktop entry's Exec key requires: \ " ` $ escaped inside the quotes,
  # then every \ doubled for the string value, and % doubled for the field codes.
  string(REGEX REPLACE "([\\\"`$])" "\\\\\\1" quoted "${bin}/vorla")
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  string(REPLACE "%" "%%" quoted "${quoted}")
  set(VORLA_DESKTOP_EXEC "\"${quoted}\"")
endif()
configure_file("${VORLA_DESKTOP_IN}" "${VORLA_DESKTOP_OUT}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${VORLA_DATADIR}/applications"
     TYPE FILE FILES "${VORLA_DESKTOP_OUT}")

# A direct install (not staged for a package) updates the caches the desktop reads, so
# that the world type and the icon are known at once. Packages leave this to the
# system's triggers.
if("$ENV{DESTDIR}" STREQUAL "")
  set(share "${CMAKE_INSTALL_PREFIX}/${VORLA_DATADIR}")
  find_program(VORLA_UPDATE_MIME update-mime-database)
  find_program(VORLA_UPDATE_DESKTOP update-desktop-database)
  find_program(VORLA_UPDATE_ICONS gtk-update-icon-cache)
  if(VORLA_UPDATE_MIME)
    execute_process(COMMAND "${VORLA_UPDATE_MIME}" "${share}/mime")
  endif()
  if(VORLA_UPDATE_DESKTOP)
    execute_process(COMMAND "${VORLA_UPDATE_DESKTOP}" -q "${share}/applications")
  endif()
  if(VORLA_UPDATE_ICONS AND EXISTS "${share}/icons/hicolor/index.theme")
    execute_process(COMMAND "${VORLA_UPDATE_ICONS}" -q -t -f "${share}/icons/hicolor")
  endif()
endif()
