// NativePath: exact comparison, or without ASCII case where the file system ignores it.
#include "platform/core/NativePath.h"

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

bool NativePath::same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (!caseBlind()) return a == b;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}
