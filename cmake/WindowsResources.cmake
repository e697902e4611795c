# Windows resources for the programs: icon and version block (cmake/WindowsResource.rc.in),
# compiled with the toolchain's windres.
#
# The icon is drawn by tools/icon_export --ico with the window icon's own code. A cross build
# cannot run what it builds, so it is given the .ico a host build drew: ZQ_WINDOWS_ICON
# (scripts/build-windows.sh does both steps).
enable_language(RC)

set(ZQ_WINDOWS_ICON "" CACHE FILEPATH "The program icon (.ico) drawn by tools/icon_export --ico")
if(NOT EXISTS "${ZQ_WINDOWS_ICON}")
  message(FATAL_ERROR "ZQ_WINDOWS_ICON must name the .ico drawn by a host build's "
                      "'icon_export --ico FILE.ico'; scripts/build-windows.sh makes it")
endif()

# The copyright line as the Debian package states it, so the two never disagree.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/debian/copyright)
file(STRINGS ${PROJECT_SOURCE_DIR}/data/debian/copyright ZQ_COPYRIGHT_LINE REGEX "^Copyright: " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright: " "" ZQ_COPYRIGHT_LINE "${ZQ_COPYRIGHT_LINE}")
if(NOT ZQ_COPYRIGHT_LINE)
  message(FATAL_ERROR "data/debian/copyright has no Copyright: line")
endif()
string(REGEX REPLACE "^[0-9, -]+ " "" ZQ_RC_AUTHORS "${ZQ_COPYRIGHT_LINE}")
set(ZQ_RC_COPYRIGHT "Copyright © ${ZQ_COPYRIGHT_LINE}")
set(ZQ_RC_PRODUCT "Zelqua≪五択変換ｴﾃﾞｨﾀｰ")

# Adds the icon, a version block with the given description and the process manifest
# (cmake/WindowsApplication.manifest.in) to a program; UTF8_CODE_PAGE also gives it the UTF-8
# code page in that manifest.
function(zq_windows_resource target description)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "UTF8_CODE_PAGE" "" "")
  set(ZQ_RC_NAME ${target})
  set(ZQ_RC_DESCRIPTION "${description}")
  set(folder ${PROJECT_BINARY_DIR}/windows-resources)
  set(ZQ_MANIFEST_CODE_PAGE "")
  set(ZQ_MANIFEST_CODE_PAGE_NOTE "")
  if(ARG_UTF8_CODE_PAGE)
    set(ZQ_MANIFEST_CODE_PAGE "\n      <activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8</activeCodePage>")
    set(ZQ_MANIFEST_CODE_PAGE_NOTE "\n     The UTF-8 code page (Windows 10 1903 and later): the command-line arguments and the\n     system's narrow-text calls are UTF-8, as on Linux, whatever the system's code page is.")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/WindowsApplication.manifest.in ${folder}/${target}.manifest @ONLY)
  set(ZQ_RC_MANIFEST "1 24 \"${folder}/${target}.manifest\"   // the process manifest (RT_MANIFEST)")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/WindowsResource.rc.in ${folder}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${folder}/${target}.rc)
  set_source_files_properties(${folder}/${target}.rc TARGET_DIRECTORY ${target} PROPERTIES
                              OBJECT_DEPENDS "${ZQ_WINDOWS_ICON};${folder}/${target}.manifest")
endfunction()
