; Setup program of the mouse software.
;
; Installs for the current user only, without elevation, into the user's own
; programs folder: every settings file lives beside the programs, so the
; program folder must stay writable on a standard account (under Program Files
; every save would fail or be silently redirected).
;
; The build passes: ARCH (x86-unicode, or amd64-unicode for the 64-bit twin
; used where 32-bit code cannot run), VERSION (a.b.c.d), OUTFILE, DIST (the
; program folder the build assembled), ICON, and WITH_OSD (1 when the display
; program is built, else 0).
;
; The setup asks for its language first. A language chosen there, or given
; as /LANG=<LANGID> (for unattended installs: /S /LANG=1031), that is not the
; one Windows shows goes into config.ini for the programs; otherwise they
; follow Windows' display language.

Unicode true
Target ${ARCH}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define PRODUCT "Professional Gaming Optical Mouse"
!define PUBLISHER "Professional Gaming Mouse"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ProfessionalGamingOpticalMouse"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "${PRODUCT}"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"
!define CONFIG_SHORTCUT "${MENU_FOLDER}\${PRODUCT}.lnk"
!define MANUAL_SHORTCUT "${MENU_FOLDER}\$(ManualShortcutName).lnk"
; The language of setup and uninstaller, kept with the installed program's
; entry so that the uninstaller and a later update speak it without asking.
!define LANGUAGE_VALUE "Installer Language"

; How the programs are found: windows by their exact titles, running
; processes by their single-instance mutexes.
!define MONITOR_TITLE "${PRODUCT} Monitor"
!define OPTION_TITLE "${PRODUCT} Option"
!define OSD_TITLE "${PRODUCT} OSD"
!define MONITOR_MUTEX "${PRODUCT} Monitor"
!define OPTION_MUTEX "${PRODUCT} Configure"
; The tray menu's Exit command: Monitor's own orderly shut-down, which also
; closes Option and the display program.
!define CMD_TRAY_EXIT 6002
; How long (in 100 ms steps) the programs get to end before the user is asked.
!define CLOSE_PATIENCE 300

; One skin set for a display scale: skins\<percent>\ with the files of skins\.
!macro SkinSet PERCENT
    SetOutPath "$INSTDIR\skins\${PERCENT}"
    File "${DIST}/skins/${PERCENT}/*.ini"
    File "${DIST}/skins/${PERCENT}/*.bmp"
    File "${DIST}/skins/${PERCENT}/*.jpg"
!macroend

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Var MonitorWasRunning
; 1 when the user named the setup's language (in its dialog or by /LANG=).
Var LanguageChosen

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "$(ComponentsText)"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(RunNowText)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartMonitorUnlessRunning
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\User Manual.pdf"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(OpenManualText)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "$(KeepSettingsText)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; An update asks no more: the language is read back from here.
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "${LANGUAGE_VALUE}"

; The languages of the programs' language module, English first (the
; language of a Windows none of them matches).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "SpanishInternational"
!insertmacro MUI_LANGUAGE "PortugueseBR"
!insertmacro MUI_LANGUAGE "Polish"
!insertmacro MUI_LANGUAGE "Russian"
!insertmacro MUI_LANGUAGE "Turkish"
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "TradChinese"
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "Korean"
!include "${__FILEDIR__}/languages.nsh"
; The language dialog comes before anything is unpacked.
!insertmacro MUI_RESERVEFILE_LANGDLL

; Sets $0 to 1 when a program file is still held by a process that is ending.
!macro SET_IF_FILE_IN_USE path
    ${If} ${FileExists} "${path}"
        ClearErrors
        FileOpen $1 "${path}" a
        ${If} ${Errors}
            StrCpy $0 1
        ${Else}
            FileClose $1
        ${EndIf}
    ${EndIf}
!macroend

