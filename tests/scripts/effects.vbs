' Effects from VBScript: a transparent transfer, a gradient, colour
' replacement and the errors scripts see.
Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")

' A sprite: a red square on black.
Set sprite = v.CreateGDIDC(10, 10)
Set hub = k.GDIAttachDCEx(sprite)
hub.Effects.GradientFill 2, 2, 7, 7, Rgb2(255, 0, 0), Rgb2(255, 0, 0)

' A background pattern: a horizontal gradient from blue to green.
Set back = v.CreateGDIDC(30, 20)
k.GDIAttachDCEx(back).Effects.GradientFill 0, 0, 30, 20, Rgb2(0, 0, 255), Rgb2(0, 255, 0), , True
Set probe = k.GDIAttachDCEx(back).Drawing
before = probe.PixelColor(6, 6)

hub.DrawTo back.hDC, 5, 5, , , , , , 0
CheckEqual probe.PixelColor(6, 6), before, "black is transparent: the background stays"
CheckEqual probe.PixelColor(8, 8), Rgb2(255, 0, 0), "the sprite's red is drawn"

Set fx = hub.Effects
Check fx Is hub.Effects, "Effects is made once"
fx.ReplaceColor Rgb2(255, 0, 0), Rgb2(0, 0, 255)
before = probe.PixelColor(18, 8)
hub.DrawTo back.hDC, 15, 5, , , , , , Rgb2(0, 0, 255)
CheckEqual probe.PixelColor(18, 8), before, "blue is transparent now"
CheckEqual probe.PixelColor(16, 6), 0, "and black is drawn"

top = 1
Set mask = fx.GetMaskBitmap(Rgb2(0, 0, 255), 1, top, 9)
CheckEqual mask.Width, 8, "mask width"
CheckEqual mask.Height, 9, "mask height"
CheckEqual top, 1, "the top edge is only read"

On Error Resume Next
fx.InvertArea 5, 5, 2, 10
CheckError 12346, "DCEffectDrawing.InvertArea()", "Invalid boundaries!", "inverted edges"
fx.ReplaceColor 0, 255, 10, 10, 10, 20
CheckError 12346, "DCEffectDrawing.ReplaceColor()", "Invalid boundaries!", "an empty rectangle"
hub.CaptureFrom back.hDC, 0, 0, 5, 5, , , &H660046, 0
CheckError 5, "Kolorit", "Invalid procedure call or argument", "a transparent capture with another operation"
fx.InvertEx Nothing
CheckError 5, "Kolorit", "", "inverting no region"
On Error GoTo 0
