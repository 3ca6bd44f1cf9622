# Read by cpack for each generator. The zip takes the program with its libraries and licences
# and the portable levelshots folder beside the program; the installer takes the program with
# its libraries and licences, and makes the levelshots folder of the install folder itself
# (CPACK_NSIS_EXTRA_INSTALL_COMMANDS: NSIS carries no empty folders).
list(GET CPACK_INSTALL_CMAKE_PROJECTS 0 zorvek_build)
if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_INSTALL_CMAKE_PROJECTS "${zorvek_build};zorvek;Unspecified;/;${zorvek_build};zorvek;portable;/")
elseif(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_INSTALL_CMAKE_PROJECTS "${zorvek_build};zorvek;Unspecified;/")
    # zorvek-<version>-win64-setup.exe: a user looks for "setup".
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
