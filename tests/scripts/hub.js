// The hub from JScript: errors arrive as exceptions with their number and
// description.
var v = new ActiveXObject("Vellum.VellumFunctions");
var k = new ActiveXObject("Kolorit.KoloritFunctions");
var s = v.CreateGDIDC(16, 8, false, 0);
var hub = k.GDIAttachDCEx(s);
CheckThrows(function () { hub.CaptureFrom(0, 0, 0, 10, 10); }, 5,
            "Invalid procedure call or argument", "CaptureFrom from no device context");
CheckThrows(function () { hub.DrawTo(12345); }, 10006, "",
            "DrawTo onto a handle that is no device context");
