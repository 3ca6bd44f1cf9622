# The Windows packages (scripts/package-windows.sh runs cpack with them): a portable zip, whose
# levelshots folder sits beside the program, and a 64-bit NSIS installer that installs under
# Program Files, whose levelshots folder in the install folder is read-only for a normal user
# (the user's own pictures go into %LOCALAPPDATA%\Zorvek\levelshots). Both carry the licence
# texts: Zorvek's (GPL-3.0-or-later) and those of the Qt libraries and the MinGW runtime they
# ship, with where Qt's source can be had.

# The licences, in a folder of their own beside the program.
set(ZORVEK_QT_SOURCES_FILE ${ZORVEK_QT_WINDOWS}/zorvek-qt-sources.txt)
if(EXISTS ${ZORVEK_QT_SOURCES_FILE})
    file(STRINGS ${ZORVEK_QT_SOURCES_FILE} ZORVEK_QT_SOURCES)
else()
    set(ZORVEK_QT_SOURCES "qt6-base ${Qt6_VERSION}")
endif()
list(JOIN ZORVEK_QT_SOURCES ", " ZORVEK_QT_SOURCE_LIST)
list(GET ZORVEK_QT_SOURCES 0 ZORVEK_QT_BASE_SOURCE)
string(REPLACE " " "=" ZORVEK_QT_APT_SOURCE "${ZORVEK_QT_BASE_SOURCE}")
configure_file(${PROJECT_SOURCE_DIR}/data/windows/THIRD-PARTY.txt.in ${PROJECT_BINARY_DIR}/THIRD-PARTY.txt @ONLY)
install(FILES ${PROJECT_SOURCE_DIR}/COPYING DESTINATION licenses RENAME COPYING.txt)
install(FILES ${PROJECT_BINARY_DIR}/THIRD-PARTY.txt DESTINATION licenses)
install(FILES ${ZORVEK_QT_WINDOWS}/LGPL-3.0-only.txt DESTINATION licenses RENAME Qt-LGPL-3.0.txt)
install(FILES ${ZORVEK_QT_WINDOWS}/qt6-base.copyright DESTINATION licenses RENAME Qt-copyright.txt)

set(CPACK_GENERATOR "ZIP;NSIS")
set(CPACK_PACKAGE_NAME zorvek)
set(CPACK_PACKAGE_VENDOR "Halmund")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zorvek: browser for the game servers of five Call of Duty titles")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Zorvek")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Zorvek")
set(ZORVEK_WINDOWS_PACKAGE zorvek-${PROJECT_VERSION})
if(ZORVEK_DEMO_PACKAGE)
    string(APPEND ZORVEK_WINDOWS_PACKAGE "-demo")
endif()
set(CPACK_PACKAGE_FILE_NAME ${ZORVEK_WINDOWS_PACKAGE}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/COPYING)
set(CPACK_STRIP_FILES ON)

# The zip has the portable layout; the installer the installed one (see that file).
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/WindowsPackagingPerGenerator.cmake)

# A 64-bit installer (CPack's default one is 32-bit), under Program Files, with a Start-menu
# entry and its uninstaller in the list of installed programs.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "Zorvek")
set(CPACK_NSIS_DISPLAY_NAME "Zorvek")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/data/icons/zorvek.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/data/icons/zorvek.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME zorvek.exe)
set(CPACK_NSIS_URL_INFO_ABOUT "${ZORVEK_WEB_URL}")
set(CPACK_NSIS_CONTACT "halmund@zorvek.example.cz")
set(CPACK_PACKAGE_EXECUTABLES zorvek "Zorvek")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
# The levelshots folder of the installation, read-only for a normal user (the user's own
# pictures go into %LOCALAPPDATA%\Zorvek\levelshots).
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  CreateDirectory '$INSTDIR\\\\share\\\\zorvek\\\\levelshots\\\\codwaw'
  CreateDirectory '$INSTDIR\\\\share\\\\zorvek\\\\levelshots\\\\cod4'
  CreateDirectory '$INSTDIR\\\\share\\\\zorvek\\\\levelshots\\\\cod1-coduo'
  CreateDirectory '$INSTDIR\\\\share\\\\zorvek\\\\levelshots\\\\cod2'
")
# Nothing of the program is left behind: the poster a run may have left in the install
# folder's levelshots folder (a run ended by force does not delete it), and the folders.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  Delete '$INSTDIR\\\\share\\\\zorvek\\\\levelshots\\\\infoposter.jpg'
  RMDir /r '$INSTDIR\\\\share'
  RMDir '$INSTDIR'
")
include(CPack)

