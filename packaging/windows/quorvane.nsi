; The Windows installer: the application folder under Program Files (the program finds its
; optional files below the folder of its program file), a Start-menu shortcut and an
; uninstaller; with WITH_COMPARE the command line beside the program, and, when chosen (off by
; default; /PATH when silent), its folder on the user's PATH, taken off again by the uninstaller.
; Silent with /S. Built on Linux by makensis with APPDIR, VERSION and OUTFILE.
; A 64-bit installer for the 64-bit program (and for Wine without its 32-bit half).
Target amd64-unicode
!include "x64.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "StrFunc.nsh"
!include "WinMessages.nsh"
${StrStr}
${UnStrRep}

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

!ifdef WITH_COMPARE
Page components
!endif
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!ifdef WITH_COMPARE
Section "Quorvane and quorvane-compare" SecProgram
!else
Section "Quorvane" SecProgram
!endif
    SectionIn RO
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${APPDIR}/quorvane.exe"
!ifdef WITH_COMPARE
    File "${APPDIR}/quorvane-compare.exe"
!endif
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

!ifdef WITH_COMPARE
; The user's own PATH, so that a console finds quorvane-compare; what was there stays.
Section /o "Add quorvane-compare to your PATH" SecPath
    ReadRegStr $0 HKCU "Environment" "Path"
    ${StrStr} $1 ";$0;" ";$INSTDIR;"
    ${If} $1 == ""
        ${If} $0 == ""
            StrCpy $0 "$INSTDIR"
        ${Else}
            StrCpy $0 "$0;$INSTDIR"
        ${EndIf}
        WriteRegExpandStr HKCU "Environment" "Path" "$0"
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "AddedToPath" 1
        SendMessage ${HWND_BROADCAST} ${WM_WININICHANGE} 0 "STR:Environment" /TIMEOUT=5000
    ${EndIf}
SectionEnd

Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/PATH" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecPath}
    ${EndIf}
FunctionEnd
!endif

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Quorvane\Quorvane.lnk"
    RMDir "$SMPROGRAMS\Quorvane"
    Delete "$INSTDIR\quorvane.exe"
    Delete "$INSTDIR\quorvane-compare.exe"
    Delete "$INSTDIR\HAND-M.CUR"
    Delete "$INSTDIR\x\o.cjs"
    RMDir "$INSTDIR\x"
    Delete "$INSTDIR\Samples\sample1.doc"
    Delete "$INSTDIR\Samples\sample2.doc"
    RMDir "$INSTDIR\Samples"
    RMDir "$INSTDIR\Splash"  ; only when empty: a picture someone put there stays
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ; Our folder off the user's PATH, only if we put it there; every other entry stays.
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "AddedToPath"
    ${If} $0 == 1
        ReadRegStr $0 HKCU "Environment" "Path"
        ${UnStrRep} $0 ";$0;" ";$INSTDIR;" ";"
        StrCpy $1 $0 1
        ${If} $1 == ";"
            StrCpy $0 $0 "" 1
        ${EndIf}
        StrCpy $1 $0 "" -1
        ${If} $1 == ";"
            StrCpy $0 $0 -1
        ${EndIf}
        ${If} $0 == ""
            DeleteRegValue HKCU "Environment" "Path"
        ${Else}
            WriteRegExpandStr HKCU "Environment" "Path" "$0"
        ${EndIf}
        SendMessage ${HWND_BROADCAST} ${WM_WININICHANGE} 0 "STR:Environment" /TIMEOUT=5000
    ${EndIf}
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
