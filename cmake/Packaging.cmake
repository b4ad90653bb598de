# `cmake --install` and the Debian package: the program in bin/, its skins,
# sample shop and Chinese catalogues in share/pictorra/, a desktop entry and
# an icon where desktops look for them. The program finds share/pictorra from
# its own bin/ and keeps the user's data in the per-user data folder.
include(GNUInstallDirs)
set(pictorra_share "${CMAKE_INSTALL_DATADIR}/pictorra")

install(TARGETS pictorra RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
# The installed program needs no RUNPATH: every library it links is a system
# one, and a packaged program must not carry the $ORIGIN paths that
# Qt's project setup gives it.
set_target_properties(pictorra PROPERTIES INSTALL_RPATH "")
install(DIRECTORY "${CMAKE_SOURCE_DIR}/皮肤" DESTINATION "${pictorra_share}" FILES_MATCHING PATTERN "*.qss")
install(DIRECTORY "${CMAKE_SOURCE_DIR}/samples/shop" DESTINATION "${pictorra_share}/samples")
install(FILES "${CMAKE_SOURCE_DIR}/resources/desktop/pictorra.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${CMAKE_SOURCE_DIR}/resources/icons/pictorra.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

# What Debian asks of every package in its doc folder and of every program:
# the copyright, the changelog and the manual page, the last two compressed
# as Debian's tools do (-9n: the most, and no name or time in the header).
set(pictorra_debian "${CMAKE_SOURCE_DIR}/resources/debian")
set(pictorra_doc "${CMAKE_INSTALL_DATADIR}/doc/pictorra")
set(pictorra_gzipped)
foreach(pair "changelog.Debian.gz=${pictorra_debian}/changelog" "pictorra.1.gz=${CMAKE_SOURCE_DIR}/docs/pictorra.1")
    string(REGEX MATCH "^([^=]+)=(.*)$" matched "${pair}")
    set(output "${CMAKE_BINARY_DIR}/packaging/${CMAKE_MATCH_1}")
    add_custom_command(OUTPUT "${output}" COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip "${CMAKE_MATCH_2}" "${output}"
                       DEPENDS "${CMAKE_MATCH_2}" VERBATIM)
    list(APPEND pictorra_gzipped "${output}")
endforeach()
add_custom_target(pictorra_package_docs DEPENDS ${pictorra_gzipped})
# The package is made from a build of the program alone (scripts/package.sh).
add_dependencies(pictorra pictorra_package_docs)
install(FILES "${pictorra_debian}/copyright" "${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz"
        DESTINATION "${pictorra_doc}")
install(FILES "${CMAKE_BINARY_DIR}/packaging/pictorra.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${pictorra_debian}/lintian-overrides" DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides"
        RENAME pictorra)

# Qt's own Chinese catalogues travel along: every Qt dialog then speaks
# Chinese even where Qt's translations package is missing.
set(pictorra_qt_translations "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}")
foreach(catalogue qtbase qtwebengine)
    set(file "${pictorra_qt_translations}/${catalogue}_zh_CN.qm")
    if(EXISTS "${file}")
        install(FILES "${file}" DESTINATION "${pictorra_share}/translations")
    else()
        message(WARNING "${file} is missing: install qt6-translations-l10n for Chinese Qt dialogs")
    endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pictorra)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picks product pictures from marketplace pages and saves them")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Pictorra collects the product pictures of a large Chinese wholesale
marketplace's product pages (main pictures, SKU pictures, description
pictures and the gallery video), so that sellers can reuse them in their
own online shops. It is a desktop program with its own tabbed browser and
a Chinese interface; each item is saved into a folder of its own, with its
data as JSON and its SKUs as CSV.

A batch picks and saves a list of addresses and keeps a journal, so that
it goes on where it stopped. Without a screen, --pick, --demo --save and
--batch do the same and print one JSON line per page.")
# The package's version is the program's with the Debian revision of the
# changelog's latest entry: a new version needs a new entry there.
set(PICTORRA_MAINTAINER "Pictorra maintainers <maintainers@users.noreply.c-seed-1646ab6a.example>"
    CACHE STRING "The package's Maintainer field")
set(CPACK_PACKAGE_CONTACT "${PICTORRA_MAINTAINER}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${pictorra_debian}/changelog")
file(STRINGS "${pictorra_debian}/changelog" pictorra_latest LIMIT_COUNT 1)
if(pictorra_latest MATCHES "^pictorra \\(${PROJECT_VERSION}-([^)]+)\\)")
    set(CPACK_DEBIAN_PACKAGE_RELEASE "${CMAKE_MATCH_1}")
else()
    message(WARNING "resources/debian/changelog has no entry for ${PROJECT_VERSION} at its top")
    set(CPACK_DEBIAN_PACKAGE_RELEASE 0)
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries the program links come from dpkg-shlibdeps; what Qt loads at
# run time (platform, picture and icon plugins, the engine's data, CJK fonts)
# is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The icons and skins are SVG. Which package holds Qt's SVG image plugin
# differs between releases (libqt6svg6 on Debian 12, qt6-svg-plugins later),
# so ask dpkg who owns the one this build finds; without it installed, go by
# the Qt release (6.4 on Debian 12, 6.8 on 13).
set(pictorra_svg_plugin "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/imageformats/libqsvg.so")
execute_process(COMMAND dpkg-query --search "${pictorra_svg_plugin}"
                OUTPUT_VARIABLE pictorra_svg_package ERROR_QUIET RESULT_VARIABLE pictorra_svg_missing)
if(pictorra_svg_missing EQUAL 0 AND pictorra_svg_package MATCHES "^([^:,]+)")
    set(pictorra_svg_package "${CMAKE_MATCH_1}")
elseif(Qt6_VERSION VERSION_LESS 6.8)
    set(pictorra_svg_package libqt6svg6)
else()
    set(pictorra_svg_package qt6-svg-plugins)
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-image-formats-plugins, ${pictorra_svg_package}, libqt6webengine6-data, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
