# The Debian package of the installed program (scripts/package.sh runs cpack with it):
# what `cmake --install` puts under the prefix, with the dependencies dpkg-shlibdeps finds.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvek)
set(CPACK_PACKAGE_VERSION ${ZORVEK_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "Halmund")
set(CPACK_PACKAGE_CONTACT "${ZORVEK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "browser for the game servers of five Call of Duty titles")
# The extended description; the summary above is its first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zorvek lists the multiplayer servers of Call of Duty: World at War, Call of
Duty 4: Modern Warfare, Call of Duty: United Offensive, Call of Duty and Call
of Duty 2, asks each of them for its status and shows game type, map, settings
and players. It shows the selected server's map picture and players, finds
players by name and joins a server by starting the installed game client
through Wine. The interface is in Czech.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A network tool beside the games, not a game: Debian's games section wants its programs in
# /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZORVEK_WEB_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The game clients are Windows programs started through wine; web links open with xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine, xdg-utils")
include(CPack)
