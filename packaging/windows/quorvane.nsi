; The Windows installer: the application folder under Program Files (the program finds its
; optional files below the folder of its program file), a Start-menu shortcut and an
; uninstaller. Silent with /S. Built on Linux by makensis with APPDIR, VERSION and OUTFILE.
; A 64-bit installer for the 64-bit program (and for Wine without its 32-bit half).
Target amd64-unicode
!include "x64.nsh"

Name "Quorvane"
Caption "Quorvane ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quorvane"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Quorvane"
VIAddVersionKey "CompanyName" "Meldrisk"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Quorvane Setup"
VIAddVersionKey "LegalCopyright" "Copyright 2026 Meldrisk"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Quorvane"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${APPDIR}/quorvane.exe"
    File "${APPDIR}/HAND-M.CUR"
    SetOutPath "$INSTDIR\x"
    File "${APPDIR}/x/o.cjs"
    SetOutPath "$INSTDIR\Samples"
    File "${APPDIR}/Samples/sample1.doc"
    File "${APPDIR}/Samples/sample2.doc"
    CreateDirectory "$INSTDIR\Splash"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateDirectory "$SMPROGRAMS\Quorvane"
    CreateShortcut "$SMPROGRAMS\Quorvane\Quorvane.lnk" "$INSTDIR\quorvane.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quorvane"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Meldrisk"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quorvane.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Quorvane\Quorvane.lnk"
    RMDir "$SMPROGRAMS\Quorvane"
    Delete "$INSTDIR\quorvane.exe"
    Delete "$INSTDIR\HAND-M.CUR"
    Delete "$INSTDIR\x\o.cjs"
    RMDir "$INSTDIR\x"
    Delete "$INSTDIR\Samples\sample1.doc"
    Delete "$INSTDIR\Samples\sample2.doc"
    RMDir "$INSTDIR\Samples"
    RMDir "$INSTDIR\Splash"  ; only when empty: a picture someone put there stays
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
