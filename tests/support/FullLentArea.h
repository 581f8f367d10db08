// Test helper: every user-defined-area code lent for the scope, so no further character fits.
#pragma once

#include "platform/core/CodePage.h"
#include "platform/core/GivenCodes.h"

#include <string>

struct FullLentArea {
    FullLentArea() {
        GivenCodes::reset();
        std::u16string text;
        for (char32_t c = 0xF0000; c < 0xF0000 + GivenCodes::Capacity; ++c) {
            text.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
        std::string cp932;
        CodePage::utf16ToCp932(text, cp932);
    }
    ~FullLentArea() { GivenCodes::reset(); }
    FullLentArea(const FullLentArea&) = delete;
    FullLentArea& operator=(const FullLentArea&) = delete;
};
