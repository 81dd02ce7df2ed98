# The Debian package: `cpack --preset default` after the default build, or scripts/package,
# which also checks it. Version and name come from project().
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quotino)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Quotino developers <quotino@quotino.example>")
set(CPACK_PACKAGE_VENDOR "The Quotino developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "offer calculator for a browser garden game")
set(CPACK_PACKAGE_DESCRIPTION
  "Quotino prices a customer's shopping list from the game at farm, market\n\
and customer prices, counts the points of the deal, and reports the offer\n\
in percent of each total. Market prices come from published price lists,\n\
one per game server. The program speaks German, English, Dutch and French.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A helper for players, not a game itself: Debian keeps the games section for programs in
# /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.quotino.example/)
# The Qt libraries come from the linker's view of the program; libcurl does not, as the program
# loads it on the first download (curl_easy_header, the newest call it uses, is from 7.84).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4 (>= 7.84.0)")
# Qt's own translations put the file dialog into the chosen language; without them it speaks
# English and everything else works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