; Closing the programs, shared by setup and uninstaller. Monitor is asked
; through its tray Exit so that it stops its threads, releases the mouse and
; closes Option and the display program itself; whatever is still open
; afterwards is closed by title. Done when no window of theirs is left, both
; single-instance mutexes are gone and no program file is held any more (the
; processes have ended).
!macro DEFINE_CLOSE_FUNCTIONS un
Function ${un}MouseProgramsRunning
    Push $0
    StrCpy $0 0
    FindWindow $1 "" "${MONITOR_TITLE}"
    ${IfThen} $1 <> 0 ${|} StrCpy $0 1 ${|}
    FindWindow $1 "" "${OPTION_TITLE}"
    ${IfThen} $1 <> 0 ${|} StrCpy $0 1 ${|}
    FindWindow $1 "" "${OSD_TITLE}"
    ${IfThen} $1 <> 0 ${|} StrCpy $0 1 ${|}
    ; SYNCHRONIZE access is enough to tell that the mutex exists.
    System::Call 'kernel32::OpenMutex(i 0x00100000, i 0, t "${MONITOR_MUTEX}") p.r1'
    ${If} $1 P<> 0
        System::Call 'kernel32::CloseHandle(p r1)'
        StrCpy $0 1
    ${EndIf}
    System::Call 'kernel32::OpenMutex(i 0x00100000, i 0, t "${OPTION_MUTEX}") p.r1'
    ${If} $1 P<> 0
        System::Call 'kernel32::CloseHandle(p r1)'
        StrCpy $0 1
    ${EndIf}
    !insertmacro SET_IF_FILE_IN_USE "$INSTDIR\Monitor.exe"
    !insertmacro SET_IF_FILE_IN_USE "$INSTDIR\Option.exe"
    !insertmacro SET_IF_FILE_IN_USE "$INSTDIR\VantorOSD.exe"
    !insertmacro SET_IF_FILE_IN_USE "$INSTDIR\korrin.dll"
    !insertmacro SET_IF_FILE_IN_USE "$INSTDIR\lan.dll"
    Exch $0
FunctionEnd

Function ${un}CloseMousePrograms
    StrCpy $MonitorWasRunning 0
    FindWindow $0 "" "${MONITOR_TITLE}"
    ${If} $0 <> 0
        StrCpy $MonitorWasRunning 1
        DetailPrint "$(ClosingText)"
        System::Call 'user32::PostMessage(p r0, i ${WM_COMMAND}, p ${CMD_TRAY_EXIT}, p 0)'
    ${EndIf}
    StrCpy $2 0
    ${Do}
        Call ${un}MouseProgramsRunning
        Pop $1
        ${If} $1 = 0
            ${ExitDo}
        ${EndIf}
        ; Option or the display program without a Monitor (or left behind by
        ; it): asked to close as Monitor itself would.
        FindWindow $0 "" "${MONITOR_TITLE}"
        ${If} $0 = 0
            FindWindow $0 "" "${OPTION_TITLE}"
            ${If} $0 <> 0
                System::Call 'user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)'
            ${EndIf}
            FindWindow $0 "" "${OSD_TITLE}"
            ${If} $0 <> 0
                System::Call 'user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)'
            ${EndIf}
        ${EndIf}
        IntOp $2 $2 + 1
        ${If} $2 >= ${CLOSE_PATIENCE}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(NotClosingText)" /SD IDCANCEL IDRETRY retry
            SetErrorLevel 3
            Abort "$(StillRunningText)"
            retry:
            StrCpy $2 0
        ${EndIf}
        Sleep 100
    ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_FUNCTIONS ""
!insertmacro DEFINE_CLOSE_FUNCTIONS "un."

Section "$(ProgramSection)" SecProgram
    SectionIn RO
    Call CloseMousePrograms

    SetOutPath "$INSTDIR"
    SetOverwrite on
    File "${DIST}/Monitor.exe"
    File "${DIST}/Option.exe"
    File "${DIST}/korrin.dll"
    File "${DIST}/lan.dll"
!if ${WITH_OSD} == 1
    File "${DIST}/VantorOSD.exe"
