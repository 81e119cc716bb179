// Text from JScript: tab stops from JScript arrays, whose elements must be
// numbers, and a Boolean property.
var v = new ActiveXObject("Vellum.VellumFunctions");
var k = new ActiveXObject("Kolorit.KoloritFunctions");
var s = v.CreateGDIDC(200, 60);
var hub = k.GDIAttachDCEx(s);
var t = hub.TextDrawing;

var tabbed = "a\tb\tc";
CheckEqual(t.TabbedTextWidthEx(tabbed, [40, 100]), 100 + t.TextWidth("c"), "tab stops at 40 and 100");
var mismatch = 0;
try { t.DrawTabbedTextEx(tabbed, 0, 0, [40, "forty"]); } catch (e) { mismatch = e.number >>> 0; }
CheckEqual(mismatch, 0x80020005, "a word among the tab stops");

var f = k.GDIFocusDC(s.hDC);
f.Visible = true;
CheckEqual(f.Visible, true, "a Boolean property from JScript");
