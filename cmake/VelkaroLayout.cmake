# SPDX-License-Identifier: GPL-3.0-or-later

# Where the program finds the web-view plugin. It loads code from one folder only, at a
# fixed path relative to its own: installed, that is the private library folder; in the
# build tree, the folder the build puts the plugin in. CMake installs and builds the
# plugin there, and the program reads the same path from the header configured here.
include(GNUInstallDirs)

set(VELKARO_PLUGIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/velkaro-arama)
file(RELATIVE_PATH VELKARO_PLUGIN_DIR_FROM_PROGRAM
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/velkaro-arama)

set(VELKARO_PROGRAM_BUILD_DIR ${PROJECT_BINARY_DIR}/src/app)
cmake_path(APPEND VELKARO_PROGRAM_BUILD_DIR ${VELKARO_PLUGIN_DIR_FROM_PROGRAM}
    OUTPUT_VARIABLE VELKARO_PLUGIN_BUILD_DIR)
cmake_path(NORMAL_PATH VELKARO_PLUGIN_BUILD_DIR)

set(VELKARO_GENERATED_INCLUDE_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/src/ui/amortana/webviewpluginfolder.h.in
    ${VELKARO_GENERATED_INCLUDE_DIR}/webviewpluginfolder.h @ONLY)

# The desktop search service: its names on the session bus, which its D-Bus, GNOME
# Shell and KRunner files repeat, and where it finds the installed list and the program,
# relative to its own folder as the program finds its plugin.
set(VELKARO_APP_ID tr.com.zelvor.VelkaroArama)
set(VELKARO_SEARCH_BUS_NAME ${VELKARO_APP_ID}.SearchProvider)
set(VELKARO_SEARCH_OBJECT_PATH /tr/com/zelvor/VelkaroArama/SearchProvider)
set(VELKARO_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/velkaro-arama)
file(RELATIVE_PATH VELKARO_DATA_DIR_FROM_PROGRAM
    ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/velkaro-arama)
# The Windows installer puts the list and the help file beside the program.
if(WIN32)
    set(VELKARO_DATA_DIR_FROM_PROGRAM .)
endif()
# The translations sit in the data folder; the build makes them at the same place relative
# to its programs, so that the build's programs find them as the installed ones do.
cmake_path(APPEND VELKARO_PROGRAM_BUILD_DIR ${VELKARO_DATA_DIR_FROM_PROGRAM} translations
    OUTPUT_VARIABLE VELKARO_TRANSLATIONS_BUILD_DIR)
cmake_path(NORMAL_PATH VELKARO_TRANSLATIONS_BUILD_DIR)
configure_file(${PROJECT_SOURCE_DIR}/src/search/searchlayout.h.in
    ${VELKARO_GENERATED_INCLUDE_DIR}/searchlayout.h @ONLY)

# The other programs of the build tree that show the main window (tests, benchmarks) sit
# in folders of their own; each such folder gets a link at the same relative path to the
# one plugin the build made.
function(velkaro_link_webview_plugin directory)
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(binary_dir DIRECTORY ${directory} PROPERTY BINARY_DIR)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(NOT type STREQUAL "EXECUTABLE")
            continue()
        endif()
        cmake_path(APPEND binary_dir ${VELKARO_PLUGIN_DIR_FROM_PROGRAM} OUTPUT_VARIABLE link)
        cmake_path(NORMAL_PATH link)
        if(NOT link STREQUAL VELKARO_PLUGIN_BUILD_DIR AND NOT EXISTS ${link}
                AND NOT IS_SYMLINK ${link})
            cmake_path(GET link PARENT_PATH parent)
            file(MAKE_DIRECTORY ${parent})
            file(CREATE_LINK ${VELKARO_PLUGIN_BUILD_DIR} ${link} SYMBOLIC)
        endif()
        break()
    endforeach()
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        velkaro_link_webview_plugin(${subdirectory})
    endforeach()
endfunction()
