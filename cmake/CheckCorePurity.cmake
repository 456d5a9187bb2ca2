# Fails the build when a source of the platform-free core includes a Qt or GStreamer header.
file(GLOB_RECURSE sources "${CORE_DIR}/*.h" "${CORE_DIR}/*.cpp")
foreach(src IN LISTS sources)
  file(STRINGS "${src}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|Qt[A-Za-z]*/|qt6?/|gst/|glib|gio/|gobject/)")
  if(hits)
    message(FATAL_ERROR "${src} includes a Qt or GStreamer header: ${hits}\nThe core must stay platform-free.")
  endif()
endforeach()
