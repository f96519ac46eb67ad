# Desktop integration, documents and the two Debian packages: localyx-query
# (the tool and the region files, no Qt) and localyx (the window), which
# depends on it.

set(LOCALYX_APP_ID fr.localyx.Localyx)
set(desktop_src ${LOCALYX_ROOT}/data/desktop)
set(debian_src ${LOCALYX_ROOT}/data/debian)
set(generated ${CMAKE_BINARY_DIR}/packaging)

# Manual pages and the Debian changelog are installed compressed, as Debian
# wants them; -n leaves the name and time out, so rebuilds give the same bytes.
find_program(LOCALYX_GZIP gzip REQUIRED)
set(localyx_gz_outputs)
function(localyx_gzip src dst)
  add_custom_command(OUTPUT ${dst}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}
    COMMAND ${LOCALYX_GZIP} -9nc ${src} > ${dst}
    DEPENDS ${src}
    COMMENT "Compressing ${dst}")
  set(localyx_gz_outputs ${localyx_gz_outputs} ${dst} PARENT_SCOPE)
endfunction()
localyx_gzip(${LOCALYX_ROOT}/tools/localyx_query/localyx-query.1 ${generated}/localyx-query.1.gz)
localyx_gzip(${LOCALYX_ROOT}/data/man/localyx.1 ${generated}/localyx.1.gz)
localyx_gzip(${debian_src}/changelog ${generated}/changelog.Debian.gz)

# Every hicolor size a desktop asks for, drawn from the one SVG.
set(localyx_icon_sizes 16 24 32 48 64 128 256)
set(localyx_icons)
if(LOCALYX_BUILD_GUI)
  find_program(LOCALYX_RSVG_CONVERT rsvg-convert REQUIRED)
  foreach(size ${localyx_icon_sizes})
    set(png ${generated}/icons/${size}/${LOCALYX_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}
      COMMAND ${LOCALYX_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${desktop_src}/${LOCALYX_APP_ID}.svg
      DEPENDS ${desktop_src}/${LOCALYX_APP_ID}.svg
      COMMENT "Drawing the ${size} px icon")
    list(APPEND localyx_icons ${png})
    install(FILES ${png} COMPONENT gui
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()
add_custom_target(packaging_files ALL DEPENDS ${localyx_gz_outputs} ${localyx_icons})

# The tool: its manual page, completion and documents. The region files come
# from data/ in the same component.
install(FILES ${generated}/localyx-query.1.gz COMPONENT query DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${LOCALYX_ROOT}/tools/localyx_query/localyx-query.bash COMPONENT query
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME localyx-query)
install(FILES ${debian_src}/localyx-query.lintian-overrides COMPONENT query
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME localyx-query)

if(LOCALYX_BUILD_GUI)
  install(FILES ${desktop_src}/${LOCALYX_APP_ID}.desktop COMPONENT gui
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${desktop_src}/${LOCALYX_APP_ID}.metainfo.xml COMPONENT gui
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${desktop_src}/${LOCALYX_APP_ID}.svg COMPONENT gui
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${generated}/localyx.1.gz COMPONENT gui DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# Each package carries its own copyright and changelog, as Debian asks.
set(localyx_doc_packages query localyx-query)
if(LOCALYX_BUILD_GUI)
  list(APPEND localyx_doc_packages gui localyx)
endif()
while(localyx_doc_packages)
  list(POP_FRONT localyx_doc_packages component package)
  install(FILES ${debian_src}/copyright ${generated}/changelog.Debian.gz COMPONENT ${component}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package})
endwhile()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME localyx)
set(CPACK_PACKAGE_VENDOR "Localyx")
set(CPACK_PACKAGE_CONTACT "Localyx <contact@localyx.fr>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://localyx.fr/")
# CPack would put the project's one summary ahead of each package's own
# description unless it is left at CPack's default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL query)
if(LOCALYX_BUILD_GUI)
  list(APPEND CPACK_COMPONENTS_ALL gui)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A Debian revision, so the changelog is changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
set(localyx_deb_version "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")

# The libraries each program links are found by dpkg-shlibdeps (dpkg-dev
# comes with build-essential), so a library added to the code cannot be
# missing from the package; what the programs need without linking it is
# named by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_QUERY_PACKAGE_NAME localyx-query)
set(CPACK_DEBIAN_QUERY_PACKAGE_SECTION utils)
# Its files were in the localyx package before the split.
set(CPACK_DEBIAN_QUERY_PACKAGE_BREAKS "localyx (<< 2.0.0-1)")
set(CPACK_DEBIAN_QUERY_PACKAGE_REPLACES "localyx (<< 2.0.0-1)")
# The maps' texts are set in Liberation Sans; without it pango takes another
# font. DejaVu has the route sheet's ☐, which Liberation lacks.
set(CPACK_DEBIAN_QUERY_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_QUERY_DESCRIPTION
"localités autour d'une ville, en ligne de commande
localyx-query donne dans un terminal les réponses de la fenêtre de
Localyx : les localités d'une des 22 anciennes régions de France
métropolitaine, celles qui entourent une ville, la distance à vol
d'oiseau entre deux villes et les adresses ViaMichelin de carte et
d'itinéraire.

Il cherche aussi dans toute la France, au-delà des frontières des
régions, écrit les résultats pour un tableur, une carte ou un GPS
(CSV, GeoJSON, KML, GPX) et calcule l'ordre de visite le plus court.
Il dessine les recherches et les tournées sur une carte (SVG, PNG,
PDF) et imprime la feuille de route d'une tournée, avec un QR code
par trajet. Il fonctionne hors ligne et ne dépend pas de Qt.

Ce paquet contient aussi les fichiers de localités des 22 régions,
tirés des données publiques de l'INSEE et de La Poste, et les limites
des départements de l'IGN.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME localyx)
set(CPACK_DEBIAN_GUI_PACKAGE_SECTION utils)
# The window loads Qt's own French texts for its standard dialogs.
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS
    "localyx-query (= ${localyx_deb_version}), qt6-translations-l10n")
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS "xdg-utils, fonts-liberation")
set(CPACK_DEBIAN_GUI_DESCRIPTION
"aide à la prospection commerciale autour d'une ville
Localyx est une petite fenêtre pour le commercial qui prospecte
autour d'une ville. On y choisit l'une des 22 anciennes régions de
France métropolitaine, une localité et un rayon de 5 à 25 km : la
fenêtre liste et compte les localités de la région alentour.

Une seconde localité choisie, elle affiche la distance à vol d'oiseau
entre les deux. Deux boutons ouvrent dans le navigateur la carte
ViaMichelin de la localité ou l'itinéraire entre les deux villes.

Localyx fonctionne hors ligne, n'écrit rien et ne garde rien d'une
séance à l'autre. Les mêmes recherches sont possibles en ligne de
commande avec localyx-query.")
include(CPack)
