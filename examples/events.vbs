' Follows a long effect's progress from VBScript: the effects object raises
' InitDraw, ProgressDraw(NewValue) and EndDraw, and WScript.ConnectObject
' routes them to the Subs named with the given prefix.
'
' Run it with the Windows Script Host:  cscript //nologo events.vbs
' Wine's script host connects no events: there WScript.ConnectObject raises
' error 445 ("Object doesn't support this action") and the script stops
' silently. (The tests do not run this script.)
Option Explicit

Dim v, k, surface, effects, fso, picture
Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")
Set surface = v.CreateGDIDC(1200, 400)
Set effects = k.GDIAttachDCEx(surface).Effects

WScript.ConnectObject effects, "Effects_"
' A step of one pixel: one stroke, and one event, per column.
effects.GradientFill 0, 0, 1200, 400, RGB(20, 40, 160), RGB(240, 200, 60), 1, True
WScript.DisconnectObject effects

Set fso = CreateObject("Scripting.FileSystemObject")
picture = fso.GetAbsolutePathName("events.png")
surface.SaveToFile picture
WScript.Echo "Saved " & picture

Dim shown
Sub Effects_InitDraw()
    shown = -1
End Sub

' Prints a line at every tenth percent (a script host's console cannot
' redraw a bar in place).
Sub Effects_ProgressDraw(NewValue)
    If Int(NewValue / 10) > shown Then
        shown = Int(NewValue / 10)
        WScript.Echo String(shown, "#") & String(10 - shown, ".") & " " & Int(NewValue) & "%"
    End If
End Sub

Sub Effects_EndDraw()
    WScript.Echo "Done."
End Sub
