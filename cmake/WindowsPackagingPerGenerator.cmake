# Read by cpack for each generator: the zip takes the portable levelshots folder beside the
# program, the installer the one in its install folder's share\zorvek.
if(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_COMPONENTS_ALL Unspecified portable)
    set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
elseif(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_COMPONENTS_ALL Unspecified installed)
    set(CPACK_NSIS_COMPONENT_INSTALL OFF)
    # zorvek-<version>-win64-setup.exe: a user looks for "setup".
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
