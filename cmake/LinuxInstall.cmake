# Installing on Linux as a desktop application: the programs, the desktop entry, the AppStream
# metainfo, the icon in the hicolor theme, manual pages; `make package` builds a .deb through
# CPack; and the tests that check all of it. Included from CMakeLists.txt on Linux only.
include(GNUInstallDirs)

set(ORVANE_APP_ID "app.orvane.Orvane")
set(ORVANE_RELEASE_DATE "2026-12-07")
set(ORVANE_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 00:00:00 +0000")
set(ORVANE_PACKAGING "${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux")
set(ORVANE_GENERATED "${CMAKE_CURRENT_BINARY_DIR}/linux")
set(ORVANE_ICON_SIZES 16 22 24 32 48 64 128 256 512)

# One version for everything: the project's.
configure_file(${ORVANE_PACKAGING}/${ORVANE_APP_ID}.metainfo.xml.in
  ${ORVANE_GENERATED}/${ORVANE_APP_ID}.metainfo.xml @ONLY)
configure_file(${ORVANE_PACKAGING}/changelog.in ${ORVANE_GENERATED}/changelog @ONLY)
foreach(page orvane orvane-report)
  configure_file(${ORVANE_PACKAGING}/${page}.1.in ${ORVANE_GENERATED}/${page}.1 @ONLY)
endforeach()

# Manual pages and the changelog compressed as Debian wants them: no name or time stamp.
set(ORVANE_COMPRESSED)
foreach(file orvane.1 orvane-report.1 changelog)
  add_custom_command(OUTPUT ${ORVANE_GENERATED}/${file}.gz
    COMMAND gzip -9nkf ${ORVANE_GENERATED}/${file}
    DEPENDS ${ORVANE_GENERATED}/${file}
    COMMENT "Compressing ${file}")
  list(APPEND ORVANE_COMPRESSED ${ORVANE_GENERATED}/${file}.gz)
endforeach()

# The icon's bitmap sizes, rendered from the one SVG (render-icon: CMakeLists.txt).
set(ORVANE_ICON_PNGS)
set(ORVANE_ICON_DIRS)
set(ORVANE_ICON_ARGS)
foreach(size ${ORVANE_ICON_SIZES})
  set(png ${ORVANE_GENERATED}/icons/${size}/${ORVANE_APP_ID}.png)
  list(APPEND ORVANE_ICON_PNGS ${png})
  list(APPEND ORVANE_ICON_DIRS ${ORVANE_GENERATED}/icons/${size})
  list(APPEND ORVANE_ICON_ARGS ${size}:${png})
endforeach()
add_custom_command(OUTPUT ${ORVANE_ICON_PNGS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVANE_ICON_DIRS}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
    $<TARGET_FILE:render-icon> ${ORVANE_ICON_SVG} ${ORVANE_ICON_ARGS}
  DEPENDS render-icon ${ORVANE_ICON_SVG}
  COMMENT "Rendering the application icon")
add_custom_target(orvane-linux-files ALL DEPENDS ${ORVANE_ICON_PNGS} ${ORVANE_COMPRESSED})

# ---- what is installed --------------------------------------------------------
install(TARGETS orvane orvane-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ORVANE_PACKAGING}/${ORVANE_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVANE_GENERATED}/${ORVANE_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ORVANE_ICON_SVG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${ORVANE_ICON_SIZES})
  install(FILES ${ORVANE_GENERATED}/icons/${size}/${ORVANE_APP_ID}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${ORVANE_GENERATED}/orvane.1.gz ${ORVANE_GENERATED}/orvane-report.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ORVANE_PACKAGING}/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvane)
# Examples of a systemd user timer that records the journal hourly; installed, never enabled.
install(FILES ${ORVANE_PACKAGING}/orvane-record.service ${ORVANE_PACKAGING}/orvane-record.timer
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvane/examples)
# The package is native (its version has no Debian revision): its changelog is changelog.gz.
install(FILES ${ORVANE_GENERATED}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvane)

# ---- the Debian package: `make package` ------------------------------------------
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "orvane")
set(CPACK_PACKAGE_VENDOR "Orvane Labs")
set(CPACK_PACKAGE_CONTACT "Orvane Labs <hello@orvane.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "know your computer: hardware, battery, storage and displays")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://orvane.app")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# qt6-wayland: without it a Wayland session gets the window through X11, blurry at
# fractional scales, or none at all where there is no X11.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pci.ids, qt6-wayland")
# The extended description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Orvane is a desktop system-information viewer: one window with five pages
showing what the computer is (model, processor and cores, memory, operating
system and kernel), its battery's health and charge, every mounted volume,
processor and memory use every second, and every graphics processor with
its driver and displays.

The orvane-report command prints the same information as text or JSON.")
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")
include(CPack)

# ---- checks in `make test` -------------------------------------------------------
if(ORVANE_BUILD_TESTS)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
  find_program(APPSTREAMCLI appstreamcli REQUIRED)
  find_program(LINTIAN lintian REQUIRED)
  add_test(NAME CommandLine.WithoutADisplay
    COMMAND ${CMAKE_COMMAND} -DORVANE=$<TARGET_FILE:orvane>
      -DREPORT=$<TARGET_FILE:orvane-report> -DVERSION=${PROJECT_VERSION}
      -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CheckCommandLine.cmake)
  add_test(NAME Install.DesktopEntry
    COMMAND ${DESKTOP_FILE_VALIDATE} ${ORVANE_PACKAGING}/${ORVANE_APP_ID}.desktop)
  add_test(NAME Install.Metainfo
    COMMAND ${APPSTREAMCLI} validate --no-net
      ${ORVANE_GENERATED}/${ORVANE_APP_ID}.metainfo.xml)
  # A staging install whose files are exactly the expected ones.
  add_test(NAME Install.StagedFiles
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_CURRENT_BINARY_DIR}
      -DSTAGE=${CMAKE_CURRENT_BINARY_DIR}/install-check
      -DEXPECTED=${ORVANE_PACKAGING}/installed-files.txt
      -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CheckInstall.cmake)
  # The package built as `make package` builds it, then checked by lintian.
  add_test(NAME Install.Package
    COMMAND ${CMAKE_CPACK_COMMAND} -G DEB -B ${CMAKE_CURRENT_BINARY_DIR}/package-check
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(Install.Package PROPERTIES FIXTURES_SETUP orvane-deb)
  add_test(NAME Install.Lintian
    COMMAND ${CMAKE_COMMAND} -DLINTIAN=${LINTIAN}
      -DPACKAGE_DIR=${CMAKE_CURRENT_BINARY_DIR}/package-check
      -DPROJECT_VERSION=${PROJECT_VERSION}
      -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CheckLintian.cmake)
  set_tests_properties(Install.Lintian PROPERTIES FIXTURES_REQUIRED orvane-deb)
endif()
