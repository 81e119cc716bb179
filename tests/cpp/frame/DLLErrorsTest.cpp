// The error routine composes what clients see; these tests call it directly.

#include "Support.h"

#include "com/AutomationError.h"
#include "com/DLLErrors.h"

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

