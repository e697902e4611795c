# Desktop integration and the Debian package.
include(GNUInstallDirs)
install(FILES data/jp.zelqua.Editor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/jp.zelqua.Editor.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/jp.zelqua.Editor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelqua-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zelqua editor developers <zelqua-editor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zelqua quiz file editor: five-choice banks (.5TQ) to .mon files")
set(CPACK_PACKAGE_DESCRIPTION "A single-window editor that reads five-choice quiz banks (.5TQ) and
Zelqua question files (.mon), gathers, reorders and edits their questions, and
writes a chosen range of 8 to 300 questions as a new Shift-JIS .mon file.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries the binary links: Japanese fonts for every caption and Qt's own
# Japanese texts for the standard dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
