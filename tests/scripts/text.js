// Text from JScript: tab stops from JScript arrays, whose elements must be
// numbers, and the focus rectangle on a surface's device context.
var v = new ActiveXObject("Vellum.VellumFunctions");
var k = new ActiveXObject("Kolorit.KoloritFunctions");
var s = v.CreateGDIDC(200, 60);
var hub = k.GDIAttachDCEx(s);
var t = hub.TextDrawing;

var tabbed = "a\tb\tc";
CheckEqual(t.TabbedTextWidthEx(tabbed, [40]), 80 + t.TextWidth("c"), "a tab stop every 40");
CheckEqual(t.TabbedTextWidthEx(tabbed, [40, 100]), 100 + t.TextWidth("c"), "tab stops at 40 and 100");
var mismatch = 0;
try { t.DrawTabbedTextEx(tabbed, 0, 0, [40, "forty"]); } catch (e) { mismatch = e.number >>> 0; }
CheckEqual(mismatch, 0x80020005, "a word among the tab stops");

var f = k.GDIFocusDC(s.hDC);
CheckEqual(f.hDestDC, s.hDC, "the focus rectangle's device context");
CheckEqual(f.ScaleMode, 3, "in pixels");
f.X2 = 40;
f.Y2 = 20;
f.Visible = true;
CheckEqual(f.Visible, true, "shown");
CheckThrows(function () { k.GDIFocusDC(s.SelBitmap.hBitmap); }, 5, "", "a bitmap is no device context");
