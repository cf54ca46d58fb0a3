; Installer of the handset link and its control panel: a per-user install, without
; administrator rights, into the user's own programs folder.
;
;   makensis -DARCH=x64|i686 -DLINK_EXE=path -DPANEL_EXE=path -DOUTFILE=path installer/handset.nsi
;   (-DUSER_GUIDE=path: the user guide to install; docs/user-guide.md unless given)
;
; scripts/build-installer.sh (and the `installer` target of a Windows build tree) runs it.
;
; Command line of the installer:   /S  unattended;  /D=FOLDER  another folder (last, unquoted)
; Command line of Uninstall.exe:   /S  unattended;  /KEEPSETTINGS  keep the user's settings
;                                  (setup.set and the ring tone) for a later installation
;   Waited for to its end (it runs from its folder instead of a copy in %TEMP%, and so
;   cannot remove itself and its folder, which the caller then deletes):
;     "FOLDER\Uninstall.exe" /S _?=FOLDER      (last, unquoted, even with blanks)

Unicode true
!ifndef ARCH | LINK_EXE | PANEL_EXE | OUTFILE
  !error "define ARCH (x64 or i686), LINK_EXE, PANEL_EXE and OUTFILE"
!endif
!if "${ARCH}" == "x64"
  ; Wine on the build machine runs 64-bit programs only, and 64-bit Windows needs no other.
  Target amd64-unicode
!else if "${ARCH}" == "i686"
  Target x86-unicode
!else
  !error "ARCH must be x64 or i686"
!endif

; The version and names live in common/version.h (makensis works in the folder of this script).
!define VERSION_HEADER "../common/version.h"
!searchparse /file "${VERSION_HEADER}" '#define HANDSET_VERSION_TEXT "' VERSION '"'
!searchparse /file "${VERSION_HEADER}" '#define HANDSET_PRODUCT_NAME "' PRODUCT '"'
!searchparse /file "${VERSION_HEADER}" '#define HANDSET_COMPANY_NAME "' COMPANY '"'
!searchparse /file "${VERSION_HEADER}" '#define HANDSET_COPYRIGHT "' COPYRIGHT '"'
!searchparse /file "${VERSION_HEADER}" '#define HANDSET_COMPANY_URL "' COMPANY_URL '"'
!searchparse /file "${VERSION_HEADER}" '#define HANDSET_PANEL_DESCRIPTION "' PANEL_NAME '"'
!searchparse /file "${VERSION_HEADER}" '#define HANDSET_LINK_DESCRIPTION "' LINK_NAME '"'

; What the installer adds besides its folder; the uninstaller removes the same.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvaneUsbTalkpod"
!define UNINSTALL_PARENT "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define START_MENU "$SMPROGRAMS\${PRODUCT}"
!define PANEL_SHORTCUT "${START_MENU}\${PANEL_NAME}.lnk"
; Starts the link again after it was ended; a second copy ends at once by itself.
!define LINK_SHORTCUT "${START_MENU}\Handset Link.lnk"
!define UNINSTALL_SHORTCUT "${START_MENU}\Uninstall ${PRODUCT}.lnk"
!ifndef USER_GUIDE
  !define USER_GUIDE "../docs/user-guide.md"
!endif
; Plain text that Notepad opens; the Finish page offers it.
!define USER_GUIDE_FILE "User Guide.txt"
; Written by the programs, not by the installer: the user's settings.
!define SETTINGS_FILE "setup.set"
!define RINGTONE_KEY "Software\TALVEK\USB_PHONE_K42"
!define RINGTONE_PARENT "Software\TALVEK"
; How the running programs are found: the panel's hidden application window, the link's window.
!define PANEL_APP_CLASS "TApplication"
!define PANEL_APP_TITLE "${PANEL_NAME}"
!define LINK_CLASS "TTalvekSkypeForm"
; The link's diagnostic log, when the user turned it on: in the user's local application data.
!define LOG_FOLDER "$LOCALAPPDATA\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true
ManifestSupportedOS all
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "WinMessages.nsh"

!define MUI_ICON "../panel/win32/res/handset_present.ico"
!define MUI_UNICON "../panel/win32/res/handset_present.ico"
!define MUI_ABORTWARNING

; In the product's own words, not the stock ones (which speak of system files and reboots).
!define MUI_WELCOMEPAGE_TEXT "Setup will install ${PRODUCT} ${VERSION} for you, without administrator rights:$\r$\n$\r$\n\
- the Handset Link (handsetlink.exe), which makes your USB telephone handset the telephone of Skype;$\r$\n\
- the Control Panel (trayconsole.exe) in the notification area, for the handset's volume and Skype's sound devices;$\r$\n\
- a user guide, and Start-menu entries for both programs.$\r$\n$\r$\n\
Both programs start whenever you sign in. Setup ends running copies before it replaces them.$\r$\n$\r$\n\
Click Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT} is installed.$\r$\n$\r$\n\
The first time the Handset Link runs, Skype asks once whether to allow handsetlink.exe to use it: allow it.$\r$\n$\r$\n\
The user guide explains the handset's keys and what to do when something does not work."
; Room for the text above the two choices.
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartPrograms
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\${USER_GUIDE_FILE}"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the user guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "Untick $\"Your settings$\" to keep them for a later installation."
; Removing frees space: "Space required: 0.0 KB" would only puzzle.
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.HideSpaceRequired
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Set when the installer had to end running copies: an unattended update starts them again.
Var WereRunning

