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

TEST(DLLErrors, PlatformCodeIsAddedToTheBaseAndItsTextFollowsTheDescription) {
    const auto error = raisedBy([] { RaiseVBDLLError(L"DCDrawing.DrawRect()", L"DrawRect failed!", 6); });
    EXPECT_EQ(error.number(), 10006);
    EXPECT_EQ(error.source(), L"DCDrawing.DrawRect()");
    EXPECT_EQ(error.description(), L"DrawRect failed!; " + systemText(6) + sourceLine);
}

TEST(DLLErrors, WithoutPlatformCodeTheNumberIsTheBaseAndTheTextUnexpected) {
    const auto error = raisedBy([] { RaiseVBDLLError(L"DCDrawing.DrawRect()", L"DrawRect failed!", 0); });
    EXPECT_EQ(error.number(), 10000);
    EXPECT_EQ(error.description(), L"DrawRect failed!; Unexpected Error" + sourceLine);
}

TEST(DLLErrors, EmptyDescriptionGetsNoSeparator) {
    const auto withCode = raisedBy([] { RaiseVBDLLError(L"DCDrawing.DrawRect()", L"", 6); });
    EXPECT_EQ(withCode.description(), systemText(6) + sourceLine);
    const auto withoutCode = raisedBy([] { RaiseVBDLLError(L"DCDrawing.DrawRect()", L"", 0); });
    EXPECT_EQ(withoutCode.description(), L"Unexpected Error" + sourceLine);
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

TEST(DLLErrors, BaseNumbersUpTo1000AreRefusedWithRunTimeError5) {
    for (long base : {0L, 1L, 1000L}) {
        const auto error = raisedBy([base] { RaiseVBDLLError(L"X.Y()", L"Y failed!", 6, base); });
        EXPECT_EQ(error.number(), 5) << base;
        EXPECT_EQ(error.description(), L"Invalid procedure call or argument") << base;
    }
    for (long base : {1001L, -1L})
        EXPECT_EQ(raisedBy([base] { RaiseVBDLLError(L"X.Y()", L"Y failed!", 0, base); }).number(), base);
}

TEST(DLLErrors, CodeWithoutSystemTextBecomesRunTimeError5) {
    const auto error = raisedBy([] { RaiseVBDLLError(L"X.Y()", L"Y failed!", 0x7FFF0000); });
    EXPECT_EQ(error.number(), 5);
}

TEST(DLLErrors, SystemTextLosesOnlyItsTrailingLineBreak) {
    const std::wstring text = GetDLLErrorText(L"prefix: ", ERROR_FILE_NOT_FOUND);
    ASSERT_GT(text.size(), 8u);
    EXPECT_EQ(text.compare(0, 8, L"prefix: "), 0);
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
}

TEST(AutomationError, NumbersMapToFailureCodes) {
    EXPECT_EQ(com::AutomationError(5, L"", L"").failureCode(), static_cast<HRESULT>(0x800A0005));
    EXPECT_EQ(com::AutomationError(10006, L"", L"").failureCode(), static_cast<HRESULT>(0x800A2716));
    // Outside the control facility's 16 bits the number stays whole.
    EXPECT_EQ(com::AutomationError(75536, L"", L"").failureCode(), static_cast<HRESULT>(0x80000000 | 75536));
    EXPECT_EQ(com::AutomationError(-2147024891, L"", L"").failureCode(), static_cast<HRESULT>(-2147024891));
}

TEST(GetStructBitap, DescribesABitmapOrRaisesTheLibraryError) {
    auto s = test::surface(6, 3);
    const BITMAP record = kolorit::GetStructBitap(static_cast<HBITMAP>(GetCurrentObject(test::dcOf(s.Get()), OBJ_BITMAP)));
    EXPECT_EQ(record.bmWidth, 6);
    EXPECT_EQ(record.bmHeight, 3);
    EXPECT_EQ(record.bmBitsPixel, 32);

    // Whether or not the platform sets a code of its own, it has a text.
    SetLastError(ERROR_INVALID_HANDLE);
    const auto error = raisedBy([] { kolorit::GetStructBitap(nullptr); });
    EXPECT_EQ(error.source(), L"GetStructBitap()");
    EXPECT_EQ(error.description().rfind(L"Failed to get bitmap information; ", 0), 0u);
}

TEST(DLLErrors, AFailureWithoutItsOwnCodeIsNotBlamedOnAnEarlierOne) {
    SetLastError(14007);  // left over from unrelated work
    const auto error = raisedBy([] { kolorit::GetStructBitap(nullptr); });
    EXPECT_EQ(error.source(), L"GetStructBitap()");
    EXPECT_NE(error.number(), 10000 + 14007);
}
