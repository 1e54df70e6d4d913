# Install rules and the Debian package.
#
#   cmake --install build --prefix /opt/tunara      # any prefix, spaces allowed
#   scripts/package.sh                               # tunara_<version>_<arch>.deb
#
# Installed layout (relative to the prefix):
#   bin/tunara, bin/tunara-cli, bin/tunara-sim
#   share/tunara/...               the companion files: everything in resources/
#   share/applications/io.github.tunara.tunara.desktop
#   share/icons/hicolor/*/apps/io.github.tunara.tunara.{png,svg}
#   share/metainfo/io.github.tunara.tunara.metainfo.xml   what software centres list
#   share/man/man1/tunara.1.gz, tunara-cli.1.gz, tunara-sim.1.gz
#   share/doc/tunara/copyright, changelog.gz
#
# The program looks for its companion files beside itself first, then in
# ../share/tunara (src/app/program_folder.cpp), so the tree can move as a
# whole. The libraries are static: there is nothing else to install. A new
# companion file only has to be put into resources/.
include(GNUInstallDirs)

set(TUNARA_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/tunara)

install(TARGETS tunara tunara-cli tunara-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/ DESTINATION ${TUNARA_INSTALL_DATADIR})

# Desktop menu entry, its icon in the theme's usual sizes and the software
# centre's entry, all under the one reverse-DNS id the project owns.
set(TUNARA_APP_ID io.github.tunara.tunara)
set(TUNARA_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${TUNARA_PACKAGING}/${TUNARA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TUNARA_PACKAGING}/${TUNARA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${TUNARA_PACKAGING}/icons/tunara-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${TUNARA_APP_ID}.png)
endforeach()
install(FILES ${TUNARA_PACKAGING}/icons/tunara.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${TUNARA_APP_ID}.svg)

find_program(TUNARA_GZIP gzip)
# A file as Debian ships documentation: compressed with gzip -9, without a
# name or time stamp inside, so the same text gives the same bytes. Without
# gzip it is installed as it is.
function(tunara_compressed output out_installed)
  if(TUNARA_GZIP)
    set(${out_installed} ${output}.gz PARENT_SCOPE)
  else()
    set(${out_installed} ${output} PARENT_SCOPE)
  endif()
endfunction()

# Named after the package, as Debian has it (not the project's "Tunara").
set(TUNARA_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tunara)
install(FILES ${TUNARA_PACKAGING}/copyright DESTINATION ${TUNARA_DOCDIR})

# The package's changelog, in Debian's format. The project packages itself
# (a native package, version without a Debian revision), so it is
# changelog.gz, not changelog.Debian.gz. Its newest entry must name the
# version being built: a release without its entry is stopped here.
file(STRINGS ${TUNARA_PACKAGING}/changelog tunara_changelog_top LIMIT_COUNT 1)
if(NOT tunara_changelog_top MATCHES "^tunara \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins \"${tunara_changelog_top}\": add an entry for ${PROJECT_VERSION}")
endif()
set(tunara_changelog ${CMAKE_BINARY_DIR}/doc/changelog)
tunara_compressed(${tunara_changelog} tunara_changelog_installed)
configure_file(${TUNARA_PACKAGING}/changelog ${tunara_changelog} COPYONLY)
if(TUNARA_GZIP)
  add_custom_command(OUTPUT ${tunara_changelog_installed}
    COMMAND ${TUNARA_GZIP} -9 -n -k -f ${tunara_changelog}
    DEPENDS ${tunara_changelog} VERBATIM)
endif()
install(FILES ${tunara_changelog_installed} DESTINATION ${TUNARA_DOCDIR})

# A manual page for each program, written from its own --help and --version.
set(tunara_docs_installed ${tunara_changelog_installed})
foreach(program tunara tunara-cli tunara-sim)
  set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
  tunara_compressed(${page} page_installed)
  set(commands COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program} -DOUTPUT=${page}
                       -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake)
  if(TUNARA_GZIP)
    list(APPEND commands COMMAND ${TUNARA_GZIP} -9 -n -f ${page})
  endif()
  add_custom_command(OUTPUT ${page_installed}
    ${commands}
    DEPENDS ${program} ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
    COMMENT "Manual page ${program}.1 from ${program} --help"
    VERBATIM)
  install(FILES ${page_installed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  list(APPEND tunara_docs_installed ${page_installed})
endforeach()
add_custom_target(tunara_docs ALL DEPENDS ${tunara_docs_installed})

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
