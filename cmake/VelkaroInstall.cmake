# SPDX-License-Identifier: GPL-3.0-or-later

# Install layout: the program in bin, everything it reads from its working directory
# (AnaData/ and the help file) in one data folder, and the desktop integration files.
include(GNUInstallDirs)

set(VELKARO_DATA_SUBDIR ${VELKARO_DATA_INSTALL_DIR})

install(FILES ${PROJECT_SOURCE_DIR}/AnaData/Velkaro.mdb ${PROJECT_SOURCE_DIR}/AnaData/vuk_list.csv
    DESTINATION ${VELKARO_DATA_SUBDIR}/AnaData)
install(FILES ${PROJECT_SOURCE_DIR}/yardim DESTINATION ${VELKARO_DATA_SUBDIR})

foreach(size IN ITEMS 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/velkaro-arama-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME velkaro-arama.png)
endforeach()

# The licence, where Debian looks for a package's: the full GPL text is the system's own
# (/usr/share/common-licenses/GPL-3), as the file says.
install(FILES ${PROJECT_SOURCE_DIR}/resources/copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velkaro-arama)

configure_file(${PROJECT_SOURCE_DIR}/resources/${VELKARO_APP_ID}.metainfo.xml.in
    ${PROJECT_BINARY_DIR}/resources/${VELKARO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/resources/${VELKARO_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The entry's Exec and Path, and the search service's Exec, are written when installing,
# not when configuring: cpack and `cmake --install --prefix` choose the prefix only then,
# and a menu entry that starts the program in a folder without AnaData/ opens no list at
# all.
set(VELKARO_DESKTOP_TEMPLATE ${PROJECT_SOURCE_DIR}/resources/${VELKARO_APP_ID}.desktop.in)
set(VELKARO_DBUS_SERVICE_TEMPLATE
    ${PROJECT_SOURCE_DIR}/resources/${VELKARO_SEARCH_BUS_NAME}.service.in)
install(CODE "
    set(VELKARO_DESKTOP_TEMPLATE \"${VELKARO_DESKTOP_TEMPLATE}\")
    set(VELKARO_DESKTOP_OUTPUT \"${PROJECT_BINARY_DIR}/install-time/${VELKARO_APP_ID}.desktop\")
    set(VELKARO_DBUS_SERVICE_TEMPLATE \"${VELKARO_DBUS_SERVICE_TEMPLATE}\")
    set(VELKARO_DBUS_SERVICE_OUTPUT
        \"${PROJECT_BINARY_DIR}/install-time/${VELKARO_SEARCH_BUS_NAME}.service\")
    set(VELKARO_SEARCH_BUS_NAME \"${VELKARO_SEARCH_BUS_NAME}\")
    set(VELKARO_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    set(VELKARO_DATA_SUBDIR \"${VELKARO_DATA_SUBDIR}\")
    set(VELKARO_APPLICATIONS_DIR \"${CMAKE_INSTALL_DATADIR}/applications\")
    set(VELKARO_DBUS_SERVICES_DIR \"${CMAKE_INSTALL_DATADIR}/dbus-1/services\")
")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/VelkaroInstallPathFiles.cmake)

# The desktop's own search finds rates through the service: GNOME Shell reads the
# provider file, KRunner its D-Bus plugin file; both name the service's bus name.
configure_file(${PROJECT_SOURCE_DIR}/resources/${VELKARO_APP_ID}.search-provider.ini.in
    ${PROJECT_BINARY_DIR}/resources/${VELKARO_APP_ID}.search-provider.ini @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/resources/${VELKARO_APP_ID}.search-provider.ini
    DESTINATION ${CMAKE_INSTALL_DATADIR}/gnome-shell/search-providers)
configure_file(${PROJECT_SOURCE_DIR}/resources/${VELKARO_APP_ID}.krunner.desktop.in
    ${PROJECT_BINARY_DIR}/resources/${VELKARO_APP_ID}.krunner.desktop @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/resources/${VELKARO_APP_ID}.krunner.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/krunner/dbusplugins RENAME ${VELKARO_APP_ID}.desktop)

if(VELKARO_BUILD_TESTS)
    # A copy for the validators, with the prefix known now; the installed entry differs
    # only in Exec and Path.
    set(VELKARO_ENTRY_EXEC ${CMAKE_INSTALL_FULL_BINDIR}/velkaro-arama)
    set(VELKARO_ENTRY_PATH ${CMAKE_INSTALL_PREFIX}/${VELKARO_DATA_SUBDIR})
    configure_file(${VELKARO_DESKTOP_TEMPLATE}
        ${PROJECT_BINARY_DIR}/resources/${VELKARO_APP_ID}.desktop @ONLY)

    find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
    if(DESKTOP_FILE_VALIDATE)
        add_test(NAME desktop_entry_valid COMMAND ${DESKTOP_FILE_VALIDATE}
            ${PROJECT_BINARY_DIR}/resources/${VELKARO_APP_ID}.desktop)
    else()
        message(STATUS "desktop-file-validate not found: the desktop entry is not checked")
    endif()
    find_program(APPSTREAMCLI appstreamcli)
    if(APPSTREAMCLI)
        add_test(NAME metainfo_valid COMMAND ${APPSTREAMCLI} validate --no-net
            ${PROJECT_BINARY_DIR}/resources/${VELKARO_APP_ID}.metainfo.xml)
    else()
        message(STATUS "appstreamcli not found: the AppStream metainfo is not checked")
    endif()
    add_test(NAME install_layout COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/check-install.sh
        ${PROJECT_BINARY_DIR} ${VELKARO_APP_ID})
    set_tests_properties(install_layout PROPERTIES TIMEOUT 120 RESOURCE_LOCK install_tree)
    find_program(DBUS_RUN_SESSION dbus-run-session)
    find_program(GDBUS gdbus)
    if(DBUS_RUN_SESSION AND GDBUS)
        add_test(NAME install_search
            COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/check-search-install.sh
            ${PROJECT_BINARY_DIR} ${VELKARO_APP_ID})
        set_tests_properties(install_search PROPERTIES TIMEOUT 120 RESOURCE_LOCK install_tree)
    else()
        message(STATUS "dbus-run-session or gdbus not found: the installed search service is not checked")
    endif()
    # AddressSanitizer and UBSan store every checked source file's full name in the code
    # (GCC ignores -ffile-prefix-map there), so a sanitizer build always names its folders;
    # it is never shipped, and the check belongs to the builds that are.
    if(NOT VELKARO_SANITIZE)
        add_test(NAME install_paths
            COMMAND ${PROJECT_SOURCE_DIR}/tests/e2e/check-install-paths.sh
            ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR} ${CMAKE_INSTALL_FULL_BINDIR}
            ${VELKARO_PLUGIN_DIR_FROM_PROGRAM})
        set_tests_properties(install_paths PROPERTIES TIMEOUT 120 RESOURCE_LOCK install_tree)
    endif()
endif()
