' Primitive drawing from VBScript: polygons from a flat list of numbers,
' paths read back as numbers, and the errors scripts see.
Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")
Set s = v.CreateGDIDC(64, 64)
Set hub = k.GDIAttachDCEx(s)
Set d = hub.Drawing
Set s.SelPen = v.CreatePenObject(Rgb2(255, 0, 0))
Set s.SelBrush = v.CreateBrushObject(Rgb2(0, 0, 255))
d.DrawRectFiled 0, 0, 64, 64, v.CreateBrushObject(Rgb2(255, 255, 255))

' The library error of a member: number 10000 plus the platform's code.
Sub CheckFailed(source, description, what)
    Check Err.Number >= 10000, what & " (number " & Err.Number & ")"
    CheckEqual Err.Source, source, what & " (source)"
    Check Left(Err.Description, Len(description)) = description, what & " (description): " & Err.Description
    Err.Clear
End Sub

points = Array(10, 10, 50, 10, 50, 50)
d.DrawPolygon True, points
CheckEqual d.PixelColor(45, 20), Rgb2(0, 0, 255), "a filled polygon from a flat list"
CheckEqual d.PixelColor(10, 10), Rgb2(255, 0, 0), "outlined with the pen"
CheckEqual hub.CurrentPos.X & "," & hub.CurrentPos.Y, "50,50", "the pen ends on the last point"
CheckEqual UBound(points), 5, "the script's list is still its list"
CheckEqual points(4), 50, "and holds its numbers"

d.DrawPolygon False, Array(0, 60, 20, 60, 20, 40)
CheckEqual d.PixelColor(10, 60), Rgb2(255, 0, 0), "an open polygon from a literal list"
CheckEqual d.PixelColor(10, 50), Rgb2(255, 255, 255), "left open"

d(3, 4) = Rgb2(0, 128, 0)
CheckEqual d(3, 4), Rgb2(0, 128, 0), "PixelColor is the default member"
d.PixelColor(3, 5, True) = &H8000000D
Check d.PixelColor(3, 5) >= 0, "a system colour is stored as RGB"

' A path made with the drawing object, read back as X, Y, type triples.
Set p = hub.Path
p.BeginPath
d.DrawLine 5, 6, 40, 50
p.CloseFigure
p.EndPath
list = p.GetCoordList
CheckEqual LBound(list) & ".." & UBound(list), "0..5", "two points, three numbers each"
CheckEqual list(0) & "," & list(1) & "," & list(2), "5,6,6", "the move"
CheckEqual list(3) & "," & list(4) & "," & list(5), "40,50,3", "the closing line"
p.DrawPath 1
Check p.MiterLimit = 10, "the platform's miter limit"

' Clipping, position and coordinates.
Set cl = hub.Clipping
cl.IncludeRect 0, 0, 5, 5
CheckEqual cl.LeftEdge & "," & cl.TopEdge & "," & cl.RightEdge & "," & cl.BottomEdge, "0,0,5,5", "clipping box"
Check cl.PointInClipRgn(2, 2), "inside the clipping region"
Check Not cl.PointInClipRgn(9, 9), "outside the clipping region"
cl.SetRegion Nothing
Check cl.ExportRegion Is Nothing, "no clipping region to export"

Set pos = hub.CurrentPos
pos 7, 8
pos.X = 20
CheckEqual pos.X & "," & pos.Y, "20,8", "X is written keeping Y"

Set co = hub.Coordinates
co.MapMode = 8
co.WindowExtX = 10
co.WindowExtY = 10
co.ViewPortExtX = 20
co.ViewPortExtY = 30
x = 5 : y = 5
co.ConvLPtoDP x, y
CheckEqual x & "," & y, "10,15", "a point converted in the script's variables"
co.MapMode = 1

k.GDIBatchLimit = 1
CheckEqual k.GDIBatchLimit, 1, "the batch limit"
k.GDIBatchFlush

On Error Resume Next
d.DrawPolygon True, Array(1, 2, 3)
CheckError 450, "", "", "a list that does not pair up"
d.DrawPolyBezier Array(1, 2, "three", 4, 5, 6)
CheckError 13, "", "", "a list with a word in it"
d.DrawPolyBezier Array(0, 0, 20, 0, 20, 20, 5, 5)
' (Wine's PolyBezierTo sets no error code: what the error shows is the code
' left by an earlier call, which may have no text; only the failure counts.)
Check Err.Number <> 0, "four points are no whole curves"
Err.Clear
c = k.GDIMakeCoords(Array(1, 2, 3))
CheckError 450, "", "", "GDIMakeCoords with three numbers"
x = d(64, 0)
CheckError 9, "", "", "a pixel outside the bitmap"
p.DrawPath 4
CheckError 5, "", "You didn't enter a valid drawing operation constant", "an unknown drawing style"
c = p.GetCoordList
CheckFailed "DCPath.GetCoordList()", "GetPath failed to get number of coords!; ", "no path"
d.DrawRectFiled 0, 0, 5, 5, s
CheckError 13, "", "", "a surface is no brush"
co.MapMode = 0
CheckError 5, "", "", "map mode 0"
On Error GoTo 0
