' The hub's errors as a script sees them.
Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")
Set s = v.CreateGDIDC(20, 10, False, 0)
Set hub = k.GDIAttachDCEx(s)

On Error Resume Next
hub.CaptureFrom 0, 0, 0, 10, 10
CheckError 5, "Kolorit", "Invalid procedure call or argument", "CaptureFrom from no device context"
Set x = k.GDIAttachDCEx(v)
CheckError 13, "", "", "GDIAttachDCEx of something that is no surface"
hub.DrawTo 12345
CheckLibraryError 10006, "GDIDCEx.DrawTo()", "DrawTo failed!; ", "DrawTo onto a handle that is no device context"
On Error GoTo 0
