; The Windows installer, made by scripts/build-windows with Debian's makensis:
;   makensis -DVERSION=1.0.1.1 -DSTAGE=<folder> -DOUTFILE=<setup.exe> velkaro-arama.nsi
; STAGE holds exactly what is installed: the program, the DLLs and Qt plugins it loads,
; the list, the help file and the licence texts.
Unicode true
; The default 32-bit stub installs nothing into a 64-bit Windows' Program Files and
; still reports success.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Velkaro Arama"
!define PUBLISHER "Zelvor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VelkaroArama"

Name "Zelvor VUK ${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PUBLISHER}\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "Zelvor VUK ${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "Zelvor Yazilim"
VIAddVersionKey /LANG=0 "LegalCopyright" "Zelvor Yazilim"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Zelvor VUK ${PRODUCT} Kurulum"

!define MUI_ICON "${SOURCE}\resources\velkaro-arama.ico"
!define MUI_UNICON "${SOURCE}\resources\velkaro-arama.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\velkaro-arama.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "--kullanici-verisi"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE-WINDOWS.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one shown when Windows' language is neither.
!insertmacro MUI_LANGUAGE "Turkish"
!insertmacro MUI_LANGUAGE "English"

Function .onInit
    ; Per-machine, into the 64-bit Program Files and registry view.
    SetShellVarContext all
    SetRegView 64
    ${IfNot} ${Silent}
        !insertmacro MUI_LANGDLL_DISPLAY
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Section "Install"
    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The working folder is the install folder, where the program finds its list when
    ; the user has none of their own in %APPDATA%\Velkaro Arama.
    SetOutPath "$INSTDIR"
    CreateDirectory "$SMPROGRAMS\${PUBLISHER}"
    CreateShortCut "$SMPROGRAMS\${PUBLISHER}\Zelvor VUK ${PRODUCT}.lnk" \
        "$INSTDIR\velkaro-arama.exe" "--kullanici-verisi" "$INSTDIR\velkaro-arama.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Zelvor VUK ${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Zelvor Yazilim"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velkaro-arama.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    ; Only what the installer put there (listed when the installer was made); the
    ; user's own list lives in %APPDATA% and is never touched.
    !include "${STAGE_LIST}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    RMDir "$INSTDIR\.."
    Delete "$SMPROGRAMS\${PUBLISHER}\Zelvor VUK ${PRODUCT}.lnk"
    RMDir "$SMPROGRAMS\${PUBLISHER}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
