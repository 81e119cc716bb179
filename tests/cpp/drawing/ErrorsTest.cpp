// Refused calls, with the errors they raise. (That every member of a dead
// object raises a well-formed error is the fuzzer's part.)
#include "Drawing.h"

using namespace test;

// Sub-objects whose hub and surface are gone keep a dead device context, on
// which every platform call fails. One member of each kind of error: the
// source formats of gets, lets and methods, a text that names another call
// than the member, a let that fails in its get, and run-time errors.
TEST(DeadDeviceContext, MembersRaiseTheirErrors) {
    ComPtr<_DCDrawing> d;
    ComPtr<_DCClipping> c;
    ComPtr<_DCPosition> p;
    {
        Canvas canvas;
        d = canvas.get(&_GDIDCEx::get_Drawing), c = canvas.get(&_GDIDCEx::get_Clipping);
        p = canvas.get(&_GDIDCEx::get_CurrentPos);
    }
    OLE_COLOR color = 0;
    long value = 0;
    const Refusal refusals[] = {
        {"FillStyle", [&] { return d->put_FillStyle(dcBgModeOpaque); }, 0, L"DCDrawing.FillStyle [let]", L"FillStyle failed!"},
        {"PixelColor", [&] { return d->get_PixelColor(1, 1, VARIANT_FALSE, &color); }, 9},
        {"Arc", [&] { return d->DrawEllipse(0, 0, 9, 9, 0, 0, 0, 0, VARIANT_FALSE); }, 0, L"DCDrawing.DrawEllipse()", L"DrawEllipse (arc) failed!"},
        {"DrawLine", [&] { return d->DrawLine(0, 0, 9, 9); }, 5},
        {"BottomEdge", [&] { return c->get_BottomEdge(&value); }, 0, L"DCClipping.<Region_ClipRect()>", L"Could not get clipping box!"},
        {"X let reads Y", [&] { return p->put_X(1); }, 0, L"DCPosition.Y [get]", L"GetCurrentPositionEx failed!"},
    };
    for (const Refusal& refusal : refusals) expectRefused(refusal);
}

// Reading outside the bitmap. (Wine's SetPixel and SetPixelV report success
// outside the bitmap: only reads show error 9.)
TEST(LiveDeviceContext, PixelsOutsideTheBitmapAreRefused) {
    Canvas canvas;
    ComPtr<_DCDrawing> drawing = canvas.get(&_GDIDCEx::get_Drawing);
    OLE_COLOR color = 0;
    const Refusal refusals[] = {
        {"right of the bitmap", [&] { return drawing->get_PixelColor(64, 0, VARIANT_FALSE, &color); }, 9},
        {"left of the bitmap", [&] { return drawing->get_PixelColor(-1, 5, VARIANT_FALSE, &color); }, 9},
    };
    for (const Refusal& refusal : refusals) expectRefused(refusal);
}
