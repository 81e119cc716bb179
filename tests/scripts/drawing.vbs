' Primitive drawing from VBScript: a polygon from a flat list of numbers, a
' path read back as numbers, and coordinates converted in the script's own
' variables. (Lists and objects the invoker refuses are its own tests' part.)
Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")
Set s = v.CreateGDIDC(64, 64)
Set hub = k.GDIAttachDCEx(s)
Set d = hub.Drawing
Set s.SelBrush = v.CreateBrushObject(Rgb2(0, 0, 255))
d.DrawRectFiled 0, 0, 64, 64, v.CreateBrushObject(Rgb2(255, 255, 255))
Set hatched = v.CreateBrushObject(Rgb2(255, 0, 0), 2, 4)
Check hatched.hBrush <> 0, "a cross-hatched brush"

points = Array(10, 10, 50, 10, 50, 50)
d.DrawPolygon True, points
CheckEqual d(45, 20), Rgb2(0, 0, 255), "a filled polygon from a list, read through the default member"
CheckEqual UBound(points) & ":" & points(4), "5:50", "the script's list is still its list"

Set p = hub.Path
p.BeginPath
d.DrawLine 5, 6, 40, 50
p.CloseFigure
p.EndPath
list = p.GetCoordList
CheckEqual LBound(list) & ".." & UBound(list), "0..5", "two points, three numbers each"
CheckEqual list(0) & "," & list(1) & "," & list(2) & " " & list(3) & "," & list(4) & "," & list(5), "5,6,6 40,50,3", _
    "X, Y and type: the move and the closing line"

Set pos = hub.CurrentPos
pos 7, 8
pos.X = 20
CheckEqual pos.X & "," & pos.Y, "20,8", "Move is the default member; X is written keeping Y"
pos.Y = 30
CheckEqual pos.X & "," & pos.Y, "20,30", "and Y keeping X"

Set co = hub.Coordinates
co.MapMode = 8
co.ViewPortExtX = 2
co.ViewPortExtY = 3
x = 5 : y = 5
co.ConvLPtoDP x, y
CheckEqual x & "," & y, "10,15", "a point converted in the script's variables"

k.GDIBatchLimit = 1
CheckEqual k.GDIBatchLimit, 1, "the batch limit"
k.GDIBatchFlush
