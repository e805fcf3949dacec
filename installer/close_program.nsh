; The wait of the installer and the uninstaller for the program to end, and
; for its file to go; included by tavrik.nsi.

; Waits for a running copy of the program to end. Right after starting an
; update the program ends by itself; a copy still open after a few seconds
; is asked to close as its close box would, and the user is asked at last.
!macro CLOSE_PROGRAM un
Function ${un}CloseProgram
  StrCpy $R0 0
  ${Do}
    FindWindow $R1 "${FORM_CLASS}" "${FORM_TITLE}"
    ${If} $R1 = 0
      ; The process may hold its file a moment after its window is gone.
      Call ${un}WaitForProgramFile
      Return
    ${EndIf}
    ${If} $R0 = 0
      DetailPrint "$(Waiting)"
    ${ElseIf} $R0 = 20
      ; Posted as its close box would: a message sent from another process
      ; does not wake the program's message loop once its last window is gone.
      System::Call 'user32::PostMessageW(p $R1, i ${WM_CLOSE}, p 0, p 0)'

    ${ElseIf} $R0 >= 60
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY +3
        SetErrorLevel 2
        Quit
      StrCpy $R0 0
    ${EndIf}
    Sleep 250
    IntOp $R0 $R0 + 1
  ${Loop}
FunctionEnd

; Whether files can be made in the installation's folder: $R3 is 1 or 0.
Function ${un}CanChangeFolder
  ClearErrors
  FileOpen $R3 "$INSTDIR\~tavrik-rights.tmp" w
  ${If} ${Errors}
    StrCpy $R3 0
  ${Else}
    FileClose $R3
    Delete "$INSTDIR\~tavrik-rights.tmp"
    StrCpy $R3 1
  ${EndIf}
FunctionEnd

; Removes the installed program file, retrying while it is still in use. A
; folder the user's rights cannot change is said to be so at once: no wait
; would help.
Function ${un}WaitForProgramFile
  Call ${un}CanChangeFolder
  ${If} $R3 = 0
    MessageBox MB_OK|MB_ICONSTOP "$(NoRights)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  StrCpy $R2 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\${PROGRAM}"
    ${IfNot} ${Errors}
      Return
    ${EndIf}
    ${If} $R2 >= 40
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY +3
        SetErrorLevel 2
        Quit
      StrCpy $R2 0
    ${EndIf}
    Sleep 250
    IntOp $R2 $R2 + 1
  ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM ""
!insertmacro CLOSE_PROGRAM "un."
