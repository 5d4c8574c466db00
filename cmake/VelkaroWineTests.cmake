# SPDX-License-Identifier: GPL-3.0-or-later

# The cross-built tests run under Wine (scripts/wine-run is the CTest emulator, given as
# CMAKE_CROSSCOMPILING_EMULATOR by scripts/build-windows). Wine needs its prefix and the
# folders of the DLLs the tests load; the paths compiled into the tests need a drive,
# since a path without one resolves on the current drive, which a test may change.

# The MinGW run-time DLLs sit where the compiler finds its own libraries.
set(VELKARO_WINE_DLL_DIRS)
foreach(runtime_dll IN ITEMS libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime_dll}
        OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}")
        message(FATAL_ERROR "The MinGW compiler does not know where ${runtime_dll} is")
    endif()
    get_filename_component(runtime_dir ${runtime_path} DIRECTORY)
    list(APPEND VELKARO_WINE_DLL_DIRS ${runtime_dir})
endforeach()
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin_dir ${qt_core_dll} DIRECTORY)
list(APPEND VELKARO_WINE_DLL_DIRS ${qt_bin_dir})
list(REMOVE_DUPLICATES VELKARO_WINE_DLL_DIRS)
string(REPLACE ";" ":" VELKARO_WINE_DLL_DIRS "${VELKARO_WINE_DLL_DIRS}")

set(VELKARO_WINEPREFIX ${PROJECT_BINARY_DIR}/wineprefix CACHE PATH
    "The Wine prefix the cross-built tests run in")
# Without a console a Windows Qt program logs to the debugger, where CTest sees nothing;
# this sends the tests' output and Qt's messages to the pipe CTest reads.
# The offscreen platform on Windows reads fonts from one folder, which Qt for Windows
# does not have: the Linux tests' Liberation fonts, so that text has the same widths.
list(APPEND VELKARO_TEST_ENVIRONMENT
    QT_FORCE_STDERR_LOGGING=1
    QT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/liberation2
    VELKARO_WINEPREFIX=${VELKARO_WINEPREFIX}
    VELKARO_WINE_DLL_DIRS=${VELKARO_WINE_DLL_DIRS})

# Wine shows the build machine's root as drive Z:.
set(VELKARO_TEST_PATH_DRIVE "Z:")
