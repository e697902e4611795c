# Desktop integration and the Debian package.
include(GNUInstallDirs)
install(FILES data/jp.zelqua.Editor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/jp.zelqua.Editor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The file types of .5TQ and .mon files; Debian's shared-mime-info and desktop-file-utils
# triggers rebuild the type database and the desktop's default-program cache.
install(FILES data/jp.zelqua.Editor.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME jp.zelqua.Editor.xml)

# The changelog and the manual pages are installed compressed, as Debian's tools would
# (gzip -9n: no name or time stamp inside, so the same text gives the same bytes).
set(ZQ_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})
function(zq_install_gzipped source destination name)
  set(staged ${PROJECT_BINARY_DIR}/gz/${destination}/${name})
  add_custom_command(OUTPUT ${staged}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/gz/${destination}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${staged}
    COMMAND gzip -9nf ${staged}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    VERBATIM)
  string(MAKE_C_IDENTIFIER "gz_${destination}_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${staged}.gz)
  install(FILES ${staged}.gz DESTINATION ${destination})
endfunction()
zq_install_gzipped(data/debian/changelog ${ZQ_DOC_DIR} changelog)
zq_install_gzipped(data/man/zelqua-editor.1 ${CMAKE_INSTALL_MANDIR}/man1 zelqua-editor.1)
zq_install_gzipped(data/man/zelqua-editor.ja.1 ${CMAKE_INSTALL_MANDIR}/ja/man1 zelqua-editor.1)
zq_install_gzipped(data/man/zelqua-split.1 ${CMAKE_INSTALL_MANDIR}/man1 zelqua-split.1)
zq_install_gzipped(data/man/zelqua-split.ja.1 ${CMAKE_INSTALL_MANDIR}/ja/man1 zelqua-split.1)
install(FILES data/debian/copyright DESTINATION ${ZQ_DOC_DIR})

# Debian strips its binaries of the compiler's version strings too; CPack's strip keeps them.
install(CODE [[
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program zelqua-editor zelqua-split)
      execute_process(COMMAND objcopy --remove-section=.comment --remove-section=.note
                              "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/${program}"
                      COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()
]])

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelqua-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zelqua editor developers <maintainers@users.noreply.c-seed-9c189f0f.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zelqua quiz file editor: five-choice banks (.5TQ) to .mon files")
set(CPACK_PACKAGE_DESCRIPTION "A single-window editor that reads five-choice quiz banks (.5TQ) and
Zelqua question files (.mon), gathers, reorders and edits their questions, and
writes a chosen range of 8 to 300 questions as a new Shift-JIS .mon file.
Beside it, zelqua-split turns every genre of a bank into .mon files from the
command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries the binary links: Japanese fonts for every caption, Qt's own
# Japanese texts for the standard dialogs, and Qt's Wayland platform for sessions without X.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n, qt6-wayland")
# xvfb-run starts the editor where there is no display at all.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xvfb")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
