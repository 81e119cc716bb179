' Effects from VBScript: an object variable written back by reference, and
' the errors scripts see.
Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")
Set sprite = v.CreateGDIDC(10, 10)
Set hub = k.GDIAttachDCEx(sprite)
Set fx = hub.Effects

' An empty variable receives the rotated image's new surface.
Set turned = Nothing
fx.Rotate turned, 0.5
CheckEqual turned.Width & " x " & turned.Height, "10 x 10", "Rotate hands back a surface of the image's size"

On Error Resume Next
fx.Wave , "long"
CheckError 13, "", "", "a wave length that is no number"
fx.Wave , 0
CheckError 11, "", "", "a wave length of 0"
fx.InvertArea 5, 5, 2, 10
CheckError 12346, "DCEffectDrawing.InvertArea()", "Invalid boundaries!", "inverted edges"
hub.CaptureFrom sprite.hDC, 0, 0, 5, 5, , , &H660046, 0
CheckError 5, "Kolorit", "Invalid procedure call or argument", "a transparent capture with another operation"
On Error GoTo 0
