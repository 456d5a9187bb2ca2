# Installing (`cmake --install build --prefix P`) and the Debian package (`cpack -G DEB` in build/).
install(TARGETS vx880-player vx880-mkcard vx880-telemetry vx880-export RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/cmake/debian/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/cmake/debian/changelog)
add_custom_target(vx_package_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vx880)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "VX-880 viewer developers <dev@vx880.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for the memory card of the VX-880QN dash camera")
set(CPACK_PACKAGE_DESCRIPTION
    "Plays the front and rear recordings of a VX-880QN dash camera card side by\n"
    "side, with the car's track on a map and its acceleration on a graph, and\n"
    "edits the camera's settings file on the card. Also holds vx880-mkcard, which\n"
    "writes a demonstration card, vx880-telemetry, which prints a recording's\n"
    "GPS and G-sensor data as CSV, GPX or a summary, and vx880-export, which\n"
    "writes a span of the drive as one video with its facts on the picture and\n"
    "a manifest of SHA-256 sums.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Libraries the programs link come from dpkg-shlibdeps (Qt's X11 platform and JPEG plugins come with its
# GUI library); what GStreamer loads at run time is named: demuxers, decoders and sinks (base, good, bad,
# libav) and the encoders of the card maker (ugly: x264enc); and the fonts of the five languages.
# Qt's Wayland platform is recommended: without it the viewer runs through XWayland.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, "
    "gstreamer1.0-plugins-ugly, gstreamer1.0-libav, gstreamer1.0-x, fonts-noto-cjk")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
