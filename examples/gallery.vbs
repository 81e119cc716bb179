' Kolorit gallery: draws with the library and writes PNG pictures into the
' folder "gallery" beside "examples", with gallery/index.html showing each
' picture, its title and the lines below that drew it. Run it with
' `make demo`, or with tools/wine-run cscript //nologo examples/gallery.vbs
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
DrawingPage v, k, folder
EffectsPage v, k, folder
WriteIndex folder
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

' ---------------------------------------------------------------------------
' Primitive drawing: shapes, a clipped drawing and a path stroked and filled.

Sub DrawingPage(v, k, folder)
    DrawShapes v, k, folder & "\shapes.png"
    DrawClipped v, k, folder & "\clipped.png"
    DrawPathFigure v, k, folder & "\path.png"
End Sub

' A white surface of the given size with its hub.
Function DrawingCanvas(v, k, width, height, hub)
    Dim surface
    Set surface = v.CreateGDIDC(width, height)
    Set hub = k.GDIAttachDCEx(surface)
    hub.Drawing.DrawRectFiled 0, 0, width, height, v.CreateBrushObject(RGB(255, 255, 255))
    Set DrawingCanvas = surface
End Function

' One of each shape family, outlined with the pen and filled with the brush.
Sub DrawShapes(v, k, path)
    Dim surface, hub, d, star, region
    Set surface = DrawingCanvas(v, k, 320, 160, hub)
    Set d = hub.Drawing
    Set surface.SelPen = v.CreatePenObject(RGB(40, 40, 90), 0, 2)

    Set surface.SelBrush = v.CreateBrushObject(RGB(220, 60, 60))
    d.DrawRect 10, 10, 70, 60
    Set surface.SelBrush = v.CreateBrushObject(RGB(240, 170, 40))
    d.DrawRect 80, 10, 140, 60, 20, 20
    Set surface.SelBrush = v.CreateBrushObject(RGB(90, 180, 80))
    d.DrawEllipse 150, 10, 230, 60, , , , , True
    d.DrawEllipse 240, 10, 310, 60, 310, 35, 240, 35
    Set surface.SelBrush = v.CreateBrushObject(RGB(60, 120, 220))
    d.DrawPie 10, 70, 80, 140, 80, 105, 45, 70
    d.DrawChord 90, 70, 160, 140, 160, 105, 90, 105

    ' A five-pointed star, from a plain list of numbers; the winding fill
    ' fills its centre too.
    Set surface.SelBrush = v.CreateBrushObject(RGB(150, 80, 200))
    star = Array(205, 72, 219, 116, 172, 88, 238, 88, 191, 116)
    d.PolyFillMode = 2
    d.DrawPolygon True, star

    ' One curve: from its first point, pulled by the first two, to the third.
    d.DrawPolyBezier Array(250, 135, 280, 40, 310, 135)

    Set region = CreateObject("Vellum.GDIRegion")
    region.CreateRoundRect 10, 145, 310, 158, 8, 8
    d.DrawRegion region, v.CreateBrushObject(RGB(40, 40, 90)), 1, 1

    surface.ResetObjects
    surface.SaveToFile path
End Sub

' Stripes drawn through an elliptic clipping region with a square hole.
Sub DrawClipped(v, k, path)
    Dim surface, hub, d, shape, i
    Set surface = DrawingCanvas(v, k, 200, 160, hub)
    Set d = hub.Drawing

    Set shape = CreateObject("Vellum.GDIRegion")
    shape.CreateEllipse 10, 10, 190, 150
    hub.Clipping.SetRegion shape
    hub.Clipping.ExcludeRect 80, 60, 120, 100
    For i = 0 To 19
        d.DrawRectFiled 0, i * 8, 200, i * 8 + 4, v.CreateBrushObject(RGB(60 + i * 9, 120, 220 - i * 8))
    Next
    hub.Clipping.SetRegion Nothing

    Set surface.SelPen = v.CreatePenObject(RGB(40, 40, 90))
    d.DrawEllipse 10, 10, 190, 150
    surface.ResetObjects
    surface.SaveToFile path
End Sub

' A path of a triangle and a circle, stroked and filled at once, and the
' outline of a wide curve.
Sub DrawPathFigure(v, k, path)
    Dim surface, hub, d, p
    Set surface = DrawingCanvas(v, k, 240, 160, hub)
    Set d = hub.Drawing
    Set p = hub.Path

    Set surface.SelPen = v.CreatePenObject(RGB(40, 40, 90), 0, 3)
    Set surface.SelBrush = v.CreateBrushObject(RGB(240, 170, 40))
    d.PolyFillMode = 1
    p.BeginPath
    d.DrawPolygon False, Array(20, 140, 110, 20, 200, 140, 20, 140)
    p.CloseFigure
    d.DrawEllipse 70, 60, 150, 140
    p.EndPath
    p.DrawPath 3

    Set surface.SelPen = v.CreatePenObject(RGB(220, 60, 60), 0, 9)
    p.BeginPath
    d.DrawPolyBezier Array(150, 40, 170, 0, 190, 60, 200, 60, 215, 0, 230, 40)
    p.EndPath
    p.WidenPath
    Set surface.SelPen = v.CreatePenObject(RGB(40, 40, 90))
    p.DrawPath 1
    surface.ResetObjects
    surface.SaveToFile path
