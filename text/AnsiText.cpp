#include "AnsiText.h"

#include "com/AutomationError.h"


#include <algorithm>
#include <new>

namespace kolorit {

namespace {

constexpr int SpareBytes = 4;

}  // namespace

AnsiText::AnsiText(BSTR* Text) : text_(Text), length_(0), count_(0) {
    com::require(Text != nullptr);
    const int characters = static_cast<int>(SysStringLen(*Text));
    if (characters > 0)
        length_ = WideCharToMultiByte(CP_ACP, 0, *Text, characters, nullptr, 0, nullptr, nullptr);
    ansi_.assign(static_cast<size_t>(length_) + SpareBytes, '\0');
    if (length_ > 0) WideCharToMultiByte(CP_ACP, 0, *Text, characters, ansi_.data(), length_, nullptr, nullptr);
    count_ = std::min(characters, length_);
}

void AnsiText::giveBack() {
    const int characters = length_ > 0 ? MultiByteToWideChar(CP_ACP, 0, ansi_.data(), length_, nullptr, 0) : 0;
    BSTR back = SysAllocStringLen(nullptr, static_cast<UINT>(characters));
    if (!back) throw std::bad_alloc();
    if (characters > 0) MultiByteToWideChar(CP_ACP, 0, ansi_.data(), length_, back, characters);
    SysFreeString(*text_);
    *text_ = back;
}

}  // namespace kolorit
