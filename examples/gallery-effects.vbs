' Gallery page of the effects: gradients, a mirrored and flipped image, a
' mask with colour replacement, and a transparent transfer over a pattern.
' gallery.vbs runs it with the Vellum and Kolorit objects and the folder the
' pictures go to.
'
' On Windows a script can follow the progress of the long effects:
'     WScript.ConnectObject hub.Effects, "Fx_"
'     Sub Fx_InitDraw() : WScript.Echo "started" : End Sub
'     Sub Fx_ProgressDraw(NewValue) : WScript.Echo NewValue & "%" : End Sub
'     Sub Fx_EndDraw() : WScript.Echo "done" : End Sub
' (Wine's cscript cannot connect events, so the gallery does not.)

Sub EffectsPage(v, k, folder)
    Const SrcCopy = &HCC0020
    Dim canvas, hub, fx, picture, pictureHub, reversed, reversedHub, i, tile, sprite, spriteHub, mask, pattern

    ' Gradients: across, down, in coarse steps, and over a part of a band.
    Set canvas = v.CreateGDIDC(320, 120)
    Set fx = k.GDIAttachDCEx(canvas).Effects
    fx.GradientFill 0, 0, 320, 120, RGB(250, 250, 250), RGB(250, 250, 250)
    fx.GradientFill 10, 10, 150, 55, RGB(20, 40, 160), RGB(240, 200, 60), , True
    fx.GradientFill 170, 10, 310, 110, RGB(200, 30, 60), RGB(20, 20, 20)
    fx.GradientFill 10, 65, 150, 110, RGB(30, 160, 90), RGB(230, 240, 230), 14, True
    canvas.SaveToFile folder & "\gradient.png"

    ' A picture and its three reversals side by side.
    Set picture = v.CreateGDIDC(70, 50)
    Set pictureHub = k.GDIAttachDCEx(picture)
    pictureHub.Effects.GradientFill 0, 0, 70, 50, RGB(90, 150, 230), RGB(230, 240, 255)
    pictureHub.Effects.GradientFill 0, 36, 70, 50, RGB(60, 140, 60), RGB(60, 140, 60)
    pictureHub.Effects.GradientFill 8, 8, 22, 22, RGB(250, 210, 40), RGB(250, 210, 40)
    pictureHub.Effects.GradientFill 44, 20, 52, 36, RGB(120, 70, 30), RGB(120, 70, 30)
    Set canvas = v.CreateGDIDC(320, 70)
    Set hub = k.GDIAttachDCEx(canvas)
    hub.Effects.GradientFill 0, 0, 320, 70, RGB(255, 255, 255), RGB(255, 255, 255)
    For i = 0 To 3
        Set reversed = v.CreateGDIDC(70, 50)
        pictureHub.DrawTo reversed.hDC
        Set reversedHub = k.GDIAttachDCEx(reversed)
        Select Case i
            Case 1: reversedHub.Effects.Mirror
            Case 2: reversedHub.Effects.Flip
            Case 3: reversedHub.Effects.FlipMirror
        End Select
        reversedHub.DrawTo canvas.hDC, 10 + i * 77, 10
    Next
    canvas.SaveToFile folder & "\mirrored.png"

    ' A mask of the picture's sun, the sun replaced by stripes, then the grass
    ' turned grey.
    Set mask = pictureHub.Effects.GetMaskBitmap(RGB(250, 210, 40))
    Set pattern = v.CreateGDIDC(70, 50)
    For i = 0 To 9
        k.GDIAttachDCEx(pattern).Effects.GradientFill i * 7, 0, i * 7 + 7, 50, RGB(200, 40 + i * 20, 80), RGB(200, 40 + i * 20, 80)
    Next
    Set canvas = v.CreateGDIDC(240, 70)
    Set hub = k.GDIAttachDCEx(canvas)
    hub.Effects.GradientFill 0, 0, 240, 70, RGB(255, 255, 255), RGB(255, 255, 255)
    k.GDIAttachDCEx(mask).DrawTo canvas.hDC, 10, 10
    pictureHub.Effects.ApplyMask mask, pattern
    pictureHub.DrawTo canvas.hDC, 87, 10
    pictureHub.Effects.ReplaceColor RGB(60, 140, 60), RGB(240, 240, 240), 0, 30
    pictureHub.DrawTo canvas.hDC, 164, 10
    canvas.SaveToFile folder & "\mask.png"

    ' A sprite on black, drawn with black transparent over a tiled pattern.
    Set tile = v.CreateGDIDC(16, 16)
    k.GDIAttachDCEx(tile).Effects.GradientFill 0, 0, 16, 16, RGB(210, 210, 220), RGB(210, 210, 220)
    k.GDIAttachDCEx(tile).Effects.GradientFill 0, 0, 8, 8, RGB(160, 160, 180), RGB(160, 160, 180)
    k.GDIAttachDCEx(tile).Effects.GradientFill 8, 8, 16, 16, RGB(160, 160, 180), RGB(160, 160, 180)
    Set sprite = v.CreateGDIDC(60, 60)
    Set spriteHub = k.GDIAttachDCEx(sprite)
    spriteHub.Effects.GradientFill 10, 10, 50, 50, RGB(220, 40, 40), RGB(250, 180, 40), , True
    spriteHub.Effects.GradientFill 24, 0, 36, 60, RGB(40, 90, 200), RGB(40, 90, 200)
    Set canvas = v.CreateGDIDC(200, 80)
    Set hub = k.GDIAttachDCEx(canvas)
    hub.Effects.TileArea 0, 0, 200, 80, tile.hDC
    spriteHub.DrawTo canvas.hDC, 10, 10, , , , , SrcCopy
    spriteHub.DrawTo canvas.hDC, 120, 10, , , , , SrcCopy, 0
    canvas.SaveToFile folder & "\transparent.png"
End Sub
