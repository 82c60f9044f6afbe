# SPDX-License-Identifier: MIT
# Where `cmake --install` puts Vellumix, and the Debian package CPack makes of it.
include(GNUInstallDirs)

install(TARGETS vellumix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/data/vellumix.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/data/vellumix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/data/vellumix-48.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME vellumix.png
        COMPONENT program)
# A copy of the sample card to put on a card of one's own.
install(DIRECTORY ${VELLUMIX_SAMPLE_CARD}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vellumix/card
        COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vellumix
        COMPONENT program)

# Only on request, straight into the folder given as the prefix:
#   cmake --install build --component card --prefix /mnt/card
install(DIRECTORY ${VELLUMIX_SAMPLE_CARD}/ DESTINATION . COMPONENT card EXCLUDE_FROM_ALL)

if(NOT VELLUMIX_CARD_DIR STREQUAL "/mnt/card")
    message(STATUS "Vellumix reads its card from ${VELLUMIX_CARD_DIR}, not /mnt/card: "
                   "fine for trying it out, not for installing it")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vellumix)
set(CPACK_PACKAGE_VENDOR "Vellumix")
set(CPACK_PACKAGE_CONTACT "Vellumix developers <vellumix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pen drawing program for small touch screens")
set(CPACK_PACKAGE_DESCRIPTION "\
Vellumix lets you draw freehand on a 640 x 480 canvas with a touch pen or a mouse.
It offers three stroke widths and a colour picker, and reads its toolbar icons
and palette from a memory card mounted at /mnt/card. Its interface is in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL program)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The platform plugins and the Japanese font are loaded at run time, so no linker sees them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic | fonts-japanese-gothic")
if(CMAKE_CROSSCOMPILING)
    # dpkg-shlibdeps knows only the build machine's libraries: name the program's own.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libc6, libstdc++6, libqt6core6 (>= 6.4), "
           "libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6core5compat6 (>= 6.4)")
    if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
        set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
    elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^arm")
        set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE armhf)
    endif()
else()
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
