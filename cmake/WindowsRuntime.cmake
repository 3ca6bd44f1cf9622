# What the Windows program needs beside it to run where it is unpacked: the Qt libraries and
# the plugins it loads (taken from Qt's imported targets), the MinGW runtime libraries that
# Qt's libraries load, and the levelshots folder with the game folders, empty. The program
# sits at the top of the install folder. Component "portable": the levelshots folder of a
# portable copy; "installed": that of an installed one; the rest is in both.

# Qt's libraries and plugins: exactly what zorvek.exe loads.
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(plugin IN ITEMS platforms:QWindowsIntegrationPlugin styles:QWindowsVistaStylePlugin imageformats:QJpegPlugin)
    string(REPLACE ":" ";" parts ${plugin})
    list(GET parts 0 folder)
    list(GET parts 1 target)
    install(IMPORTED_RUNTIME_ARTIFACTS Qt6::${target}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}/${folder} LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR}/${folder})
endforeach()

# Qt's libraries were built with MinGW's shared runtime; the compiler says where it is.
set(ZORVEK_MINGW_RUNTIME)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
        message(FATAL_ERROR "The MinGW runtime library ${dll} was not found (${CMAKE_CXX_COMPILER})")
    endif()
    file(REAL_PATH "${found}" found)
    list(APPEND ZORVEK_MINGW_RUNTIME ${found})
endforeach()
install(FILES ${ZORVEK_MINGW_RUNTIME} DESTINATION ${CMAKE_INSTALL_BINDIR})
# The folders the tests and the scripts give Wine to find the libraries without an install.
set(ZORVEK_MINGW_RUNTIME ${ZORVEK_MINGW_RUNTIME} CACHE INTERNAL "The MinGW runtime libraries")

# The levelshots folder with the game folders, empty: beside the program in a portable copy,
# where the program looks first; in the install folder's share\zorvek for an installed one,
# where it looks after the user's own %LOCALAPPDATA%\Zorvek\levelshots.
foreach(game codwaw cod4 cod1-coduo cod2)
    install(DIRECTORY DESTINATION ${CMAKE_INSTALL_BINDIR}/levelshots/${game} COMPONENT portable)
    install(DIRECTORY DESTINATION ${CMAKE_INSTALL_DATADIR}/zorvek/levelshots/${game} COMPONENT installed)
endforeach()
