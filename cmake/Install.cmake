# What `cmake --install` (and so the Debian package) puts where.
include(GNUInstallDirs)

set(QUOTINO_APP_ID example.quotino.quotino)
set(QUOTINO_ICON_SIZES 16 22 24 32 48 64 128 256)

install(TARGETS quotino RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES res/${QUOTINO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES res/${QUOTINO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${QUOTINO_ICON_SIZES})
  install(FILES res/icons/${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${QUOTINO_APP_ID}.png)
endforeach()
install(FILES res/icons/quotino.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${QUOTINO_APP_ID}.svg)

# Manual pages are installed compressed, without a time stamp, so that the package is
# reproducible.
set(QUOTINO_GENERATED ${PROJECT_BINARY_DIR}/generated)
configure_file(res/quotino.1.in ${QUOTINO_GENERATED}/quotino.1 @ONLY)
configure_file(res/debian/changelog.in ${QUOTINO_GENERATED}/changelog @ONLY)
configure_file(README.md ${QUOTINO_GENERATED}/README.md COPYONLY)
foreach(page quotino.1 changelog README.md)
  add_custom_command(OUTPUT ${QUOTINO_GENERATED}/${page}.gz
    COMMAND gzip -9 -n -c ${QUOTINO_GENERATED}/${page} > ${QUOTINO_GENERATED}/${page}.gz
    DEPENDS ${QUOTINO_GENERATED}/${page}
    VERBATIM)
endforeach()
add_custom_target(quotino_docs ALL DEPENDS ${QUOTINO_GENERATED}/quotino.1.gz
  ${QUOTINO_GENERATED}/changelog.gz ${QUOTINO_GENERATED}/README.md.gz)
install(FILES ${QUOTINO_GENERATED}/quotino.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The copyright file carries the licence, as Debian wants it.
install(FILES res/debian/copyright ${QUOTINO_GENERATED}/changelog.gz
  ${QUOTINO_GENERATED}/README.md.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
