// NativePath: whether two native paths name the same file, by the file system's own rule.
#pragma once

#include <string_view>

// Linux file systems tell "Data.csv" and "data.csv" apart, so paths compare byte for byte;
// Windows file systems do not, so there they compare without ASCII case.
class NativePath {
public:
    static bool same(std::string_view a, std::string_view b);
    // Whether the file system ignores case in names (Windows).
    static constexpr bool caseBlind() {
#ifdef _WIN32
        return true;
#else
        return false;
#endif
    }
};
