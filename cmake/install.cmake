# Installation into the standard places of the platform, and the Debian package built from it.
include(GNUInstallDirs)

set(QZ300_APP_ID io.github.qz300.qz300)

set(qz300_programs qz300 qz300-cli)
if(TARGET qz300-fakeradio)
    list(APPEND qz300_programs qz300-fakeradio)
endif()
# The programs link Qt from the system and no library of their own: no run path to carry.
set_target_properties(${qz300_programs} PROPERTIES INSTALL_RPATH "")
install(TARGETS ${qz300_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
    # The release date is the build date unless SOURCE_DATE_EPOCH pins it for a reproducible build.
    string(TIMESTAMP QZ300_RELEASE_DATE "%Y-%m-%d" UTC)
    configure_file(${PROJECT_SOURCE_DIR}/data/${QZ300_APP_ID}.metainfo.xml.in
                   ${PROJECT_BINARY_DIR}/data/${QZ300_APP_ID}.metainfo.xml @ONLY)

    install(FILES ${PROJECT_SOURCE_DIR}/data/${QZ300_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_BINARY_DIR}/data/${QZ300_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${PROJECT_SOURCE_DIR}/src/window/ui/resources/qz300.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${QZ300_APP_ID}.svg)
    install(FILES ${PROJECT_SOURCE_DIR}/src/window/ui/resources/qz300-32.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
            RENAME ${QZ300_APP_ID}.png)
endif()

# cpack -G DEB (or the "package" target) builds qz300_<version>_<arch>.deb.
set(QZ300_PACKAGE_MAINTAINER "QZ300 maintainers <qz300@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_PACKAGE_NAME qz300)
set(CPACK_PACKAGE_VENDOR "QZ300")
set(CPACK_PACKAGE_CONTACT "${QZ300_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "channel programmer for the QZ300 handheld radio")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Reads the 16 channels of a QZ300 handheld radio over its programming cable"
    "into a table, edits the receive and transmit frequencies, the beat-frequency"
    "shift and the squelch level, writes the table back into the radio and keeps"
    "channel sets in text files. The user interface is Chinese.")
set(CPACK_STRIP_FILES ON)
if(NOT CPACK_GENERATOR AND UNIX AND NOT APPLE)
    set(CPACK_GENERATOR DEB)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The SQLite driver is a plugin, the CJK fonts and Qt's translations (the standard dialogs in
# Chinese) are data: no linker dependency names them. The xcb platform plugin ships in libqt6gui6.
set(qz300_runtime_depends libqt6sql6-sqlite fonts-arphic-ukai fonts-arphic-uming qt6-translations-l10n)
find_program(QZ300_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(QZ300_FILE file)
if(QZ300_DPKG_SHLIBDEPS AND QZ300_FILE)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    list(PREPEND qz300_runtime_depends libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6sql6 libqt6serialport6)
endif()
list(JOIN qz300_runtime_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)

if(QZ300_BUILD_TESTS AND UNIX AND NOT APPLE)
    set(package_check_options --cpack ${CMAKE_CPACK_COMMAND})
    if(TARGET qz300-fakeradio)
        list(APPEND package_check_options --with-fakeradio)
    endif()
    add_test(NAME package_check
             COMMAND ${PROJECT_SOURCE_DIR}/tools/package-check ${package_check_options} ${PROJECT_BINARY_DIR})
    set_tests_properties(package_check PROPERTIES LABELS package TIMEOUT 600 SKIP_RETURN_CODE 77)
endif()
