' Gallery page of primitive drawing: shapes, a clipped drawing and a path
' that is stroked and filled. Run from gallery.vbs, which calls
' DrawingPage with Vellum's and Kolorit's global objects and the folder the
' pictures go to.

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
