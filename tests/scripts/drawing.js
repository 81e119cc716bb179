// Primitive drawing from JScript: polygons from plain arrays of numbers and
// paths read back as numbers.
var v = new ActiveXObject("Vellum.VellumFunctions");
var k = new ActiveXObject("Kolorit.KoloritFunctions");
var s = v.CreateGDIDC(64, 64);
var hub = k.GDIAttachDCEx(s);
var d = hub.Drawing;
s.SelPen = v.CreatePenObject(0x0000FF);
s.SelBrush = v.CreateBrushObject(0xFF0000);
d.DrawRectFiled(0, 0, 64, 64, v.CreateBrushObject(0xFFFFFF));

var points = [10, 10, 50, 10, 50, 50];
d.DrawPolygon(true, points);
CheckEqual(d.PixelColor(45, 20), 0xFF0000, "a filled polygon from a JScript array");
CheckEqual(hub.CurrentPos.X, 50, "the pen ends on the last point");
CheckEqual(points.length, 6, "the array is still the script's");

d.DrawPolyBezier([0, 60, 10, 50, 20, 60]);
CheckEqual(hub.CurrentPos.Y, 60, "a curve from a JScript array");

var p = hub.Path;
p.BeginPath();
d.DrawLine(5, 6, 40, 50);
p.EndPath();
var list = new VBArray(p.GetCoordList()).toArray();
CheckEqual(list.join(","), "5,6,6,40,50,2", "the path as numbers");

CheckThrows(function () { d.DrawPolygon(false, [1, 2, 3]); }, 450, "", "", "a list that does not pair up");
// A word in the list is the dispatch type mismatch (hexadecimal 80020005).
var mismatch = 0;
try { d.DrawPolygon(false, [1, 2, "three", 4]); } catch (e) { mismatch = e.number >>> 0; }
CheckEqual(mismatch, 0x80020005, "a word in the list");
CheckThrows(function () { p.DrawPath(-1); }, 5, "", "You didn't enter a valid drawing operation constant",
            "an unknown drawing style");
