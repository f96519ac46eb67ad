# Desktop integration and the Debian package.

install(FILES ${LOCALYX_ROOT}/data/desktop/localyx.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${LOCALYX_ROOT}/data/desktop/localyx.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${LOCALYX_ROOT}/data/desktop/localyx-32.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME localyx.png)
if(EXISTS ${LOCALYX_ROOT}/tools/localyx_query/localyx-query.1)
  install(FILES ${LOCALYX_ROOT}/tools/localyx_query/localyx-query.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME localyx)
set(CPACK_PACKAGE_VENDOR "Localyx")
set(CPACK_PACKAGE_CONTACT "Localyx <contact@localyx.fr>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Aide à la prospection commerciale autour d'une ville")
set(CPACK_PACKAGE_DESCRIPTION
    "Localyx liste les localités d'une région autour d'une ville, dans un rayon de 5 à 25 km, \
mesure la distance à vol d'oiseau entre deux villes et ouvre la carte ou l'itinéraire \
ViaMichelin dans le navigateur. Fonctionne hors ligne. Comprend localyx-query, \
les mêmes recherches en ligne de commande.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Named by hand rather than computed, so the package is the same whatever
# extra tools the build machine has; these are Debian 12's Qt 6 runtime and
# the XML library of localyx-query.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libpugixml1v5 (>= 1.13), libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1")
# Qt's own texts (context menus) in French; without it they stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, xdg-utils, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
