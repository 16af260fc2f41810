# Install rules and the packages made from them with CPack:
#   cpack -G DEB   (in the Linux build)  vesk-monitor_<version>_<arch>.deb
#   cpack -G ZIP   (in the Windows build) vesk-cli.exe and its README
#
# Linux: the programs in bin/, the monitor's desktop entry and icon, the systemd unit of
# vesk-cli serve with the path the programs are installed to, the READMEs as documentation.

# Installing (and cpack) takes the programs as built, without building the whole tree with its
# tests first: build the programs, then install.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

if(WIN32)
  install(TARGETS vesk-cli RUNTIME DESTINATION .)
  install(FILES ${CMAKE_SOURCE_DIR}/cli/README.md DESTINATION . RENAME README-vesk-cli.md)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "vesk-cli-${PROJECT_VERSION}-windows-x86_64")
else()
  set(programs vesk-cli vesk-board-sim)
  if(TARGET vesk-monitor)
    list(APPEND programs vesk-monitor)
  endif()
  install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(TARGET vesk-monitor)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/vesk-monitor.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/vesk-monitor.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  endif()
  # The unit names the installed vesk-cli: the prefix is only known when installing (cpack
  # installs under its own), so the unit is written then.
  set(unit ${CMAKE_BINARY_DIR}/packaging/vesk-serve.service)
  install(CODE "
    set(VESK_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    configure_file(\"${CMAKE_SOURCE_DIR}/packaging/vesk-serve.service.in\" \"${unit}\" @ONLY)
  ")
  install(FILES ${unit} DESTINATION lib/systemd/system)
  set(doc ${CMAKE_INSTALL_DATADIR}/doc/vesk-monitor)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${doc})
  foreach(folder cli integrations packaging)
    install(FILES ${CMAKE_SOURCE_DIR}/${folder}/README.md DESTINATION ${doc}
            RENAME README-${folder}.md)
  endforeach()

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX ${VESK_PACKAGE_PREFIX})
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  # The libraries' packages, from what the programs link (dpkg-shlibdeps), and what Qt loads
  # without linking: the platform plugins that show the window.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  # The captions of the chart images are drawn in Arial's metric twin.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
endif()

set(CPACK_PACKAGE_NAME vesk-monitor)
set(CPACK_PACKAGE_VENDOR "Vesk Monitor developers")
set(CPACK_PACKAGE_CONTACT "Vesk Monitor developers <vesk-monitor@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Monitor and service tool for the environmental control board of an all-sky camera")
set(CPACK_PACKAGE_DESCRIPTION
    "Talks to the board over a serial port (a USB adapter or a built-in UART): polls and \
shows its readings, keeps a history, plots charts, exports CSV, changes the board's settings \
and posts chart images by FTP. vesk-cli is the same core on the command line, with \
vesk-cli serve, the station without a window, as a systemd service; vesk-board-sim is a \
simulated board to try it all without hardware.")
set(CPACK_STRIP_FILES ON)
include(CPack)
