# Install rules and the Debian package.
#
#   cmake --install build --prefix /opt/tunara      # any prefix, spaces allowed
#   scripts/package.sh                               # tunara_<version>_<arch>.deb
#
# Installed layout (relative to the prefix):
#   bin/tunara, bin/tunara-cli, bin/tunara-sim
#   share/tunara/...               the companion files: everything in resources/
#   share/applications/tunara.desktop, share/icons/hicolor/*/apps/tunara.*
#   share/metainfo/org.example.tunara.metainfo.xml   what software centres list
#   share/man/man1/tunara-cli.1.gz
#
# The program looks for its companion files beside itself first, then in
# ../share/tunara (src/app/program_folder.cpp), so the tree can move as a
# whole. The libraries are static: there is nothing else to install. A new
# companion file only has to be put into resources/.
include(GNUInstallDirs)

set(TUNARA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/tunara)

install(TARGETS tunara tunara-cli tunara-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/ DESTINATION ${TUNARA_INSTALL_DATADIR})

# Desktop menu entry and its icon in the theme's usual sizes.
set(TUNARA_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${TUNARA_PACKAGING}/tunara.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TUNARA_PACKAGING}/org.example.tunara.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${TUNARA_PACKAGING}/icons/tunara-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tunara.png)
endforeach()
install(FILES ${TUNARA_PACKAGING}/icons/tunara.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Named after the package, as Debian has it (not the project's "Tunara").
install(FILES ${TUNARA_PACKAGING}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tunara)

# tunara-cli's manual page, written from its own --help and --version.
set(tunara_man ${CMAKE_BINARY_DIR}/man/tunara-cli.1)
find_program(TUNARA_GZIP gzip)
set(tunara_man_commands
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:tunara-cli> -DNAME=tunara-cli -DOUTPUT=${tunara_man}
          -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake)
set(tunara_man_installed ${tunara_man})
if(TUNARA_GZIP)
  # -n: no name or time stamp inside, so the same help gives the same bytes.
  list(APPEND tunara_man_commands COMMAND ${TUNARA_GZIP} -9 -n -f ${tunara_man})
  set(tunara_man_installed ${tunara_man}.gz)
endif()
add_custom_command(OUTPUT ${tunara_man_installed}
  ${tunara_man_commands}
  DEPENDS tunara-cli ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
  COMMENT "Manual page tunara-cli.1 from tunara-cli --help"
  VERBATIM)
add_custom_target(tunara_manpage ALL DEPENDS ${tunara_man_installed})
install(FILES ${tunara_man_installed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# ---- Debian package (cpack -G DEB, run by scripts/package.sh) --------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tunara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tunara")
set(CPACK_PACKAGE_CONTACT "Tunara maintainers <tunara@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "link and editing tool for the Torvik-1 Zoruro ignition module")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Downloads the 264-byte EEPROM configuration of a Torvik-1 Zoruro ignition\n"
  "module over a serial line, edits its parameters and timing table, keeps\n"
  "copies in data files and uploads the edited bytes back with a read-back\n"
  "verification. Includes tunara-cli for scripting and tunara-sim, a\n"
  "simulated module.")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
# The Qt 6 libraries (and the C++ runtime) the programs link against, found
# by dpkg-shlibdeps from the binaries themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
