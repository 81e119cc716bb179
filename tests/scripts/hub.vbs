' The hub from VBScript: attaching, transfers with optional arguments, and
' errors as a script sees them.
Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")
Set s = v.CreateGDIDC(20, 10, False, 0)
Set hub = k.GDIAttachDCEx(s)
CheckEqual hub.DC.hDC, s.hDC, "the same surface"

' Painting with the destination's brush: PATCOPY ignores the source.
Set t = v.CreateGDIDC(40, 40)
Set red = v.CreateBrushObject(RGB(255, 0, 0))
redHandle = red.hBrush
Set t.SelBrush = red
Set red = Nothing
CheckEqual t.SelBrush.hBrush, redHandle, "the surface keeps the brush selected through it"
hub.DrawTo t.hDC, 5, 5, 15, 15, , , &HF00021

On Error Resume Next
hub.CaptureFrom 0, 0, 0, 10, 10
CheckError 5, "Kolorit", "Invalid procedure call or argument", "CaptureFrom from no device context"
Set x = k.GDIAttachDCEx(v)
CheckError 13, "", "", "GDIAttachDCEx of something that is no surface"
hub.DrawTo 12345
CheckLibraryError 10006, "GDIDCEx.DrawTo()", "DrawTo failed!; ", "DrawTo onto a handle that is no device context"
Set bad = v.CreateGDIDC(0, 10)
CheckError 5, "Vellum", "Invalid procedure call or argument", "a surface without width"
On Error GoTo 0
