# Installation and the Debian package.
include(GNUInstallDirs)

install(TARGETS vx2968 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vx-logger-sim)
  install(TARGETS vx-logger-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/assets/vx2968.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/assets/vx2968.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/assets/banner.png ${CMAKE_SOURCE_DIR}/assets/logo.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vx2968/pictures)
install(FILES ${CMAKE_SOURCE_DIR}/docs/simulator.md ${CMAKE_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vx2968)

# The font aliases, enabled the way Debian's font packages enable theirs: the file in
# conf.avail and a link to it in /etc/fonts/conf.d, both part of the package (no scripts).
set(vx_fontconf 65-vx2968-fonts.conf)
install(FILES ${CMAKE_SOURCE_DIR}/assets/fontconfig/${vx_fontconf}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fontconf-link)
file(CREATE_LINK ../../../usr/share/fontconfig/conf.avail/${vx_fontconf}
     ${CMAKE_BINARY_DIR}/fontconf-link/${vx_fontconf} SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/fontconf-link/${vx_fontconf} DESTINATION /etc/fonts/conf.d)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vx2968)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "VX-2968 developers <vx2968@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Data recorder for the falling-weight loading-plate test (QL-860H logger)")
set(CPACK_PACKAGE_DESCRIPTION
    "Drives the QL-860H data logger over RS-232C, computes K-NWR and E-NWR and keeps daily results files. Includes vx-logger-sim, a logger simulator for training and service.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6serialport6 (>= 6.4), libqt6printsupport6 (>= 6.4), qt6-qpa-plugins (>= 6.4), libc6, libstdc++6, fontconfig, fonts-ipafont, fonts-liberation2")
include(CPack)
