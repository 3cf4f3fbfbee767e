# The Debian package, made by scripts/package.sh with `cpack -G DEB` in a release build.
# Depends is computed from the binaries by dpkg-shlibdeps; the copyright file and the
# changelog are added, and the manual pages compressed, in the staging folder by
# StageDebianDocs.cmake, so `cmake --install` alone stays the plain tree.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tintwave)
set(CPACK_PACKAGE_VENDOR "Tintwave developers")
set(CPACK_PACKAGE_CONTACT "Tintwave developers <hello@tintwave.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn a line of text into gradient-coloured HTML")
# Lines of at most 80 characters: Debian shows them as they are.
set(CPACK_PACKAGE_DESCRIPTION
  "Tintwave turns a line of text into HTML in which the colour of the letters
runs as a gradient through up to ten colours: classic font tags, HTML5 spans,
BBCode for forums or 24-bit terminal colours. The desktop program shows a live
preview, offers 23 preset colour schemes and the user's own saved ones, copies
the code to the clipboard and saves it as an HTML page. The tintwave-cli
command does the same work for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tintwave.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_TINTWAVE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/StageDebianDocs.cmake)
include(CPack)
