# macOS: Orvane.app, what the Finder and the Dock start. Its Info.plist comes from
# resources/macos/Info.plist.in; its icon is the app icon's sizes rendered with Qt into an icon
# set and turned into an .icns by iconutil. Included from CMakeLists.txt on Apple platforms.
# Its LSMinimumSystemVersion is CMAKE_OSX_DEPLOYMENT_TARGET (CMakeLists.txt).

# The languages the bundle declares (CFBundleLocalizations): English and one per catalogue, so
# that the system's menus, panels and locale follow a German Mac's language.
set(ORVANE_BUNDLE_LOCALIZATIONS "\t\t<string>en</string>")
foreach(ts ${ORVANE_TS_FILES})
  if(ts MATCHES "orvane_([A-Za-z_]+)\\.ts$")
    string(APPEND ORVANE_BUNDLE_LOCALIZATIONS "\n\t\t<string>${CMAKE_MATCH_1}</string>")
  endif()
endforeach()

set(ORVANE_ICONSET ${CMAKE_CURRENT_BINARY_DIR}/Orvane.iconset)
set(ORVANE_ICNS ${CMAKE_CURRENT_BINARY_DIR}/Orvane.icns)
set(ORVANE_ICONSET_ARGS)
foreach(size 16 32 128 256 512)
  math(EXPR double "${size} * 2")
  list(APPEND ORVANE_ICONSET_ARGS
    ${size}:${ORVANE_ICONSET}/icon_${size}x${size}.png
    ${double}:${ORVANE_ICONSET}/icon_${size}x${size}@2x.png)
endforeach()
add_custom_command(OUTPUT ${ORVANE_ICNS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVANE_ICONSET}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
    $<TARGET_FILE:render-icon> ${ORVANE_ICON_SVG} ${ORVANE_ICONSET_ARGS}
  COMMAND iconutil --convert icns --output ${ORVANE_ICNS} ${ORVANE_ICONSET}
  DEPENDS render-icon ${ORVANE_ICON_SVG}
  COMMENT "Making the application icon")
target_sources(orvane PRIVATE ${ORVANE_ICNS})
set_source_files_properties(${ORVANE_ICNS} PROPERTIES MACOSX_PACKAGE_LOCATION Resources)

set_target_properties(orvane PROPERTIES
  MACOSX_BUNDLE TRUE
  OUTPUT_NAME Orvane
  MACOSX_BUNDLE_INFO_PLIST ${CMAKE_CURRENT_SOURCE_DIR}/resources/macos/Info.plist.in
  MACOSX_BUNDLE_GUI_IDENTIFIER app.orvane.Orvane
  MACOSX_BUNDLE_BUNDLE_NAME Orvane
  MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
  MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION}
  MACOSX_BUNDLE_ICON_FILE Orvane.icns
  MACOSX_BUNDLE_COPYRIGHT "Copyright © 2026 Orvane Labs. All rights reserved.")
