; The Windows installer of Parvane. Built by scripts/windows with
;   makensis -DVERSION=x.y -DICON=<.ico> -DFILES=<files.nsh> -DSIZE_KB=<n> -DOUTFILE=<setup.exe>
; where files.nsh (written by the script) holds the macros InstallFiles and
; UninstallFiles: the uninstaller removes exactly the files the installer put in place,
; so whatever the user keeps in the folder (parvane.ini) stays.
; A 64-bit installer for a 64-bit program: it also runs where Windows (or Wine) has no
; 32-bit layer.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define APP "Parvane"
; Named in "Installed apps" and in the installer's file properties.
!define PUBLISHER "Parvane developers"
!define PROGID "Parvane.bcfg"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Parvane"
!define APP_KEY "Software\Parvane"

; For the current user (no administrator needed) or for all users: the installer asks,
; /S installs silently for the current user, /S /AllUsers for all users.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${APP_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${APP_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh
!include "${FILES}"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APP} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\parvane.exe"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Russian"

LangString FileType ${LANG_ENGLISH} "BCFG configuration file"
LangString FileType ${LANG_RUSSIAN} "Файл настроек BCFG"

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_ICONSTOP "${APP} needs 64-bit Windows." /SD IDOK
        Abort
    ${EndIf}
    SetRegView 64
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    SetRegView 64
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Install"
    !insertmacro InstallFiles
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\parvane.exe"

    ; Double-clicking a .bcfg file opens it in Parvane.
    WriteRegStr SHCTX "Software\Classes\.bcfg" "" "${PROGID}"
    WriteRegStr SHCTX "Software\Classes\.bcfg\OpenWithProgids" "${PROGID}" ""
    WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "$(FileType)"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\parvane.exe,0"
    WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\parvane.exe" "%1"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr SHCTX "${APP_KEY}" "InstallDir" "$INSTDIR"
    WriteRegStr SHCTX "${APP_KEY}" "InstallMode" "$MultiUser.InstallMode"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP} ${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\parvane.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
    !insertmacro UninstallFiles
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR" ; stays when the user keeps files there
    Delete "$SMPROGRAMS\${APP}.lnk"

    DeleteRegKey SHCTX "Software\Classes\${PROGID}"
    DeleteRegValue SHCTX "Software\Classes\.bcfg\OpenWithProgids" "${PROGID}"
    ReadRegStr $0 SHCTX "Software\Classes\.bcfg" ""
    StrCmp $0 "${PROGID}" 0 +2
        DeleteRegValue SHCTX "Software\Classes\.bcfg" ""
    DeleteRegKey /ifempty SHCTX "Software\Classes\.bcfg\OpenWithProgids"
    DeleteRegKey /ifempty SHCTX "Software\Classes\.bcfg"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    DeleteRegKey SHCTX "${APP_KEY}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