!endif
    File "${DIST}/User Manual.pdf"

    ; The skins are ours alone: a stale picture of an older version must not stay.
    RMDir /r "$INSTDIR\skins"
    SetOutPath "$INSTDIR\skins"
    File "${DIST}/skins/*.ini"
    File "${DIST}/skins/*.bmp"
    File "${DIST}/skins/*.jpg"
    ; The same skins drawn for larger display scales, one folder each.
    !insertmacro SkinSet 125
    !insertmacro SkinSet 150
    !insertmacro SkinSet 175
    !insertmacro SkinSet 200

    ; The user's settings: the shipped defaults only where none exist yet.
    SetOutPath "$INSTDIR"
    CreateDirectory "$INSTDIR\config"
    SetOverwrite off
    File "${DIST}/config.ini"
    SetOverwrite on
    Call WriteChosenLanguage

    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The manual's entry is named in the setup's language: one of an earlier
    ; installation in another language goes.
    Delete "${MENU_FOLDER}\*.lnk"
    ; The Start-menu entry opens the configuration window through Monitor, so
    ; that the resident program runs whenever the configuration is open.
    CreateDirectory "${MENU_FOLDER}"
    CreateShortcut "${CONFIG_SHORTCUT}" "$INSTDIR\Monitor.exe" "1" "$INSTDIR\Option.exe" 0 SW_SHOWNORMAL "" "$(ConfigShortcutComment)"
    CreateShortcut "${MANUAL_SHORTCUT}" "$INSTDIR\User Manual.pdf"

    ; Unticked on this run: an earlier installation's value goes.
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Monitor.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
    ; The wizard saves the language as its installing page ends; an
    ; unattended install shows no pages.
    ${If} $LanguageChosen = 1
        WriteRegStr HKCU "${UNINSTALL_KEY}" "${LANGUAGE_VALUE}" "$LANGUAGE"
    ${EndIf}
SectionEnd

Section "$(RunSection)" SecRun
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Monitor.exe"'
SectionEnd

Section "-Restart"
    ; An upgrade leaves the mouse software running as it found it.
    ${If} $MonitorWasRunning = 1
        DetailPrint "$(RestartingText)"
        Exec '"$INSTDIR\Monitor.exe"'
    ${EndIf}
SectionEnd

Function .onInit
    SetShellVarContext current
    StrCpy $MonitorWasRunning 0
    Call ChooseLanguage
    ; An upgrade keeps the choice made before: no Run value, no start with Windows.
    ClearErrors
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${IfNot} ${Errors}
        ClearErrors
        ReadRegStr $1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
        ${If} ${Errors}
            !insertmacro UnselectSection ${SecRun}
        ${EndIf}
    ${EndIf}
FunctionEnd

; The setup's language: the one given by /LANG=, else the one an earlier
; installation used, else the user's choice in the language dialog (a silent
; install takes Windows' display language and chooses nothing).
Function ChooseLanguage
    StrCpy $LanguageChosen 0
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/LANG=" $1
    ${IfNot} ${Errors}
        IntOp $1 $1 + 0
        Push $1
        Call LocaleOfLanguage
        Pop $2
        ${If} $2 != ""
            StrCpy $LANGUAGE $1
            StrCpy $LanguageChosen 1
            Return
        ${EndIf}
    ${EndIf}
    ; The dialog shows exactly when nothing is remembered and the setup is
    ; not silent.
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "${LANGUAGE_VALUE}"
    ${If} $1 == ""
    ${AndIfNot} ${Silent}
        StrCpy $LanguageChosen 1
    ${EndIf}
    !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

