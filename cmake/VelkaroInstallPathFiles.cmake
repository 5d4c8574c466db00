# SPDX-License-Identifier: GPL-3.0-or-later

# Runs inside `cmake --install` (and cpack), where CMAKE_INSTALL_PREFIX is the final prefix:
# writes and installs the files that name installed paths, the menu entry and the search
# service's D-Bus activation file.
foreach(dir IN ITEMS VELKARO_BINDIR VELKARO_DATA_SUBDIR VELKARO_APPLICATIONS_DIR
        VELKARO_DBUS_SERVICES_DIR)
    if(IS_ABSOLUTE "${${dir}}")
        set(${dir}_FULL "${${dir}}")
    else()
        set(${dir}_FULL "${CMAKE_INSTALL_PREFIX}/${${dir}}")
    endif()
endforeach()

set(VELKARO_ENTRY_EXEC "${VELKARO_BINDIR_FULL}/velkaro-arama")
set(VELKARO_ENTRY_PATH "${VELKARO_DATA_SUBDIR_FULL}")
configure_file("${VELKARO_DESKTOP_TEMPLATE}" "${VELKARO_DESKTOP_OUTPUT}" @ONLY)
file(INSTALL "${VELKARO_DESKTOP_OUTPUT}" DESTINATION "${VELKARO_APPLICATIONS_DIR_FULL}")

set(VELKARO_SEARCH_EXEC "${VELKARO_BINDIR_FULL}/velkaro-arama-search")
configure_file("${VELKARO_DBUS_SERVICE_TEMPLATE}" "${VELKARO_DBUS_SERVICE_OUTPUT}" @ONLY)
file(INSTALL "${VELKARO_DBUS_SERVICE_OUTPUT}" DESTINATION "${VELKARO_DBUS_SERVICES_DIR_FULL}")
