// Sub-objects whose hub and surface are gone keep a dead device context:
// every platform call fails, and each member shows the error it raises.
#include "Drawing.h"

using namespace test;

namespace {

struct Case {
    const char* what;
    std::function<HRESULT()> call;
    const wchar_t* source;  // nullptr: the run-time error in `description`'s place
    const wchar_t* description;
    long runtimeError = 0;
};
Case runtime(const char* what, std::function<HRESULT()> call, long number) { return {what, std::move(call), nullptr, nullptr, number}; }

void check(const Case& c) {
    SCOPED_TRACE(c.what);
    SetLastError(ERROR_INVALID_HANDLE);  // Wine leaves some failures without a code of their own
    const HRESULT hr = c.call();
    ASSERT_TRUE(FAILED(hr));
    if (c.source) expectLibraryError(errorOf(hr), c.source, c.description);
    else expectRuntimeError(errorOf(hr), c.runtimeError);
}

}  // namespace

TEST(DeadDeviceContext, MembersRaiseTheirErrors) {
    ComPtr<_DCDrawing> d;
    ComPtr<_DCClipping> c;
    ComPtr<_DCPosition> p;
    ComPtr<_DCPath> path;
    ComPtr<_DCCoordinates> co;
    {
        Canvas canvas;
        d = canvas.get(&_GDIDCEx::get_Drawing), c = canvas.get(&_GDIDCEx::get_Clipping);
        p = canvas.get(&_GDIDCEx::get_CurrentPos), path = canvas.get(&_GDIDCEx::get_Path);
        co = canvas.get(&_GDIDCEx::get_Coordinates);
    }
    ComPtr<_GDIRegion> region = rectRegion(0, 0, 5, 5), out;
    com::SafeArray points = coords({{0, 0}, {5, 0}, {5, 5}});
    SAFEARRAY* array = points.get();
    OLE_COLOR color = 0;
    long value = 0, x = 1, y = 1;
    double limit = 0;
    DCPolyFillMode fillMode{};
    DCMapModes mapMode{};
    const Case cases[] = {
        {"FillStyle", [&] { return d->put_FillStyle(dcBgModeOpaque); }, L"DCDrawing.FillStyle [let]", L"FillStyle failed!"},
        {"BackColor", [&] { return d->put_BackColor(0); }, L"DCDrawing.BackColor [let]", L"BackColor failed!"},
        {"DrawMode", [&] { return d->put_DrawMode(dcDrawModeXor); }, L"DCDrawing.DrawMode [let]", L"DrawMode failed!"},
        {"PolyFillMode get", [&] { return d->get_PolyFillMode(&fillMode); }, L"DCDrawing.PolyFillMode [get]", L"PolyFillMode failed!"},
        {"PolyFillMode let", [&] { return d->put_PolyFillMode(dcFillModeWinding); }, L"DCDrawing.PolyFillMode [let]", L"PolyFillMode failed!"},
        runtime("PixelColor get", [&] { return d->get_PixelColor(1, 1, VARIANT_FALSE, &color); }, 9),
        {"Ellipse", [&] { return d->DrawEllipse(0, 0, 9, 9, 0, 0, 0, 0, VARIANT_TRUE); }, L"DCDrawing.DrawEllipse()", L"DrawEllipse failed!"},
        {"Arc", [&] { return d->DrawEllipse(0, 0, 9, 9, 0, 0, 0, 0, VARIANT_FALSE); }, L"DCDrawing.DrawEllipse()", L"DrawEllipse (arc) failed!"},
        runtime("DrawLine", [&] { return d->DrawLine(0, 0, 9, 9); }, 5),
        {"DrawLineTo", [&] { return d->DrawLineTo(9, 9); }, L"DCDrawing.DrawLineTo()", L"DrawLineTo failed!"},
        {"DrawChord", [&] { return d->DrawChord(0, 0, 9, 9, 9, 5, 5, 0); }, L"DCDrawing.DrawChord()", L"DrawChord failed!"},
        {"DrawPie", [&] { return d->DrawPie(0, 0, 9, 9, 9, 5, 5, 0); }, L"DCDrawing.DrawPie()", L"DrawPie failed!"},
        {"Polygon", [&] { return d->DrawPolygon(VARIANT_TRUE, &array); }, L"DCDrawing.DrawPolygon()", L"DrawPolygon (polygon) failed!"},
        runtime("open polygon: its first move", [&] { return d->DrawPolygon(VARIANT_FALSE, &array); }, 5),
        runtime("bezier: its first move", [&] { return d->DrawPolyBezier(&array); }, 5),
        {"Rectangle", [&] { return d->DrawRect(0, 0, 9, 9, 0, 0); }, L"DCDrawing.DrawRect()", L"DrawRect failed!"},
        {"RoundRect by height", [&] { return d->DrawRect(0, 0, 9, 9, 0, 5); }, L"DCDrawing.DrawRect()", L"DrawRoundRect failed!"},
        {"RoundRect by width", [&] { return d->DrawRect(0, 0, 9, 9, 5, 0); }, L"DCDrawing.DrawRect()", L"DrawRoundRect failed!"},
        {"PatBlt", [&] { return d->DrawRectEx(0, 0, 9, 9, VARIANT_TRUE, dcPatCopy); }, L"DCDrawing.DrawRectEx()", L"DrawRectEx failed!"},
        {"FrameRect", [&] { return d->DrawRectEx(0, 0, 9, 9, VARIANT_FALSE, dcPatCopy); }, L"DCDrawing.DrawRectEx()", L"DrawRect failed!"},
        {"FillRgn", [&] { return d->DrawRegion(region.Get(), nullptr, 0, 0); }, L"DCDrawing.DrawRegion()", L"DrawRegion Failed!"},
        {"FrameRgn", [&] { return d->DrawRegion(region.Get(), nullptr, 1, 1); }, L"DCDrawing.DrawRegion()", L"DrawRegion Failed!"},
        {"SetRegion", [&] { return c->SetRegion(region.Get()); }, L"DCClipping.SetRegion()", L"Could not set clipped region!"},
        {"IncludeRect", [&] { return c->IncludeRect(0, 0, 5, 5); }, L"DCClipping.IncludeRect()", L"Could not include rect in clipping region!"},
        {"ExcludeRect", [&] { return c->ExcludeRect(0, 0, 5, 5); }, L"DCClipping.ExcludeRect()", L"Could not exclude rect from clipping region!"},
        {"ImportRgn", [&] { return c->ImportRgn(region.Get(), vlRgnOr); }, L"DCClipping.ImportRgn()", L"Could not add region to clipped region!"},
        {"BottomEdge", [&] { return c->get_BottomEdge(&value); }, L"DCClipping.<Region_ClipRect()>", L"Could not get clipping box!"},
        {"Move", [&] { return p->Move(1, 2); }, L"DCPosition.Move()", L"MoveToEx failed!"},
        {"X get", [&] { return p->get_X(&value); }, L"DCPosition.X [get]", L"GetCurrentPositionEx failed!"},
        {"X let reads Y", [&] { return p->put_X(1); }, L"DCPosition.Y [get]", L"GetCurrentPositionEx failed!"},
        {"Y let reads X", [&] { return p->put_Y(1); }, L"DCPosition.X [get]", L"GetCurrentPositionEx failed!"},
        {"Abort", [&] { return path->Abort(); }, L"DCPath.Abort()", L"AbortPath failed!"},
        {"BeginPath", [&] { return path->BeginPath(); }, L"DCPath.BeginPath()", L"BeginPath failed!"},
        {"CloseFigure", [&] { return path->CloseFigure(); }, L"DCPath.CloseFigure()", L"CloseFigure failed!"},
        {"WidenPath", [&] { return path->WidenPath(); }, L"DCPath.WidenPath()", L"WidenPath failed!"},
        {"Flatten", [&] { return path->DrawPath(dcPathDrawFlattern); }, L"DCPath.DrawPath()", L"FlatternPath failed!"},
        {"Stroke", [&] { return path->DrawPath(dcPathDrawStroked); }, L"DCPath.DrawPath()", L"StrokePath failed!"},
        {"Fill", [&] { return path->DrawPath(dcPathDrawFilled); }, L"DCPath.DrawPath()", L"FillPath failed!"},
        {"Both", [&] { return path->DrawPath(dcPathDrawStrokeAndFilled); }, L"DCPath.DrawPath()", L"StrokeAndFillPath failed!"},
        {"MiterLimit get", [&] { return path->get_MiterLimit(&limit); }, L"DCPath.MiterLimit [get]", L"GetMiterLimit failed!"},
        {"MiterLimit let", [&] { return path->put_MiterLimit(4); }, L"DCPath.MiterLimit [let]", L"SetMiterLimit failed!"},
        {"GetRegion", [&] { return path->GetRegion(&out); }, L"DCPath.GetRegion()", L"PathToRegion failed to create region!"},
        runtime("MapMode", [&] { return co->get_MapMode(&mapMode); }, 5),
        runtime("ConvLPtoDP", [&] { return co->ConvLPtoDP(&x, &y); }, 5),
        runtime("ViewPortOrgY let", [&] { return co->put_ViewPortOrgY(3); }, 5),
        runtime("WindowExtX get", [&] { return co->get_WindowExtX(&value); }, 5),
        runtime("ScaleViewportExt", [&] { return co->ScaleViewportExt(1, 2, 1, 2, &x, &y); }, 5),
    };
    for (const Case& each : cases) check(each);
    EXPECT_EQ(x + y, 2) << "outputs are written only after success";
    EXPECT_FALSE(out);
    // (ExportRegion's error text depends on the code Wine's COM activation
    // leaves behind, 14007, which has no system text: only the failure counts.)
    EXPECT_TRUE(FAILED(c->ExportRegion(&out)));
    EXPECT_FALSE(out);
    // Reads that hand on the platform's answer.
    DCDrawMode mode = dcDrawModeCopyPen;
    EXPECT_EQ(d->get_DrawMode(&mode), S_OK);
    EXPECT_EQ(mode, 0);
}
