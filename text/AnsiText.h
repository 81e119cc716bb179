#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace kolorit {

// A by-reference String parameter in the form the platform's ANSI text calls
// take: converted to the system's ANSI code page, counted in characters of
// the caller's string. giveBack() stores the ANSI form, converted back, in
// the caller's variable, so characters outside the code page come back as
// the code page made them.
class AnsiText {
public:
    // No variable at all is a bad argument (run-time error 5).
    explicit AnsiText(BSTR* Text);

    // Writable and followed by spare zero bytes: formatting calls may write
    // into the text, up to four characters beyond its end.
    char* data() noexcept { return ansi_.data(); }
    // Len(Text), but never beyond the converted text: a character the code
    // page folds into fewer bytes must not make the platform read past it.
    int count() const noexcept { return count_; }
    // The tabbed, formatted and state calls answer 0 for an empty text, as
    // for a failure; with nothing to draw or measure it is none.
    bool empty() const noexcept { return count_ == 0; }

    void giveBack();

private:
    BSTR* text_;
    int length_;  // bytes of the converted text
    int count_;
    std::string ansi_;
};

}  // namespace kolorit
