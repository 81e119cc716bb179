' Kolorit gallery: draws with the library and writes PNG pictures into the
' folder "gallery" beside "examples". Run it with `make demo`, or with
' tools/wine-run cscript //nologo examples/gallery.vbs
Option Explicit

Const dcBitSrcCopy = &HCC0020
Const dcBitPatCopy = &HF00021
Const dcBitDestInvert = &H550009
Const dcBitWhiteness = &HFF0062

Dim fso, root, folder, v, k
Set fso = CreateObject("Scripting.FileSystemObject")
root = fso.GetParentFolderName(fso.GetParentFolderName(WScript.ScriptFullName))
folder = fso.BuildPath(root, "gallery")
If Not fso.FolderExists(folder) Then fso.CreateFolder folder

Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")

TransfersPage
RunPage "gallery-drawing.vbs", "DrawingPage"
RunPage "gallery-effects.vbs", "EffectsPage"
WScript.Echo "Gallery written to " & folder

' Block transfers only: coloured bars painted with the destination's brush,
' a captured strip and an inverted block.
Sub TransfersPage()
    Dim canvas, hub, colours, i, stripe
    Set canvas = v.CreateGDIDC(240, 120)
    Set hub = k.GDIAttachDCEx(canvas)
    hub.DrawTo canvas.hDC, 0, 0, 240, 120, , , dcBitWhiteness

    colours = Array(RGB(220, 60, 60), RGB(240, 170, 40), RGB(90, 180, 80), RGB(60, 120, 220), RGB(150, 80, 200))
    For i = 0 To UBound(colours)
        Set canvas.SelBrush = v.CreateBrushObject(colours(i))
        hub.DrawTo canvas.hDC, 10 + i * 30, 100 - (i + 1) * 16, 34 + i * 30, 100, , , dcBitPatCopy
    Next
    Set canvas.SelBrush = v.CreateBrushObject(RGB(40, 40, 40), 2, 5)
    hub.DrawTo canvas.hDC, 170, 10, 230, 100, , , dcBitPatCopy
    canvas.ResetObjects

    Set stripe = v.CreateGDIDC(60, 12)
    k.GDIAttachDCEx(stripe).CaptureFrom canvas.hDC, 10, 88, 160, 100
    hub.CaptureFrom stripe.hDC, 0, 0, 60, 12, 10, 104
    hub.DrawTo canvas.hDC, 180, 30, 220, 70, , , dcBitDestInvert

    canvas.SaveToFile fso.BuildPath(folder, "transfers.png")
End Sub

' A page of its own file defines one Sub taking (v, k, folder).
Sub RunPage(file, name)
    Dim path
    path = fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), file)
    If Not fso.FileExists(path) Then Exit Sub
    ExecuteGlobal fso.OpenTextFile(path).ReadAll()
    Execute name & " v, k, folder"
End Sub
