# The Debian package (cpack -G DEB in the build folder): the installed tree under /usr, its
# dependencies worked out from the binaries by dpkg-shlibdeps, the AppStream metainfo, and the
# copyright and changelog Debian expects (of a native package: no revision in the version); the
# manual page is installed compressed.
set(POOL_APP_ID "org.example.pool" CACHE STRING "AppStream component id (reverse domain name)")
set(POOL_HOMEPAGE "https://pool.example.org" CACHE STRING "Home page; holds screenshot.png")
set(POOL_MAINTAINER "Pool maintainers <maintainers@users.noreply.c-seed-2d732b2c.example>")

configure_file(pool.metainfo.xml.in ${CMAKE_CURRENT_BINARY_DIR}/${POOL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${POOL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# gzip -n keeps names and times out, so the same sources give the same package.
set(docs ${CMAKE_CURRENT_BINARY_DIR}/doc)
configure_file(changelog.in ${docs}/changelog @ONLY)
add_custom_command(OUTPUT ${docs}/changelog.gz ${docs}/pool.6.gz
                   COMMAND gzip -9nkf ${docs}/changelog
                   COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/pool.6 > ${docs}/pool.6.gz
                   DEPENDS ${docs}/changelog pool.6 VERBATIM)
add_custom_target(pool-docs ALL DEPENDS ${docs}/changelog.gz ${docs}/pool.6.gz)
install(FILES ${docs}/pool.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES copyright ${docs}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pool)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${POOL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "three-dimensional eight-ball pool for two players")
set(CPACK_PACKAGE_DESCRIPTION "A game of eight-ball on a pool table in a brick-walled room lit by a
hanging lamp, for two players taking turns at one keyboard. The balls roll,
collide, rebound from the cushions and drop into the pockets, each contact
heard as it happens, and a referee enforces the eight-ball rules.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # pool_<version>_<architecture>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${POOL_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Installed with DESTDIR under /usr, so that the desktop entry names /usr/bin/pool.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
include(CPack)