End Sub

' ---------------------------------------------------------------------------
' Effects: gradients, a mirrored and flipped image, a mask with colour
' replacement, and a transparent transfer over a pattern.
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

' ---------------------------------------------------------------------------
' The index page, made from this script's own text. A picture's lines run
' from the start of its Sub, or from the previous picture's SaveToFile, to
' its own SaveToFile. Its title is the comment that opens those lines, or
' else the comment above the Sub. Its file name is on the SaveToFile line,
' or on the line that calls the Sub.

Sub WriteIndex(folder)
    Dim lines, i, line, subName, subComment, first, file, page, index
    lines = Split(Replace(fso.OpenTextFile(WScript.ScriptFullName).ReadAll, vbCr, ""), vbLf)
    page = "<!DOCTYPE html>" & vbCrLf & "<html><head><meta charset=""utf-8""><title>Kolorit gallery</title>" & _
           "<style>body{font-family:sans-serif;max-width:60em;margin:auto}img{border:1px solid #ccc}" & _
           "pre{background:#f4f4f4;padding:.6em;overflow:auto}</style></head><body>" & vbCrLf & _
           "<h1>Kolorit gallery</h1>" & vbCrLf
    For i = 0 To UBound(lines)
        line = Trim(lines(i))
        If Left(line, 4) = "Sub " Or Left(line, 9) = "Function " Then
            subName = Mid(line, InStr(line, " ") + 1)
            If InStr(subName, "(") > 0 Then subName = Left(subName, InStr(subName, "(") - 1)
            subComment = CommentAbove(lines, i)
            first = i + 1
        ElseIf InStr(line, ".SaveToFile ") > 0 Then
            file = PictureName(lines, line, subName)
            If file <> "" Then
                If fso.FileExists(fso.BuildPath(folder, file)) Then page = page & PictureEntry(lines, first, i, subComment, file)
            End If
            first = i + 1
        End If
    Next
    Set index = fso.CreateTextFile(fso.BuildPath(folder, "index.html"), True)
    index.Write page & "</body></html>" & vbCrLf
    index.Close
End Sub

Function IsComment(line)
    IsComment = False
    If Left(Trim(line), 1) = "'" Then IsComment = Replace(Replace(Trim(line), "'", ""), "-", "") <> ""
End Function

Function CommentText(line)
    CommentText = Trim(Mid(Trim(line), 2))
End Function

' The comment block right above line i.
Function CommentAbove(lines, i)
    Dim j, text
    text = ""
    j = i - 1
    Do While j >= 0
        If Not IsComment(lines(j)) Then Exit Do
        text = CommentText(lines(j)) & " " & text
        j = j - 1
    Loop
    CommentAbove = Trim(text)
End Function

' The picture's file name: a literal ending in .png on the line, or on the
' line that calls the Sub with it.
Function PictureName(lines, line, subName)
    Dim i
    PictureName = PngLiteral(line)
    If PictureName <> "" Then Exit Function
    For i = 0 To UBound(lines)
        If InStr(lines(i), subName & " ") > 0 And Left(Trim(lines(i)), 4) <> "Sub " Then
            PictureName = PngLiteral(lines(i))
            If PictureName <> "" Then Exit Function
        End If
    Next
End Function

Function PngLiteral(line)
    Dim last, start
    PngLiteral = ""
    last = InStr(LCase(line), ".png""")
    If last = 0 Then Exit Function
    start = InStrRev(line, """", last)
    PngLiteral = Mid(line, start + 1, last + 3 - start)
    If Left(PngLiteral, 1) = "\" Then PngLiteral = Mid(PngLiteral, 2)
End Function

' One picture: its title, the picture, and its lines without declarations
' and without the title.
Function PictureEntry(lines, first, last, subComment, file)
    Dim i, line, title, code, indent, started
    title = ""
    code = ""
    started = False
    For i = first To last
        line = lines(i)
        If Trim(line) = "" Or Left(Trim(line), 4) = "Dim " Or Left(Trim(line), 6) = "Const " Then
            If started And Trim(line) = "" Then code = code & vbLf
        ElseIf Not started And IsComment(line) Then
            title = Trim(title & " " & CommentText(line))
        Else
            If Not started Then indent = Len(line) - Len(LTrim(line))
            started = True
            If Len(line) - Len(LTrim(line)) >= indent Then line = Mid(line, indent + 1)
            code = code & line & vbLf
        End If
    Next
    If title = "" Then title = subComment
    PictureEntry = "<h2>" & Html(title) & "</h2>" & vbCrLf & "<p><img src=""" & file & """ alt=""" & _
                   Html(file) & """></p>" & vbCrLf & "<pre><code>" & Html(code) & "</code></pre>" & vbCrLf
End Function

Function Html(text)
    Html = Replace(Replace(Replace(text, "&", "&amp;"), "<", "&lt;"), ">", "&gt;")
End Function
