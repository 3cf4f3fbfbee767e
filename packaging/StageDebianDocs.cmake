# Run by CPack in the staging folder before the .deb is made: Debian wants the manual
# pages compressed, usr/share/doc/<package>/ to hold the copyright file and the
# changelog, none of which belongs in a plain `cmake --install` tree, and the binaries
# without the compiler's notes (as dh_strip leaves them).
set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT EXISTS ${root}/bin/tintwave-cli)
  message(FATAL_ERROR "no staged files under ${root}")
endif()
set(doc ${root}/share/doc/${CPACK_PACKAGE_NAME})
file(MAKE_DIRECTORY ${doc})
file(COPY ${CPACK_TINTWAVE_PACKAGING_DIR}/copyright ${CPACK_TINTWAVE_PACKAGING_DIR}/changelog
     DESTINATION ${doc})
file(GLOB pages ${root}/share/man/man1/*.1)
# -n: no name or time stamp inside, so the package is the same from build to build.
execute_process(COMMAND gzip -9n ${pages} ${doc}/changelog COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND strip --remove-section=.comment --remove-section=.note
                        ${root}/bin/tintwave ${root}/bin/tintwave-cli COMMAND_ERROR_IS_FATAL ANY)
