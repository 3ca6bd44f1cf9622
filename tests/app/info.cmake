# Tests of the info file, the poster file and the info window. The window's source is
# compiled in directly, so that the tests need only the core libraries.
zorvek_test_add(test_info
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/InfoFileTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/InfoWindowTest.cpp
        ${PROJECT_SOURCE_DIR}/src/app/frmInfo.cpp
    LIBS zorvek_common zorvek_test_support zorvek_test_main Qt6::Widgets Qt6::Network Qt6::Test)
