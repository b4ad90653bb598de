# `cmake --install` and the Debian package: the program in bin/, its skins,
# sample shop and Chinese catalogues in share/pictorra/, a desktop entry and
# an icon where desktops look for them. The program finds share/pictorra from
# its own bin/ and keeps the user's data in the per-user data folder.
include(GNUInstallDirs)
set(pictorra_share "${CMAKE_INSTALL_DATADIR}/pictorra")

install(TARGETS pictorra RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(DIRECTORY "${CMAKE_SOURCE_DIR}/皮肤" DESTINATION "${pictorra_share}" FILES_MATCHING PATTERN "*.qss")
install(DIRECTORY "${CMAKE_SOURCE_DIR}/samples/shop" DESTINATION "${pictorra_share}/samples")
install(FILES "${CMAKE_SOURCE_DIR}/resources/desktop/pictorra.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${CMAKE_SOURCE_DIR}/resources/icons/pictorra.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

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
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Picks product pictures from marketplace pages and saves them")
set(CPACK_PACKAGE_CONTACT "Pictorra developers <pictorra@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries the program links come from dpkg-shlibdeps; what Qt loads at
# run time (platform, picture and icon plugins, the engine's data, CJK fonts)
# is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-image-formats-plugins, libqt6svg6, libqt6webengine6-data, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
