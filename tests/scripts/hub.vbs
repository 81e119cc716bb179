' The hub from VBScript: attach, copy out and in, errors as scripts see them.
Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")
Set s = v.CreateGDIDC(20, 10, False, 0)
Set hub = k.GDIAttachDCEx(s)
CheckEqual hub.DC.Width, 20, "the hub shows its surface"

Set t = v.CreateGDIDC(40, 40)
Set red = v.CreateBrushObject(Rgb2(255, 0, 0))
Set t.SelBrush = red
Set red = Nothing
hub.DrawTo t.hDC, 5, 5, 15, 15, , , &HF00021
CheckEqual Hex(t.SelBrush.hBrush) <> "0", True, "the surface keeps the brush selected through it"

On Error Resume Next
hub.CaptureFrom 0, 0, 0, 10, 10
CheckError 5, "Kolorit", "Invalid procedure call or argument", "CaptureFrom from no device context"
Set x = k.GDIAttachDCEx(Nothing)
CheckError 5, "Kolorit", "Invalid procedure call or argument", "GDIAttachDCEx(Nothing)"
hub.DrawTo 12345
CheckLibraryError 10006, "GDIDCEx.DrawTo()", "DrawTo failed!; ", "DrawTo onto a handle that is no device context"
On Error GoTo 0