; The locale name the programs know a language by, for a LANGID on the stack
; (replaced by the name; "" for a language they do not have). A language's
; other countries share its table, except Chinese: Taiwan, Hong Kong and
; Macao read the traditional script.
Function LocaleOfLanguage
    Exch $0
    Push $1
    IntOp $1 $0 & 0x3FF
    IntOp $0 $0 >> 10
    ${Select} $1
    ${Case} 9
        StrCpy $0 "en-US"
    ${Case} 7
        StrCpy $0 "de-DE"
    ${Case} 12
        StrCpy $0 "fr-FR"
    ${Case} 10
        StrCpy $0 "es-ES"
    ${Case} 22
        StrCpy $0 "pt-BR"
    ${Case} 21
        StrCpy $0 "pl-PL"
    ${Case} 25
        StrCpy $0 "ru-RU"
    ${Case} 31
        StrCpy $0 "tr-TR"
    ${Case} 4
        ${Select} $0
        ${Case4} 1 3 5 31
            StrCpy $0 "zh-TW"
        ${CaseElse}
            StrCpy $0 "zh-CN"
        ${EndSelect}
    ${Case} 17
        StrCpy $0 "ja-JP"
    ${Case} 18
        StrCpy $0 "ko-KR"
    ${CaseElse}
        StrCpy $0 ""
    ${EndSelect}
    Pop $1
    Exch $0
FunctionEnd

; A language the user chose that Windows does not show goes into config.ini
; for the programs; otherwise they follow Windows. A language the settings
; already name was the user's own choice and stays.
Function WriteChosenLanguage
    ${If} $LanguageChosen <> 1
        Return
    ${EndIf}
    Push $LANGUAGE
    Call LocaleOfLanguage
    Pop $2
    System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
    Push $0
    Call LocaleOfLanguage
    Pop $3
    ; The programs speak English where Windows' language is none of theirs.
    ${IfThen} $3 == "" ${|} StrCpy $3 "en-US" ${|}
    ${If} $2 != $3
        ReadINIStr $0 "$INSTDIR\config.ini" "Setting" "Language"
        ${If} $0 == ""
            WriteINIStr "$INSTDIR\config.ini" "Setting" "Language" "$2"
        ${EndIf}
    ${EndIf}
FunctionEnd

Function StartMonitorUnlessRunning
    FindWindow $0 "" "${MONITOR_TITLE}"
    ${If} $0 = 0
        Exec '"$INSTDIR\Monitor.exe"'
    ${EndIf}
FunctionEnd

Section "-un.Program"
    Call un.CloseMousePrograms

    Delete "$INSTDIR\Monitor.exe"
    Delete "$INSTDIR\Option.exe"
    Delete "$INSTDIR\korrin.dll"
    Delete "$INSTDIR\lan.dll"
    Delete "$INSTDIR\VantorOSD.exe"
    Delete "$INSTDIR\User Manual.pdf"
    RMDir /r "$INSTDIR\skins"
    ; What the programs wrote for themselves, not the user's settings: the
    ; logs, the diagnostics recording and the remembered HID channels.
    RMDir /r "$INSTDIR\logs"
    Delete "$INSTDIR\korrin-channels.ini"
    Delete "$INSTDIR\Uninstall.exe"

    ; The manual's entry bears the name of the language it was made in.
    Delete "${MENU_FOLDER}\*.lnk"
    RMDir "${MENU_FOLDER}"

    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; Only when empty: the settings stay unless their removal was chosen.
    RMDir "$INSTDIR"
SectionEnd

Section /o "un.$(RemoveSettingsSection)" SecUnSettings
    Delete "$INSTDIR\config.ini"
    Delete "$INSTDIR\config\Default0.gmp"
    Delete "$INSTDIR\config\Default1.gmp"
    Delete "$INSTDIR\config\Default2.gmp"
    Delete "$INSTDIR\config\Default3.gmp"
    Delete "$INSTDIR\config\Default4.gmp"
    Delete "$INSTDIR\config\sequence.dat"
    RMDir "$INSTDIR\config"
    RMDir "$INSTDIR"
SectionEnd

Function un.onInit
    SetShellVarContext current
    !insertmacro MUI_UNGETLANGUAGE
    ; A scripted removal of everything: Uninstall.exe /S /REMOVESETTINGS.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecUnSettings}
    ${EndIf}
FunctionEnd
