# The version of the packages: the program's version, then the Debian release the package is
# made for (1.1.9~deb12u1), so that the packages of two releases never clash and the
# newer release's sorts higher, then "~demo" for a demo package (which a real package of the
# same version replaces).
set(ZORVEK_PACKAGE_VERSION ${PROJECT_VERSION})
if(EXISTS /etc/os-release)
    file(STRINGS /etc/os-release ZORVEK_OS_RELEASE REGEX "^(ID|VERSION_ID)=")
    set(os_id)
    set(os_version)
    foreach(line IN LISTS ZORVEK_OS_RELEASE)
        if(line MATCHES "^ID=\"?([a-z]+)\"?$")
            set(os_id ${CMAKE_MATCH_1})
        elseif(line MATCHES "^VERSION_ID=\"?([0-9]+)\"?$")
            set(os_version ${CMAKE_MATCH_1})
        endif()
    endforeach()
    if(os_id STREQUAL "debian" AND os_version)
        string(APPEND ZORVEK_PACKAGE_VERSION "~deb${os_version}u1")
    endif()
endif()
if(ZORVEK_DEMO_PACKAGE)
    string(APPEND ZORVEK_PACKAGE_VERSION "~demo")
endif()
