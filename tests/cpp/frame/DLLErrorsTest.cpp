// The error routine composes what clients see; these tests call it directly.

#include "Support.h"

#include "com/AutomationError.h"
#include "declarations/GDIDeclarations.h"

using com::GetDLLErrorText;
using com::RaiseVBDLLError;

namespace {

template <class Raise>
com::AutomationError raisedBy(Raise raise) {
    try {
        raise();
    } catch (const com::AutomationError& error) {
        return error;
    }
    ADD_FAILURE() << "nothing was raised";
    return com::AutomationError(0, L"", L"");
}

std::wstring systemText(DWORD code) { return GetDLLErrorText(L"", static_cast<long>(code)); }

const std::wstring sourceLine = L"\r\nError source: DCDrawing.DrawRect()";

}  // namespace

// Number and text from the member's description and the platform's code;
// an empty description gets no separator.
TEST(DLLErrors, PlatformCodeIsAddedToTheBaseAndItsTextFollowsTheDescription) {
    const struct {
        const wchar_t* description;
        long code;
        long number;
        std::wstring text;
    } cases[] = {
        {L"DrawRect failed!", 6, 10006, L"DrawRect failed!; " + systemText(6)},
        {L"DrawRect failed!", 0, 10000, L"DrawRect failed!; Unexpected Error"},
        {L"", 6, 10006, systemText(6)},
        {L"", 0, 10000, L"Unexpected Error"},
    };
    for (const auto& c : cases) {
        const auto error = raisedBy([&] { RaiseVBDLLError(L"DCDrawing.DrawRect()", c.description, c.code); });
        EXPECT_EQ(error.number(), c.number) << c.code;
        EXPECT_EQ(error.source(), L"DCDrawing.DrawRect()");
        EXPECT_EQ(error.description(), c.text + sourceLine);
    }
}

TEST(DLLErrors, LastPlatformErrorIsTakenFromTheSlotThenFromTheLiveValue) {
    // A failed platform call through a recorded wrapper fills the slot.
    EXPECT_EQ(kolorit::gdi::GetObjectA(nullptr, 0, nullptr), 0);
    const DWORD recorded = GetLastError();
    SetLastError(0);
    EXPECT_EQ(com::GetLastDLLError(), recorded);

    // An empty slot falls back to the live value: none at all gives 10000.
    SetLastError(0);
    com::SaveLastDLLError();
    EXPECT_EQ(raisedBy([] { RaiseVBDLLError(L"X.Y()", L"Y failed!"); }).number(), 10000);
    SetLastError(ERROR_INVALID_HANDLE);
    EXPECT_EQ(raisedBy([] { RaiseVBDLLError(L"X.Y()", L"Y failed!"); }).number(), 10000 + ERROR_INVALID_HANDLE);
}

// Base numbers up to 1000, and codes without a system text.
TEST(DLLErrors, BadBasesAndUnknownCodesBecomeRunTimeError5) {
    for (auto [base, code] : {std::pair{0L, 6L}, {1L, 6L}, {1000L, 6L}, {com::DllErrorBase, 0x7FFF0000L}}) {
        const auto error = raisedBy([=] { RaiseVBDLLError(L"X.Y()", L"Y failed!", code, base); });
        EXPECT_EQ(error.number(), 5) << base;
        EXPECT_EQ(error.description(), L"Invalid procedure call or argument") << base;
    }
    for (long base : {1001L, -1L})
        EXPECT_EQ(raisedBy([base] { RaiseVBDLLError(L"X.Y()", L"Y failed!", 0, base); }).number(), base);
}

TEST(DLLErrors, SystemTextLosesOnlyItsTrailingLineBreak) {
    const std::wstring text = GetDLLErrorText(L"prefix: ", ERROR_FILE_NOT_FOUND);
    ASSERT_GT(text.size(), 8u);
    EXPECT_EQ(text.compare(0, 8, L"prefix: "), 0);
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
}

// (Numbers inside the control facility are the invoker tests' part.)
TEST(AutomationError, NumbersOutsideTheControlFacilityStayWhole) {
    EXPECT_EQ(com::AutomationError(75536, L"", L"").failureCode(), static_cast<HRESULT>(0x80000000 | 75536));
    EXPECT_EQ(com::AutomationError(-2147024891, L"", L"").failureCode(), static_cast<HRESULT>(-2147024891));
}

TEST(GetStructBitap, DescribesABitmapOrRaisesTheLibraryError) {
    auto s = test::surface(6, 3);
    const BITMAP record = kolorit::GetStructBitap(static_cast<HBITMAP>(GetCurrentObject(test::dcOf(s.Get()), OBJ_BITMAP)));
    EXPECT_EQ(record.bmWidth, 6);
    EXPECT_EQ(record.bmHeight, 3);
    EXPECT_EQ(record.bmBitsPixel, 32);

    // Whether or not the platform sets a code of its own, it has a text, and
    // a code left over from unrelated work is not blamed.
    SetLastError(14007);
    const auto error = raisedBy([] { kolorit::GetStructBitap(nullptr); });
    EXPECT_EQ(error.source(), L"GetStructBitap()");
    EXPECT_EQ(error.description().rfind(L"Failed to get bitmap information; ", 0), 0u);
    EXPECT_NE(error.number(), 10000 + 14007);
}
