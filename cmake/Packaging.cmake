# The Debian package: `cpack -G DEB` in a build folder. Install rules live beside their targets; the file
# types are ours, so their shared-mime-info entry is installed here. Debian's shared-mime-info and
# desktop-file-utils pick up new files in their folders through dpkg triggers, so no maintainer scripts.
install(FILES ${PROJECT_SOURCE_DIR}/dist/mime/klavoset.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME klavoset)
set(CPACK_PACKAGE_VENDOR "Klavoset")
set(CPACK_PACKAGE_CONTACT "Klavoset maintainers <klavoset@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the keypad character layouts of Siemens mobile phones")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Opens a fullflash image of a supported Siemens phone, shows its keypad layouts for editing and\n"
    "writes them back into the image, as a patch file or as a layout file. Comes with a command-line tool.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # library dependencies (Qt, libstdc++) as dpkg-shlibdeps finds them
# Qt loads SVG support as a plugin, which no library dependency names; the toolbar pictures need it.
# Qt's own words in the dialogs (buttons, file dialog) come in Russian from its translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
include(CPack)
