# The Debian package: `cpack -G DEB` in a Release build tree makes vocarta_<version>_amd64.deb from
# what `cmake --install` installs. Its dependencies come from the libraries the program and its
# modules link (dpkg-shlibdeps), so they follow the build machine's Debian release.

set(VOCARTA_APP_ID org.vocarta.vocarta)
set(VOCARTA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vocarta)

# The version's date comes from the release list in the metainfo, the one place it is written.
file(READ ${CMAKE_SOURCE_DIR}/packaging/${VOCARTA_APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${PROJECT_VERSION}\" date=\"([0-9-]+)\"")
    message(FATAL_ERROR "packaging/${VOCARTA_APP_ID}.metainfo.xml lists no release ${PROJECT_VERSION}")
endif()
set(release_date ${CMAKE_MATCH_1})

install(FILES packaging/${VOCARTA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${VOCARTA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/${VOCARTA_APP_ID}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/copyright DESTINATION ${VOCARTA_DOC_DIR})

# The change log of a native package and the manual page, which Debian wants compressed with
# neither name nor time inside.
find_program(GZIP_PROGRAM gzip REQUIRED)
execute_process(COMMAND date -u -R -d "${release_date} 12:00" OUTPUT_VARIABLE changelog_time
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
file(WRITE ${changelog}
    "vocarta (${PROJECT_VERSION}) stable; urgency=medium\n\n"
    "  * Release ${PROJECT_VERSION}; what changed is in /usr/share/vocarta/Versioni.txt.\n\n"
    " -- Vocarta developers <developers@vocarta.org>  ${changelog_time}\n")
execute_process(COMMAND ${GZIP_PROGRAM} -9nf ${changelog} COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${changelog}.gz DESTINATION ${VOCARTA_DOC_DIR})
configure_file(packaging/vocarta.1 ${CMAKE_BINARY_DIR}/packaging/vocarta.1 COPYONLY)
execute_process(COMMAND ${GZIP_PROGRAM} -9nf ${CMAKE_BINARY_DIR}/packaging/vocarta.1
    COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/vocarta.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vocarta)
set(CPACK_PACKAGE_VENDOR "The Vocarta authors")
set(CPACK_PACKAGE_CONTACT "Vocarta developers <developers@vocarta.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "transcription player with a keyboard-driven transcript editor")
set(CPACK_PACKAGE_DESCRIPTION
    "Vocarta is made for people who transcribe recorded lectures, interviews,
meetings and dictations. A small player plays the recording in slices while
you type: every pause steps back a few seconds, skips go back and forward by
the seconds you choose, and the speed changes without changing the pitch.

A rich-text transcript editor whose keys drive the player, timestamps,
bookmarks for every recording, USB foot pedals, a WAV recorder with level
meters, and an interface in eight languages.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.vocarta.org")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
include(CPack)
