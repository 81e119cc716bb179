' Effects from VBScript: every member with its optional parameters left out,
' a transparent transfer, and the errors scripts see.
Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")

' A sprite: a red square on black (equal colours make one plain fill).
Set sprite = v.CreateGDIDC(10, 10)
Set hub = k.GDIAttachDCEx(sprite)
Set fx = hub.Effects
fx.GradientFill 2, 2, 7, 7, Rgb2(255, 0, 0), Rgb2(255, 0, 0)

' A background from blue at the right to green, the step size left out.
Set back = v.CreateGDIDC(30, 20)
Set probe = k.GDIAttachDCEx(back).Drawing
k.GDIAttachDCEx(back).Effects.GradientFill 0, 0, 30, 20, Rgb2(0, 0, 255), Rgb2(0, 255, 0), , True
CheckEqual probe.PixelColor(29, 0), Rgb2(0, 0, 255), "a horizontal gradient starts at the right"
before = probe.PixelColor(6, 6)
hub.DrawTo back.hDC, 5, 5, , , , , , 0
CheckEqual probe.PixelColor(6, 6), before, "black is transparent: the background stays"
CheckEqual probe.PixelColor(8, 8), Rgb2(255, 0, 0), "the sprite's red is drawn"

' Every other member with its defaults: each must run.
Set other = v.CreateGDIDC(10, 10)
fx.StretchMode = 3
CheckEqual fx.StretchMode, 3, "StretchMode"
fx.StretchTo other.hDC, 5, 5, 5, 5, 0, 0, 10, 10
CheckEqual k.GDIAttachDCEx(other).Drawing.PixelColor(7, 7), Rgb2(255, 0, 0), "StretchTo takes sizes, copies"
fx.TileArea 0, 0, 10, 10, other.hDC
fx.FloodFill 1, 1
fx.InvertArea
top = 1
Set mask = fx.GetMaskBitmap(Rgb2(0, 255, 255), 1, top, 9)
CheckEqual mask.Width & " x " & mask.Height, "8 x 9", "the mask's size"
CheckEqual top, 1, "the top edge is only read"
fx.ApplyMask mask, other
fx.ReplaceColor 0, 255
fx.ReplaceColorEx 255, other
Set region = CreateObject("Vellum.GDIRegion")
region.CreateRect 0, 0, 5, 5
fx.InvertEx region
fx.Mirror
fx.Flip
fx.FlipMirror

' The distortions: an empty variable receives the rotated image's new surface.
Set turned = Nothing
fx.Rotate turned, 0.5
CheckEqual turned.Width & " x " & turned.Height, "10 x 10", "Rotate hands back a surface of the image's size"
fx.Rotate turned, 1, 2, -1
fx.GravitationPit 5, 5
fx.GravitationPit 5, 5, "3.5"
fx.Wave
fx.Wave 2, "4.5", 1, 0

On Error Resume Next
fx.Wave , "long"
CheckError 13, "", "", "a wave length that is no number"
fx.Wave , 0
CheckError 11, "", "", "a wave length of 0"
fx.InvertArea 5, 5, 2, 10
CheckError 12346, "DCEffectDrawing.InvertArea()", "Invalid boundaries!", "inverted edges"
hub.CaptureFrom back.hDC, 0, 0, 5, 5, , , &H660046, 0
CheckError 5, "Kolorit", "Invalid procedure call or argument", "a transparent capture with another operation"
On Error GoTo 0
