# cmake --install BUILD --prefix PREFIX lays out
#   PREFIX/lib/vidmo-player/        the program directory: executable, Language/,
#                                   channel/; Setting.ini is written here at run time
#   PREFIX/bin/vidmo-player         launcher
#   PREFIX/share/applications/vidmo-player.desktop
#   PREFIX/share/icons/hicolor/scalable/apps/vidmo-player.svg
# A prefix of ~/.local puts it into the user's menu, with a program directory
# the user can write to.

set(VIDMO_INSTALL_PROGRAM_DIR lib/vidmo-player)

install(TARGETS vidmo-player RUNTIME DESTINATION ${VIDMO_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/Language
        DESTINATION ${VIDMO_INSTALL_PROGRAM_DIR})
# The page tree is generated into the build's program directory.
install(DIRECTORY ${VIDMO_PROGRAM_DIR}/channel DESTINATION ${VIDMO_INSTALL_PROGRAM_DIR}
        PATTERN .generated EXCLUDE)

# The launcher finds the program directory relative to itself, so a moved
# prefix keeps working.
set(VIDMO_LAUNCHER_TO_PROGRAM ../${VIDMO_INSTALL_PROGRAM_DIR})
configure_file(${PROJECT_SOURCE_DIR}/data/desktop/vidmo-player.sh.in
               ${CMAKE_CURRENT_BINARY_DIR}/install/vidmo-player @ONLY)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/install/vidmo-player DESTINATION bin)

install(FILES ${PROJECT_SOURCE_DIR}/data/icons/vidmo-player.svg
        DESTINATION share/icons/hicolor/scalable/apps)

# Menus do not search ~/.local/bin, so the entry names the launcher by its
# full path, known only once the prefix is (cmake --install --prefix).
install(CODE "
  set(VIDMO_INSTALLED_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/bin/vidmo-player\")
  if(DEFINED ENV{DESTDIR})
    set(vidmo_dest \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  else()
    set(vidmo_dest \"\${CMAKE_INSTALL_PREFIX}\")
  endif()
  configure_file(\"${PROJECT_SOURCE_DIR}/data/desktop/vidmo-player.desktop.in\"
                 \"\${vidmo_dest}/share/applications/vidmo-player.desktop\" @ONLY)
  message(STATUS \"Installing: \${vidmo_dest}/share/applications/vidmo-player.desktop\")
")
