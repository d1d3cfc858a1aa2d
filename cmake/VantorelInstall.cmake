# cmake --install build --prefix P:
#   P/lib/vantorel/       the program folder, everything the build put in it
#   P/bin/vantorel, P/bin/vantorel-cli   links to the programs there
#   P/share/applications/vantorel.desktop and the icon
# The program folder is installed by content, so every engine, plug-in and
# data file a room adds to it is included. Files the program itself writes
# into a writable program folder (settings, the work folder) are left out;
# the settings come from their shipped copies instead. The installed folder
# may be read-only: the program then writes below the XDG folders.

set(VANTOREL_INSTALL_PROGRAM_DIR lib/vantorel)

install(DIRECTORY ${VANTOREL_BIN_DIR}/
  DESTINATION ${VANTOREL_INSTALL_PROGRAM_DIR}
  USE_SOURCE_PERMISSIONS
  PATTERN Temp EXCLUDE
  PATTERN Option.ini EXCLUDE
  PATTERN Subtitle.ini EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/data/Option.ini DESTINATION ${VANTOREL_INSTALL_PROGRAM_DIR})

install(CODE "
  set(launchers \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(MAKE_DIRECTORY \"\${launchers}\")
  foreach(program vantorel vantorel-cli)
    message(STATUS \"Installing: \${launchers}/\${program} -> ../${VANTOREL_INSTALL_PROGRAM_DIR}/\${program}\")
    file(CREATE_LINK ../${VANTOREL_INSTALL_PROGRAM_DIR}/\${program} \"\${launchers}/\${program}\" SYMBOLIC)
  endforeach()
")

install(FILES ${CMAKE_SOURCE_DIR}/share/applications/vantorel.desktop DESTINATION share/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/Skin/app_icon.svg
  DESTINATION share/icons/hicolor/scalable/apps RENAME vantorel.svg)

# Installs this build into a temporary prefix and runs it from there,
# read-only (scripts/test-install.sh).
if(VANTOREL_TESTS)
  add_test(NAME install_read_only COMMAND ${CMAKE_SOURCE_DIR}/scripts/test-install.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(install_read_only PROPERTIES LABELS install TIMEOUT 300)
endif()
