' Check helpers shared by every VBScript test (the runner puts this first).
Dim Checks, Failures
Checks = 0
Failures = 0

Sub Check(condition, what)
    Checks = Checks + 1
    If Not condition Then
        Failures = Failures + 1
        WScript.Echo "FAIL: " & what
    End If
End Sub

Sub CheckEqual(actual, expected, what)
    Checks = Checks + 1
    If actual <> expected Then
        Failures = Failures + 1
        WScript.Echo "FAIL: " & what & ": got [" & actual & "], expected [" & expected & "]"
    End If
End Sub

' After a call made under On Error Resume Next: checks the error it raised
' (an empty source or description is not checked) and clears it.
Sub CheckError(number, source, description, what)
    CheckEqual Err.Number, number, what & " (number)"
    If source <> "" Then CheckEqual Err.Source, source, what & " (source)"
    If description <> "" Then CheckEqual Err.Description, description, what & " (description)"
    Err.Clear
End Sub

' The description of a library error: the member's text, "; ", the system's
' text for the code, and the source line. The system text differs between
' platforms, so only the parts around it are compared.
Sub CheckLibraryError(number, source, description, what)
    CheckEqual Err.Number, number, what & " (number)"
    CheckEqual Err.Source, source, what & " (source)"
    Check Left(Err.Description, Len(description)) = description, what & " (description starts): " & Err.Description
    Check Right(Err.Description, Len(source) + 16) = vbCrLf & "Error source: " & source, what & " (source line)"
    Err.Clear
End Sub

Function Rgb2(r, g, b)
    Rgb2 = r + g * 256 + b * 65536
End Function

Sub Finish()
    WScript.Echo "SCRIPT-END checks=" & Checks & " failures=" & Failures
    WScript.Quit Failures
End Sub
