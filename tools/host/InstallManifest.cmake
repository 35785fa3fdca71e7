# Run by `cmake --install` (and by cpack): writes the host's manifest with the
# host's absolute path under the prefix of this installation, which is only
# known now.  DESTDIR, which cpack uses for its staging folder, is not part of
# that path; file(INSTALL) puts it in front of where the file goes.
# In: KELVANE_MANIFEST_TEMPLATE, KELVANE_MANIFEST_STAGE (a folder of the build).
set(prefix "${CMAKE_INSTALL_PREFIX}")
get_filename_component(prefix "${prefix}" ABSOLUTE)
# The path as a JSON string.
string(REPLACE "\\" "\\\\" KELVANE_HOST_PATH "${prefix}/lib/kelvane/kelvane-host")
string(REPLACE "\"" "\\\"" KELVANE_HOST_PATH "${KELVANE_HOST_PATH}")
configure_file("${KELVANE_MANIFEST_TEMPLATE}" "${KELVANE_MANIFEST_STAGE}/org.example.kelvane.json" @ONLY)
file(INSTALL DESTINATION "${prefix}/lib/mozilla/native-messaging-hosts" TYPE FILE
     FILES "${KELVANE_MANIFEST_STAGE}/org.example.kelvane.json")
