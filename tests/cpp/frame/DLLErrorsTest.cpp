// The error routine's pieces, called directly.

#include "Support.h"

#include "com/AutomationError.h"
#include "com/DLLErrors.h"

TEST(DLLErrors, SystemTextLosesOnlyItsTrailingLineBreak) {
    const std::wstring text = com::GetDLLErrorText(L"prefix: ", ERROR_FILE_NOT_FOUND);
    ASSERT_GT(text.size(), 8u);
    EXPECT_EQ(text.compare(0, 8, L"prefix: "), 0);
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
}

// Numbers beyond 65535 keep the severity bit: they stay failures.
TEST(AutomationError, NumbersOutsideTheControlFacilityStayWhole) {
    EXPECT_EQ(com::AutomationError(75536, L"", L"").failureCode(), static_cast<HRESULT>(0x80000000 | 75536));
    EXPECT_EQ(com::AutomationError(-2147024891, L"", L"").failureCode(), static_cast<HRESULT>(-2147024891));
}
