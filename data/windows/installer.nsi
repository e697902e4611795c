; The Windows installer of the editor, built by scripts/build-windows.sh with Debian's makensis:
;   makensis -INPUTCHARSET UTF8 -DVERSION=2.1.0 -DPUBLISHER=... -DSIZE_KB=... -DICON=... \
;            -DFILES=files.nsh -DREMOVE=remove.nsh -DOUTFILE=...-setup.exe installer.nsi
; FILES installs the zip's folder file by file, REMOVE deletes exactly those files and then
; their folders when they are empty; both are written from the folder the zip holds.
;
; It installs for the current user only, without administrator rights: the program into
; %LOCALAPPDATA%\Programs\zelqua-editor, keys under HKCU alone. /S installs silently, /D=
; names another folder. An older version is upgraded in place: its own uninstaller removes
; what it added first. The uninstaller removes the files, keys and the shortcut the installer
; added, nothing else: banks and mon files the user keeps anywhere, in the program's folder
; too, stay.

Unicode true
; Debian's Wine runs 64-bit programs only; Windows runs both.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS all

!include MUI2.nsh
!include LogicLib.nsh

!define PRODUCT "Zelqua≪五択変換ｴﾃﾞｨﾀｰ"
!define EXE "zelqua-editor.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\zelqua-editor"
!define CLASSES "Software\Classes"
!define BANK_TYPE "jp.zelqua.Editor.5TQ"
!define MON_TYPE "jp.zelqua.Editor.mon"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
; SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST): Explorer reads the file types again.
!define TELL_SHELL "shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\zelqua-editor"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} Ver${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; Japanese first: it is the language of every page unless Windows runs in another one.
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

LangString BankTypeName ${LANG_JAPANESE} "Kuvetta形式 五択問題集"
LangString BankTypeName ${LANG_ENGLISH} "Kuvetta five-choice quiz bank"
LangString MonTypeName ${LANG_JAPANESE} "Zelqua形式 問題ファイル"
LangString MonTypeName ${LANG_ENGLISH} "Zelqua quiz question file"
LangString ShortcutText ${LANG_JAPANESE} "五択問題集や Zelqua 問題ファイルから新しい Zelqua 問題ファイルを作ります"
LangString ShortcutText ${LANG_ENGLISH} "Makes new Zelqua question files from five-choice banks and Zelqua files"
LangString UpgradeFailed ${LANG_JAPANESE} "前のバージョンを削除できませんでした。エディターを閉じてからやり直してください。"
LangString UpgradeFailed ${LANG_ENGLISH} "The previous version could not be removed. Close the editor and try again."

; A file type of the editor: its name, icon and "open" command, and the extension listed
; for it in "Open with". The extension's own default is taken only where no other program
; has it, so a program the user already opens such files with keeps them.
!macro FileType EXTENSION TYPE NAME
  WriteRegStr HKCU "${CLASSES}\${TYPE}" "" "${NAME}"
  WriteRegStr HKCU "${CLASSES}\${TYPE}\DefaultIcon" "" '"$INSTDIR\${EXE}",0'
  WriteRegStr HKCU "${CLASSES}\${TYPE}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
  WriteRegStr HKCU "${CLASSES}\${EXTENSION}\OpenWithProgids" "${TYPE}" ""
  WriteRegStr HKCU "${CLASSES}\Applications\${EXE}\SupportedTypes" "${EXTENSION}" ""
  ; The user's own types first, then the machine's (HKCR merges both on Windows, not in Wine).
  ReadRegStr $0 HKCU "${CLASSES}\${EXTENSION}" ""
  ${If} $0 == ""
    ReadRegStr $0 HKCR "${EXTENSION}" ""
  ${EndIf}
  ${If} $0 == ""
  ${OrIf} $0 == "${TYPE}"
    WriteRegStr HKCU "${CLASSES}\${EXTENSION}" "" "${TYPE}"
  ${EndIf}
!macroend

; Its removal: the extension's default only while it still names the editor's type, and a
; key only once nothing of another program's is left in it.
!macro RemoveFileType EXTENSION TYPE
  DeleteRegKey HKCU "${CLASSES}\${TYPE}"
  DeleteRegValue HKCU "${CLASSES}\${EXTENSION}\OpenWithProgids" "${TYPE}"
  DeleteRegKey /ifempty HKCU "${CLASSES}\${EXTENSION}\OpenWithProgids"
  ReadRegStr $0 HKCU "${CLASSES}\${EXTENSION}" ""
  ${If} $0 == "${TYPE}"
    DeleteRegValue HKCU "${CLASSES}\${EXTENSION}" ""
  ${EndIf}
  DeleteRegKey /ifempty HKCU "${CLASSES}\${EXTENSION}"
!macroend

Section
  ; An installed version, older or the same, is removed by its own uninstaller first, run in
  ; its folder (_?=) so that the removal is over when it returns.
  ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 != ""
  ${AndIf} ${FileExists} "$R0\${UNINSTALLER}"
    ClearErrors
    ExecWait '"$R0\${UNINSTALLER}" /S _?=$R0' $R1
    ${If} ${Errors}
    ${OrIf} $R1 != 0
      MessageBox MB_ICONSTOP|MB_OK "$(UpgradeFailed)" /SD IDOK
      Abort
    ${EndIf}
    ; An uninstaller run in place cannot delete itself.
    Delete "$R0\${UNINSTALLER}"
    RMDir "$R0"
  ${EndIf}

  !include "${FILES}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" "$(ShortcutText)"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\${EXE}",0'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

  WriteRegStr HKCU "${CLASSES}\Applications\${EXE}" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr HKCU "${CLASSES}\Applications\${EXE}\DefaultIcon" "" '"$INSTDIR\${EXE}",0'
  WriteRegStr HKCU "${CLASSES}\Applications\${EXE}\shell\open\command" "" '"$INSTDIR\${EXE}" "%1"'
  !insertmacro FileType ".5TQ" "${BANK_TYPE}" "$(BankTypeName)"
  !insertmacro FileType ".mon" "${MON_TYPE}" "$(MonTypeName)"
  System::Call "${TELL_SHELL}"
SectionEnd

Section "Uninstall"
  !include "${REMOVE}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"

  !insertmacro RemoveFileType ".5TQ" "${BANK_TYPE}"
  !insertmacro RemoveFileType ".mon" "${MON_TYPE}"
  DeleteRegKey HKCU "${CLASSES}\Applications\${EXE}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; Their parents too where the installer made them: only while nothing else is in them.
  DeleteRegKey /ifempty HKCU "${CLASSES}\Applications"
  DeleteRegKey /ifempty HKCU "Software\Microsoft\Windows\CurrentVersion\Uninstall"
  System::Call "${TELL_SHELL}"
SectionEnd
