' Text and interface drawing from VBScript: texts and corners written back
' into the script's variables, tab stops from the script's own arrays, the
' errors a script sees for them, and the focus rectangle's default member.
Set v = CreateObject("Vellum.VellumFunctions")
Set k = CreateObject("Kolorit.KoloritFunctions")
Set s = v.CreateGDIDC(200, 60)
Set hub = k.GDIAttachDCEx(s)
Set t = hub.TextDrawing
Set ui = hub.UIDrawing
tabbed = "a" & vbTab & "b" & vbTab & "c"
CheckEqual t.TabbedTextWidthEx(tabbed, Array(40, 100)), 100 + t.TextWidth("c"), "tab stops at 40 and 100"
Dim never()
On Error Resume Next
w = t.TabbedTextWidthEx(tabbed, never)
CheckError 9, "", "", "an array that was never dimensioned"
t.DrawTabbedTextEx tabbed, 0, 0, Array(40, "forty")
CheckError 13, "", "", "a word among the tab stops"
t.DrawText "Kolorit", 0, 0
CheckEqual Err.Number, 0, "a literal text"
On Error GoTo 0

' Measuring: the corners come back in the script's variables; the
' formatting request 65536 writes the shortened text into the variable.
x1 = 0 : y1 = 0 : x2 = 100 : y2 = 0
t.DrawTextEx "Kolorit", x1, y1, x2, y2, 1024 + 16
CheckEqual x1 & "," & y1 & "," & x2 & "," & y2, "0,0," & t.TextWidth("Kolorit") & "," & t.TextHeight("Kolorit"), "the measured rectangle"
longText = "Kolorit draws long texts"
t.DrawTextEx longText, 0, 0, 40, 20, 65536 + 32768 + 32
CheckEqual Len(longText), 24, "as many characters as before"
Check InStr(longText, "...") > 0, "the text the platform shortened: " & Left(longText, 8)

label = "&Kolorit"
ui.DrawStatedText label, 40, 30, , , , , True
CheckEqual label, "&Kolorit", "a stated text comes back as it went"

s.ResetObjects
Set d = hub.Drawing
d.DrawRectFiled 0, 0, 200, 60, v.CreateBrushObject(&HFFFFFF)
Set f = k.GDIFocusDC(s.hDC)
f.X1 = 10 : f.Y1 = 10 : f.X2 = 50 : f.Y2 = 30
state = f
CheckEqual state, False, "hidden at first (Visible is the default member)"
before = d(10, 10) & "," & d(11, 10)
f.Visible = True
state = f
CheckEqual state, True, "shown"
Check d(10, 10) & "," & d(11, 10) <> before, "the dotted frame is drawn"
f.Visible = False
CheckEqual d(10, 10) & "," & d(11, 10), before, "and removed"