; Ends the running panel and link, waits for them to go and for their program files to be
; free, so they can be replaced or removed. Sets $WereRunning to 1 when one was running.
!macro DEFINE_CLOSE_PROGRAMS un
Function ${un}CloseRunningPrograms
  Push $0
  Push $1
  Push $2
  StrCpy $WereRunning 0
  ; The panel: a second start with ZunDestroyMode ends the running copy, which saves the
  ; user's settings and takes its leave of the link.
  FindWindow $0 "${PANEL_APP_CLASS}" "${PANEL_APP_TITLE}"
  ${If} $0 <> 0
    StrCpy $WereRunning 1
    ${If} ${FileExists} "$INSTDIR\trayconsole.exe"
      ExecWait '"$INSTDIR\trayconsole.exe" ZunDestroyMode'
    ${EndIf}
  ${EndIf}
  ; The link: closing its window ends it, and it sets the handsets to standby on its way out.
  FindWindow $0 "${LINK_CLASS}"
  ${If} $0 <> 0
    StrCpy $WereRunning 1
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=3000
  ${EndIf}
  ; Up to five seconds for both windows to go.
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${PANEL_APP_CLASS}" "${PANEL_APP_TITLE}"
    FindWindow $2 "${LINK_CLASS}"
    ${If} $0 = 0
    ${AndIf} $2 = 0
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 50
  ; A program's file stays locked until its process has ended: up to five seconds more.
  !insertmacro WAIT_FOR_FILE "$INSTDIR\handsetlink.exe"
  !insertmacro WAIT_FOR_FILE "$INSTDIR\trayconsole.exe"
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend

!macro WAIT_FOR_FILE file
  ${If} ${FileExists} "${file}"
    StrCpy $1 0
    ${Do}
      ClearErrors
      FileOpen $0 "${file}" a
      ${IfNot} ${Errors}
        FileClose $0
        ${Break}
      ${EndIf}
      Sleep 100
      IntOp $1 $1 + 1
    ${LoopUntil} $1 >= 50
  ${EndIf}
!macroend

!insertmacro DEFINE_CLOSE_PROGRAMS ""
!insertmacro DEFINE_CLOSE_PROGRAMS "un."

Function StartPrograms
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\handsetlink.exe"'
  Exec '"$INSTDIR\trayconsole.exe"'
FunctionEnd

Section "-Programs"
  Call CloseRunningPrograms
  SetOutPath "$INSTDIR"
  File "/oname=handsetlink.exe" "${LINK_EXE}"
  File "/oname=trayconsole.exe" "${PANEL_EXE}"
  File "/oname=${USER_GUIDE_FILE}" "${USER_GUIDE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Both programs start at logon.
  WriteRegStr HKCU "${RUN_KEY}" "${LINK_NAME}" '"$INSTDIR\handsetlink.exe"'
  WriteRegStr HKCU "${RUN_KEY}" "${PANEL_NAME}" '"$INSTDIR\trayconsole.exe"'

  CreateDirectory "${START_MENU}"
  CreateShortcut "${PANEL_SHORTCUT}" "$INSTDIR\trayconsole.exe" "" "$INSTDIR\trayconsole.exe" 0
  CreateShortcut "${LINK_SHORTCUT}" "$INSTDIR\handsetlink.exe" "" "$INSTDIR\handsetlink.exe" 0
  CreateShortcut "${UNINSTALL_SHORTCUT}" "$INSTDIR\Uninstall.exe"

  ; Apps & features (Programs and Features) lists it for the user.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\trayconsole.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "${COMPANY_URL}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "${COMPANY_URL}"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function .onInstSuccess
  ; The finish page offers the start when someone is watching.
  ${If} ${Silent}
  ${AndIf} $WereRunning = 1
    Call StartPrograms
  ${EndIf}
FunctionEnd

Section "un.${PRODUCT}" UnPrograms
  SectionIn RO
  Call un.CloseRunningPrograms
  Delete "$INSTDIR\handsetlink.exe"
  Delete "$INSTDIR\trayconsole.exe"
  Delete "$INSTDIR\${USER_GUIDE_FILE}"
  Delete "$INSTDIR\Uninstall.exe"
  DeleteRegValue HKCU "${RUN_KEY}" "${LINK_NAME}"
  DeleteRegValue HKCU "${RUN_KEY}" "${PANEL_NAME}"
  Delete "${PANEL_SHORTCUT}"
  Delete "${LINK_SHORTCUT}"
  Delete "${UNINSTALL_SHORTCUT}"
  RMDir "${START_MENU}"
SectionEnd

Section "un.Your settings" UnSettings
  Delete "$INSTDIR\${SETTINGS_FILE}"
  DeleteRegKey HKCU "${RINGTONE_KEY}"
  DeleteRegKey /ifempty HKCU "${RINGTONE_PARENT}"
  Delete "${LOG_FOLDER}\handsetlink.log"
  Delete "${LOG_FOLDER}\handsetlink.old.log"
  RMDir "${LOG_FOLDER}"
SectionEnd

Section "-un.Finish"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DeleteRegKey /ifempty HKCU "${UNINSTALL_PARENT}"
  ; Only when empty: kept settings keep the folder, and nothing else in it is touched.
  SetOutPath "$TEMP"
  RMDir "$INSTDIR"
  RMDir "$LOCALAPPDATA\Programs"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UnPrograms} "The programs, their Start-menu entries and their start at sign-in."
  !insertmacro MUI_DESCRIPTION_TEXT ${UnSettings} "The sound devices, volumes and ring tone you chose, and the diagnostic log if you turned it on. Untick to keep them for a later installation."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.HideSpaceRequired
  ShowWindow $mui.ComponentsPage.SpaceRequired ${SW_HIDE}
FunctionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/KEEPSETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${UnSettings}
  ${EndIf}
FunctionEnd
