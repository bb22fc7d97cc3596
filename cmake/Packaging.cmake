# SPDX-FileCopyrightText: 2026 Klavoset developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package: `cpack -G DEB` in a build folder. Install rules live beside their targets; the file
# types are ours, so their shared-mime-info entry is installed here. Debian's shared-mime-info and
# desktop-file-utils pick up new files in their folders through dpkg triggers, so no maintainer scripts.
install(FILES ${PROJECT_SOURCE_DIR}/dist/mime/klavoset.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

if(NOT WIN32)
    set(klavoset_metainfo org.example.klavoset.Klavoset.metainfo.xml)
    install(FILES ${PROJECT_SOURCE_DIR}/dist/appstream/${klavoset_metainfo}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    # Debian wants the changelog compressed without a time stamp, and the copyright beside it.
    set(klavoset_doc_build ${CMAKE_BINARY_DIR}/doc)
    add_custom_command(OUTPUT ${klavoset_doc_build}/changelog.Debian.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${klavoset_doc_build}
        COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/dist/debian/changelog > ${klavoset_doc_build}/changelog.Debian.gz
        DEPENDS ${PROJECT_SOURCE_DIR}/dist/debian/changelog
        VERBATIM)
    set(klavoset_docs ${klavoset_doc_build}/changelog.Debian.gz)

    # The manual pages are made from each program's --help, so they cannot drift apart.
    find_program(HELP2MAN help2man)
    if(HELP2MAN AND NOT CMAKE_CROSSCOMPILING)
        set(klavoset_manual_pages)
        set(klavoset_names
            "klavoset-cli|keypad layout editor for Siemens phone fullflash images, without a window"
            "klavoset|keypad layout editor for Siemens phone fullflash images")
        foreach(entry IN LISTS klavoset_names)
            string(REPLACE "|" ";" entry "${entry}")
            list(GET entry 0 program)
            list(GET entry 1 description)
            if(NOT TARGET ${program})
                continue()
            endif()
            set(page ${klavoset_doc_build}/${program}.1)
            add_custom_command(OUTPUT ${page}.gz
                COMMAND ${CMAKE_COMMAND} -E make_directory ${klavoset_doc_build}
                COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                        ${HELP2MAN} --no-info --name=${description} --source=Klavoset --output=${page}
                        $<TARGET_FILE:${program}>
                COMMAND gzip -9nf ${page}
                DEPENDS ${program}
                VERBATIM)
            list(APPEND klavoset_manual_pages ${page}.gz)
        endforeach()
        install(FILES ${klavoset_manual_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
    add_custom_target(klavoset_docs ALL DEPENDS ${klavoset_docs} ${klavoset_manual_pages})
    install(FILES ${PROJECT_SOURCE_DIR}/dist/debian/copyright ${klavoset_docs}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/klavoset)
    install(FILES ${PROJECT_SOURCE_DIR}/dist/debian/lintian-overrides
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME klavoset)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME klavoset)
set(CPACK_PACKAGE_VENDOR "Klavoset")
set(CPACK_PACKAGE_CONTACT "Klavoset maintainers <klavoset@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the keypad character layouts of Siemens mobile phones")
# Debian shows the description in 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Opens a fullflash image of a supported Siemens phone, shows its keypad\n"
    "layouts for editing and writes them back into the image, as a patch file or\n"
    "as a layout file. Comes with a command-line tool.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The revision of the Debian packaging; dist/debian/changelog names the same full version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # library dependencies (Qt, libstdc++) as dpkg-shlibdeps finds them
# Qt loads SVG support as a plugin, which no library dependency names; the toolbar pictures need it at
# the screen densities they are not drawn for at build time. GIO (for the viewer of a fullflash) is loaded
# when first used, so no library dependency names it either. Qt's own words in the dialogs (buttons, file
# dialog) come in Russian from its translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, libglib2.0-0, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
include(CPack)
