# Cross build for 64-bit Windows with MinGW-w64 (Debian g++-mingw-w64-x86-64-posix): the
# program and its tests, which then run under Wine, or the registry library alone.
# ZORVEK_QT_WINDOWS: the folder of a Qt built for Windows (scripts/build-qt-windows.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZORVEK_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${ZORVEK_MINGW_PREFIX}-gcc-posix ${ZORVEK_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ZORVEK_MINGW_PREFIX}-g++-posix ${ZORVEK_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ZORVEK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZORVEK_MINGW_PREFIX})
if(ZORVEK_QT_WINDOWS)
    list(APPEND CMAKE_FIND_ROOT_PATH ${ZORVEK_QT_WINDOWS})
    list(APPEND CMAKE_PREFIX_PATH ${ZORVEK_QT_WINDOWS})
    # Qt's tools (moc, rcc, uic) are the host's.
    set(QT_HOST_PATH /usr)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs take the C++ runtime in (the test programs run under Wine without it beside
# them); Qt's libraries bring the shared one with them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
