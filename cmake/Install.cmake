# make install and the Debian package: the program and its tools in bin/,
# the built game data in share/velmora/, the desktop entry, icons, AppStream
# metadata, the manual page and the package's documents.
include(GNUInstallDirs)

option(VELMORA_INSTALL_ARCHIVES "Install the game data as encrypted archives" OFF)

set(VELMORA_APP_ID org.velmora.Velmora)
set(desktop_source ${CMAKE_SOURCE_DIR}/content/desktop)
set(desktop_build ${CMAKE_BINARY_DIR}/desktop)
set(data_destination ${CMAKE_INSTALL_DATADIR}/velmora)

install(TARGETS velmora velmora-playtest velmora-replay RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The data folders as the content build leaves them; saves the build tree's
# game may have written beside them stay behind.
if(VELMORA_INSTALL_ARCHIVES)
  set(archives)
  foreach(part Graphics Sounds Data)
    list(APPEND archives ${desktop_build}/${part}.dat)
    add_custom_command(OUTPUT ${desktop_build}/${part}.dat
      COMMAND velmora-pack ${VELMORA_GAME_DIR}/${part} ${desktop_build}/${part}.dat
      DEPENDS velmora-pack game_data
      COMMENT "Packing ${part}.dat"
      VERBATIM)
  endforeach()
  add_custom_target(install_archives ALL DEPENDS ${archives})
  install(FILES ${archives} DESTINATION ${data_destination})
  install(DIRECTORY ${VELMORA_GAME_DIR}/Fonts DESTINATION ${data_destination})
else()
  install(DIRECTORY ${VELMORA_GAME_DIR}/Graphics ${VELMORA_GAME_DIR}/Sounds ${VELMORA_GAME_DIR}/Data
                    ${VELMORA_GAME_DIR}/Fonts
          DESTINATION ${data_destination})
endif()

# Icons rendered from the SVG, the manual page and the changelog compressed
# the way Debian wants them.
set(icon_sizes 16 22 24 32 48 64 128 256)
set(icon_files)
foreach(size ${icon_sizes})
  list(APPEND icon_files ${desktop_build}/icons/${size}x${size}/apps/velmora.png)
endforeach()
add_custom_command(OUTPUT ${icon_files}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:velmora-pictures> icons ${desktop_source}/velmora.svg ${desktop_build}/icons
  DEPENDS velmora-pictures ${desktop_source}/velmora.svg
  COMMENT "Rendering the icons"
  VERBATIM)
foreach(page velmora.6 velmora-playtest.1 velmora-replay.1 changelog)
  add_custom_command(OUTPUT ${desktop_build}/${page}.gz
    COMMAND gzip -9n -c ${desktop_source}/${page} > ${desktop_build}/${page}.gz
    DEPENDS ${desktop_source}/${page})
endforeach()
add_custom_target(desktop_files ALL
  DEPENDS ${icon_files} ${desktop_build}/velmora.6.gz ${desktop_build}/velmora-playtest.1.gz
          ${desktop_build}/velmora-replay.1.gz ${desktop_build}/changelog.gz)

install(FILES ${desktop_source}/${VELMORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_source}/${VELMORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_source}/velmora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${icon_sizes})
  install(FILES ${desktop_build}/icons/${size}x${size}/apps/velmora.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${desktop_build}/velmora.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${desktop_build}/velmora-playtest.1.gz ${desktop_build}/velmora-replay.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${desktop_source}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmora)
install(FILES ${desktop_build}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velmora)
install(FILES ${desktop_source}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME velmora)

# make deb: the same files as a Debian package for /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Velmora team")
set(CPACK_PACKAGE_CONTACT "The Velmora team <team@velmora.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vertical-scrolling shooter through storms of bullets")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A lone fighter crosses seven stages, past the rings of Saturn and the
Moon to heaven itself, weaving through dense patterns of bullets. Three
difficulties, an Extra stage, and replays of every game.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The faces the game's font configuration names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-gothic, fonts-ipafont-mincho, fonts-dejavu-core, fonts-dejavu-extra, fonts-liberation2")
set(CPACK_STRIP_FILES ON)
include(CPack)
