// Primitive drawing from JScript, whose arrays are objects rather than the
// lists VBScript hands over.
var v = new ActiveXObject("Vellum.VellumFunctions");
var k = new ActiveXObject("Kolorit.KoloritFunctions");
var s = v.CreateGDIDC(64, 64);
var hub = k.GDIAttachDCEx(s);
var d = hub.Drawing;
s.SelBrush = v.CreateBrushObject(0xFF0000);
d.DrawRectFiled(0, 0, 64, 64, v.CreateBrushObject(0xFFFFFF));

var points = [10, 10, 50, 10, 50, 50];
d.DrawPolygon(true, points);
CheckEqual(d.PixelColor(45, 20), 0xFF0000, "a filled polygon from a JScript array");
CheckEqual(hub.CurrentPos.X + "," + hub.CurrentPos.Y, "50,50", "the pen ends on the last point");
CheckEqual(points.length, 6, "the array is still the script's");

CheckThrows(function () { d.DrawPolygon(false, [1, 2, 3]); }, 450, "", "a list that does not pair up");
// A word in the list is the dispatch type mismatch (hexadecimal 80020005).
var mismatch = 0;
try { d.DrawPolyBezier([1, 2, "three", 4, 5, 6]); } catch (e) { mismatch = e.number >>> 0; }
CheckEqual(mismatch, 0x80020005, "a word in the list");
