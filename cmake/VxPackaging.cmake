# Installation and the Debian package.
#
# The package is checked by lintian and appstreamcli (tests/package/install_check.sh), so
# everything here follows Debian's policy for a binary package. A new program needs no
# edit in this file to stay clean: its install(TARGETS) is stripped with the rest, its
# libraries are found by dpkg-shlibdeps, and its page docs/man/NAME.1 is installed.
# (GNUInstallDirs is included in the top CMakeLists.txt, before the parts' own install()
# rules.)
install(TARGETS vx2968 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vx-logger-sim)
  install(TARGETS vx-logger-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${CMAKE_SOURCE_DIR}/assets/vx2968.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/assets/vx2968.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/assets/vx2968.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/assets/banner.png ${CMAKE_SOURCE_DIR}/assets/logo.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vx2968/pictures)
install(FILES ${CMAKE_SOURCE_DIR}/docs/simulator.md ${CMAKE_SOURCE_DIR}/docs/lot-file.md
              ${CMAKE_SOURCE_DIR}/README.md
              ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vx2968)

# Manual pages and the changelog go compressed the way dh_compress does it: gzip -9n,
# best compression and no name or time stamp, so the same text always gives the same
# bytes. Every page in docs/man is installed, in the section its suffix names.
find_program(VX_GZIP gzip REQUIRED)
# The package's version is the project's; its changelog must have an entry for it.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog vx_changelog_top LIMIT_COUNT 1)
if(NOT vx_changelog_top MATCHES "^vx2968 \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins \"${vx_changelog_top}\"; "
                      "version ${PROJECT_VERSION} needs its entry at the top")
endif()
file(GLOB vx_man_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/*.[1-8])
set(vx_compressed)
foreach(page IN LISTS vx_man_pages ITEMS ${CMAKE_SOURCE_DIR}/packaging/changelog)
  get_filename_component(name ${page} NAME)
  set(out ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${out}
                     COMMAND ${CMAKE_COMMAND} -E copy ${page} ${CMAKE_BINARY_DIR}/compressed/${name}
                     COMMAND ${VX_GZIP} -9nf ${CMAKE_BINARY_DIR}/compressed/${name}
                     DEPENDS ${page} VERBATIM)
  list(APPEND vx_compressed ${out})
  if(page MATCHES "/packaging/changelog$")
    # Debian's name for the changelog of a native package (no Debian revision).
    install(FILES ${out} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vx2968)
  else()
    string(REGEX MATCH "[1-8]$" section ${name})
    install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
  endif()
endforeach()
add_custom_target(vx_compressed_docs ALL DEPENDS ${vx_compressed})

# The font aliases, enabled the way Debian's font packages enable theirs: the file in
# conf.avail and a link to it in /etc/fonts/conf.d, both part of the package (no scripts).
# The link crosses from /etc into /usr, so policy wants it absolute.
set(vx_fontconf 65-vx2968-fonts.conf)
install(FILES ${CMAKE_SOURCE_DIR}/assets/fontconfig/${vx_fontconf}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fontconf-link)
file(CREATE_LINK /usr/share/fontconfig/conf.avail/${vx_fontconf}
     ${CMAKE_BINARY_DIR}/fontconf-link/${vx_fontconf} SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/fontconf-link/${vx_fontconf} DESTINATION /etc/fonts/conf.d)

# The project has no mail domain of its own yet; example.org stands for it (also in
# packaging/ and the AppStream id) until it has. A builder names the real maintainer here.
set(VX_PACKAGE_MAINTAINER "VX-2968 developers <vx2968@vx2968.example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vx2968)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "data recorder for the falling-weight loading-plate test")
# Lines under 80 characters; CPack indents them as the control file wants.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "VX-2968 drives the QL-860H data logger and its PWS-500C sensor unit over an"
  "RS-232C line for the falling-weight loading-plate test (FWD) of soils and road"
  "bases. It checks the logger, shows live readings, takes the peak load and"
  "displacements of every drop, computes K-NWR and E-NWR and appends each result"
  "to a daily CSV file; it prints reports and copies tables to the clipboard."
  "Every window, message and printout is in Japanese or English."
  ""
  "The package also holds vx-logger-sim, a simulator of the logger on a"
  "pseudo-terminal, for training and service without the device.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Release binaries without their symbols (every install(TARGETS) executable is stripped).
set(CPACK_STRIP_FILES ON)
# Directory modes of the staged tree put right before it is packed.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/VxPackageTree.cmake)
# Libraries the executables link come from dpkg-shlibdeps; what they load at run time
# (the Qt platform plugins) and the fonts their pages ask for are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins (>= 6.4), qt6-translations-l10n, fontconfig, fonts-ipafont, fonts-liberation2")
include(CPack)
