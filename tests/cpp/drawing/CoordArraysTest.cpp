// COORD arrays made by GDIMakeCoords. (Flat lists handed to the polygon
// members directly are the scripts' part.)
#include "Drawing.h"

#include <string>

using namespace test;

namespace {

// A list of variants, as a script's Array(...) is.
com::SafeArray numbers(std::initializer_list<Variant> items, LONG lowerBound = 0) {
    SAFEARRAYBOUND bounds{static_cast<ULONG>(items.size()), lowerBound};
    com::SafeArray list(SafeArrayCreate(VT_VARIANT, 1, &bounds));
    LONG i = lowerBound;
    for (const Variant& item : items) SafeArrayPutElement(list.get(), &i, const_cast<VARIANT*>(item.get())), ++i;
    return list;
}

// GDIMakeCoords on the list: "lower bound: x,y x,y ...", or "" and the error.
std::string make(SAFEARRAY* list, Raised* raised = nullptr) {
    SAFEARRAY* out = nullptr;
    const HRESULT hr = koloritFunctions()->GDIMakeCoords(&list, &out);
    com::SafeArray owned(out);
    if (raised) *raised = errorOf(hr);
    if (FAILED(hr) || !out) return "";
    LONG lower = -1, upper = -1;
    SafeArrayGetLBound(out, 1, &lower);
    SafeArrayGetUBound(out, 1, &upper);
    std::string text = std::to_string(lower) + ":";
    const POINT* points = com::ArrayAccess(out).data<POINT>();
    for (LONG i = 0; i <= upper - lower; ++i)
        text.append(" ").append(std::to_string(points[i].x)).append(",").append(std::to_string(points[i].y));
    return text;
}

}  // namespace

TEST(MakeCoords, ListsThatDoNotPairUpOrConvertAreRefused) {
    struct Case { com::SafeArray list; long error; };
    Case cases[] = {
        {numbers({arg(1), arg(2), arg(3), arg(4), arg(5)}), 450},
        {numbers({arg(1), arg(2), arg(3), arg(4)}, 1), 9},  // read from index 0, it would run past its end
        {com::SafeArray(), 9},
        {numbers({arg(1), arg(L"ten")}), 13},
        {numbers({arg(1e12), arg(1)}), 6},
        {com::SafeArray(SafeArrayCreateVector(VT_I4, 0, 2)), 13},
    };
    for (Case& c : cases) {
        Raised raised;
        make(c.list.get(), &raised);
        expectRuntimeError(raised, c.error);
    }
}

