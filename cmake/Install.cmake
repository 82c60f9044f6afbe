# SPDX-License-Identifier: MIT
# Where `cmake --install` puts Vellumix, and the Debian package CPack makes of it.
include(GNUInstallDirs)
# The documentation folder is named after the package, which is lower case.
if("$CACHE{CMAKE_INSTALL_DOCDIR}" STREQUAL "")
    set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/vellumix)
endif()
set(VELLUMIX_INSTALLED_CARD ${CMAKE_INSTALL_FULL_DATADIR}/vellumix/card)
# The settings of the service that runs the program as the device's own.
set(VELLUMIX_SETTINGS ${CMAKE_INSTALL_FULL_SYSCONFDIR}/default/vellumix)

# The changelog's latest entry names the release; the other records must agree with it.
file(STRINGS ${PROJECT_SOURCE_DIR}/data/changelog changelog_head LIMIT_COUNT 1)
file(STRINGS ${PROJECT_SOURCE_DIR}/data/changelog changelog_date REGEX "^ -- " LIMIT_COUNT 1)
file(STRINGS ${PROJECT_SOURCE_DIR}/data/${VELLUMIX_ID}.metainfo.xml metainfo_release
     REGEX "<release " LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^vellumix \\(${PROJECT_VERSION}\\) "
   OR NOT metainfo_release MATCHES "version=\"${PROJECT_VERSION}\"")
    message(FATAL_ERROR "data/changelog and the metainfo's release must name ${PROJECT_VERSION}")
endif()
string(REGEX REPLACE ".*, ([0-9]+ [A-Za-z]+ [0-9]+) .*" "\\1" VELLUMIX_DATE "${changelog_date}")

# The documents Debian wants compressed, compressed without a time stamp.
find_program(VELLUMIX_GZIP gzip REQUIRED)
set(docs_dir ${PROJECT_BINARY_DIR}/docs)
configure_file(${PROJECT_SOURCE_DIR}/data/vellumix.1.in ${docs_dir}/vellumix.1 @ONLY)
function(vellumix_gzip source output)
    add_custom_command(
        OUTPUT ${docs_dir}/${output}
        COMMAND ${VELLUMIX_GZIP} -9n -c ${source} > ${docs_dir}/${output}
        DEPENDS ${source}
        VERBATIM)
    set_property(GLOBAL APPEND PROPERTY vellumix_docs ${docs_dir}/${output})
endfunction()
vellumix_gzip(${docs_dir}/vellumix.1 vellumix.1.gz)
vellumix_gzip(${PROJECT_SOURCE_DIR}/README.md README.md.gz)
vellumix_gzip(${PROJECT_SOURCE_DIR}/data/changelog changelog.gz)
get_property(compressed_docs GLOBAL PROPERTY vellumix_docs)
add_custom_target(docs ALL DEPENDS ${compressed_docs})

# The machine-readable copyright file: the one the licence checker reads, with the licence.
file(READ ${PROJECT_SOURCE_DIR}/.reuse/dep5 copyright)
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE license_lines)
string(APPEND copyright "\nLicense: MIT\n")
foreach(line IN LISTS license_lines)
    if(line STREQUAL "")
        set(line ".")
    endif()
    string(APPEND copyright " ${line}\n")
endforeach()
file(GENERATE OUTPUT ${docs_dir}/copyright CONTENT "${copyright}")

install(TARGETS vellumix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
# Stripped as Debian strips: without the compiler's notes either.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vellumix\"
        COMMAND_ERROR_IS_FATAL ANY)
endif()" COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/data/${VELLUMIX_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/data/${VELLUMIX_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/data/vellumix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/data/vellumix-48.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME vellumix.png
        COMPONENT program)
install(FILES ${docs_dir}/vellumix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT program)
install(FILES ${docs_dir}/README.md.gz ${docs_dir}/changelog.gz ${docs_dir}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT program)
# The sample card: what the Debian package reads, and a copy to put on a card of one's own.
install(DIRECTORY ${VELLUMIX_SAMPLE_CARD}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vellumix/card
        COMPONENT program)

# The service that runs the program as the device's own, on a console named when it is
# enabled, and its settings file, which sets nothing until the user does.
configure_file(${PROJECT_SOURCE_DIR}/data/vellumix@.service.in ${docs_dir}/vellumix@.service @ONLY)
install(FILES ${docs_dir}/vellumix@.service DESTINATION lib/systemd/system COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/data/vellumix.settings DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/default
        RENAME vellumix COMPONENT program)

# Only on request, straight into the folder given as the prefix:
#   cmake --install build --component card --prefix /mnt/card
install(DIRECTORY ${VELLUMIX_SAMPLE_CARD}/ DESTINATION . COMPONENT card EXCLUDE_FROM_ALL)

if(NOT VELLUMIX_CARD_DIR STREQUAL "/mnt/card" AND
   NOT VELLUMIX_CARD_DIR STREQUAL VELLUMIX_INSTALLED_CARD)
    message(STATUS "Vellumix reads its card from ${VELLUMIX_CARD_DIR}: fine for trying it out, "
                   "not for installing it (/mnt/card or ${VELLUMIX_INSTALLED_CARD} are)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumix)
set(CPACK_PACKAGE_VENDOR "Vellumix")
set(CPACK_PACKAGE_CONTACT "Vellumix developers <vellumix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pen drawing program for small touch screens")
set(CPACK_PACKAGE_DESCRIPTION "\
Vellumix lets you draw freehand on a 640 x 480 canvas with a touch pen or a
mouse, in three stroke widths and in colours picked from a palette picture.
It runs on a desktop or full screen on the Linux framebuffer. This package
reads its toolbar icons and palette from the sample card it installs in
/usr/share/vellumix/card. Its interface is in Japanese.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/vellumix/vellumix)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL program)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# dpkg-shlibdeps adds the libraries the program links to. The rest is loaded at run time,
# so no linker sees it: one package (or alternatives) an entry.
set(VELLUMIX_DEB_DEPENDS qt6-qpa-plugins "fonts-ipafont-gothic | fonts-japanese-gothic")
list(JOIN VELLUMIX_DEB_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# On a Wayland desktop the program runs natively with Qt's Wayland plugin; without it on X.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The settings are the user's: an update keeps a changed file. The unit is installed as
# Debian installs such a template, neither enabled nor started.
file(WRITE ${PROJECT_BINARY_DIR}/debian/conffiles "${VELLUMIX_SETTINGS}\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(CMAKE_CROSSCOMPILING)
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
        set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
    elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^arm")
        set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE armhf)
    endif()
endif()
# What is read only when the package is made: the device's architecture for dpkg-shlibdeps,
# and the toolkit's private ABI.
get_target_property(VELLUMIX_QT_CORE Qt6::Core LOCATION)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProject.cmake)
configure_file(${CMAKE_CURRENT_LIST_DIR}/CPackProject.cmake.in ${CPACK_PROJECT_CONFIG_FILE}.in @ONLY)
file(GENERATE OUTPUT ${CPACK_PROJECT_CONFIG_FILE} INPUT ${CPACK_PROJECT_CONFIG_FILE}.in)
include(CPack)
