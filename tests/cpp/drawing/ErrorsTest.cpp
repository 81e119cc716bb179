// Refused calls, with the errors they raise.
#include "Drawing.h"

using namespace test;

// Sub-objects whose hub and surface are gone keep a dead device context, on
// which every platform call fails. One member of each kind of error: the
// source formats of gets, lets and methods, texts that name another call than
// the member, and members that raise a run-time error instead.
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
    const Refusal refusals[] = {
        {"FillStyle", [&] { return d->put_FillStyle(dcBgModeOpaque); }, 0, L"DCDrawing.FillStyle [let]", L"FillStyle failed!"},
        {"PixelColor", [&] { return d->get_PixelColor(1, 1, VARIANT_FALSE, &color); }, 9},
        {"Arc", [&] { return d->DrawEllipse(0, 0, 9, 9, 0, 0, 0, 0, VARIANT_FALSE); }, 0, L"DCDrawing.DrawEllipse()", L"DrawEllipse (arc) failed!"},
        {"DrawLine", [&] { return d->DrawLine(0, 0, 9, 9); }, 5},
        {"Polygon", [&] { return d->DrawPolygon(VARIANT_TRUE, &array); }, 0, L"DCDrawing.DrawPolygon()", L"DrawPolygon (polygon) failed!"},
        {"open polygon: its first move", [&] { return d->DrawPolygon(VARIANT_FALSE, &array); }, 5},
        {"rounded by height alone", [&] { return d->DrawRect(0, 0, 9, 9, 0, 5); }, 0, L"DCDrawing.DrawRect()", L"DrawRoundRect failed!"},
        {"FrameRect", [&] { return d->DrawRectEx(0, 0, 9, 9, VARIANT_FALSE, dcPatCopy); }, 0, L"DCDrawing.DrawRectEx()", L"DrawRect failed!"},
        {"FrameRgn", [&] { return d->DrawRegion(region.Get(), nullptr, 1, 1); }, 0, L"DCDrawing.DrawRegion()", L"DrawRegion Failed!"},
        {"ImportRgn", [&] { return c->ImportRgn(region.Get(), vlRgnOr); }, 0, L"DCClipping.ImportRgn()", L"Could not add region to clipped region!"},
        {"BottomEdge", [&] { return c->get_BottomEdge(&value); }, 0, L"DCClipping.<Region_ClipRect()>", L"Could not get clipping box!"},
        {"X let reads Y", [&] { return p->put_X(1); }, 0, L"DCPosition.Y [get]", L"GetCurrentPositionEx failed!"},
        {"Flatten", [&] { return path->DrawPath(dcPathDrawFlattern); }, 0, L"DCPath.DrawPath()", L"FlatternPath failed!"},
        {"MiterLimit", [&] { return path->put_MiterLimit(4); }, 0, L"DCPath.MiterLimit [let]", L"SetMiterLimit failed!"},
        {"GetRegion", [&] { return path->GetRegion(&out); }, 0, L"DCPath.GetRegion()", L"PathToRegion failed to create region!"},
        {"ConvLPtoDP", [&] { return co->ConvLPtoDP(&x, &y); }, 5},
        {"ScaleViewportExt", [&] { return co->ScaleViewportExt(1, 2, 1, 2, &x, &y); }, 5},
    };
    for (const Refusal& refusal : refusals) expectRefused(refusal);
    EXPECT_EQ(x + y, 2) << "outputs are written only after success";
    EXPECT_FALSE(out);
    // (ExportRegion's error text depends on the code Wine's COM activation
    // leaves behind, 14007, which has no system text: only the failure counts.)
    EXPECT_TRUE(FAILED(c->ExportRegion(&out)));
    EXPECT_FALSE(out);
    DCDrawMode mode = dcDrawModeCopyPen;
    EXPECT_EQ(d->get_DrawMode(&mode), S_OK) << "the platform's answer is handed on";
    EXPECT_EQ(mode, 0);
}

// On a live device context: what no platform call should see, and paths that
// are not there yet. Nothing is drawn.
TEST(LiveDeviceContext, BadArraysObjectsAndRangesAreRefused) {
    Canvas canvas;
    ComPtr<_DCDrawing> drawing = canvas.get(&_GDIDCEx::get_Drawing);
    ComPtr<_DCPath> path = canvas.get(&_GDIDCEx::get_Path);
    ComPtr<_GDIPen> pen;
    ASSERT_EQ(vellum()->CreatePenObject(Green, 0, 1, &pen), S_OK);
    auto notABrush = reinterpret_cast<_GDIBrush*>(pen.Get());
    SAFEARRAY *none = nullptr, *result = nullptr;
    com::SafeArray longs(SafeArrayCreateVector(VT_I4, 0, 6));
    SAFEARRAY* longArray = longs.get();
    OLE_COLOR color = 0;
    const long icon = static_cast<long>(reinterpret_cast<LONG_PTR>(LoadIcon(nullptr, IDI_APPLICATION)));
    const wchar_t* noPath = L"GetPath failed to get number of coords!";
    const Refusal refusals[] = {
        {"no array", [&] { return drawing->DrawPolygon(VARIANT_TRUE, &none); }, 9},
        {"Longs, not COORDs", [&] { return drawing->DrawPolyBezier(&longArray); }, 5},
        {"no first point", [&] { return polygon(drawing.Get(), VARIANT_FALSE, {}); }, 9},
        {"four points are no whole curves", [&] { return bezier(drawing.Get(), {{0, 0}, {20, 0}, {20, 20}, {5, 5}}, 1); }, 0,
         L"DCDrawing.DrawPolyBezier()", L"DrawPolyBezier failed!"},
        {"a pen for a brush", [&] { return drawing->DrawRectFiled(0, 0, 60, 60, notABrush); }, 5},
        {"a pen for a flicker brush", [&] { return drawing->CaptureIconEx(icon, 0, 0, 0, 0, 0, notABrush, dcIconUseBoth); }, 5},
        {"a region object without a region", [&] { return drawing->DrawRegion(emptyRegionObject().Get(), nullptr, 0, 0); }, 5},
        {"no icon", [&] { return drawing->CaptureIcon(0, 0, 0); }, 5},
        {"a width beyond int", [&] { return drawing->DrawRectEx(-2000000000, 0, 2000000000, 60, VARIANT_TRUE, dcPatCopy); }, 5},
        // (Wine's SetPixel and SetPixelV report success outside the bitmap: only reads show error 9.)
        {"right of the bitmap", [&] { return drawing->get_PixelColor(64, 0, VARIANT_FALSE, &color); }, 9},
        {"left of the bitmap", [&] { return drawing->get_PixelColor(-1, 5, VARIANT_FALSE, &color); }, 9},
        {"no path", [&] { return path->GetCoords(&result); }, 0, L"DCPath.GetCoords()", noPath},
        {"a path not ended", [&] { path->BeginPath(), drawing->DrawLine(0, 0, 9, 9); return path->GetCoordList(&result); }, 0,
         L"DCPath.GetCoordList()", noPath},
        {"an aborted path", [&] { path->Abort(); return path->EndPath(); }, 0, L"DCPath.EndPath()", L"EndPath failed!"},
    };
    for (const Refusal& refusal : refusals) expectRefused(refusal);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(canvas.at(30, 30), White);
}
