# What `make install` and the Debian package put on the system: the game,
# the module holding its window toolkit, its menu entry, icons, AppStream
# metainfo and the manual page.
include(GNUInstallDirs)

# Where the project lives on the web; AppStream takes screenshots only as
# web addresses.
set(TERVANE_HOMEPAGE "https://github.com/tervane/tervane")
set(TERVANE_SCREENSHOT_URL "https://raw.githubusercontent.com/tervane/tervane/v${PROJECT_VERSION}/docs/scene.png")
set(TERVANE_APP_ID "io.github.tervane.tervane")

set(TERVANE_GAME "${CMAKE_INSTALL_FULL_BINDIR}/tervane")

set(dist ${PROJECT_SOURCE_DIR}/dist)
set(generated ${PROJECT_BINARY_DIR}/dist)
configure_file(${dist}/tervane.desktop.in ${generated}/tervane.desktop @ONLY)
configure_file(${dist}/tervane.metainfo.xml.in ${generated}/${TERVANE_APP_ID}.metainfo.xml @ONLY)
configure_file(${dist}/tervane.6.in ${generated}/tervane.6 @ONLY)

install(TARGETS tervane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS tervane_gtk LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/tervane)
install(FILES ${generated}/tervane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/assets/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${generated}/${TERVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${generated}/tervane.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
