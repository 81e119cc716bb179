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
CheckEqual(points.length, 6, "the array is still the script's");

CheckThrows(function () { d.DrawPolygon(false, [1, 2, 3]); }, 450, "", "a list that does not pair up");
