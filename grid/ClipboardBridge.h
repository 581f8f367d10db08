// ClipboardBridge: the system clipboard's plain text, converted between CP932 and Unicode.
#pragma once

#include <string>

class ClipboardBridge {
public:
    // Puts CP932 text on the clipboard.
    static void put(const std::string& cp932);
    // The clipboard's text as CP932. Characters CP932 cannot hold become "?" (or a near
    // twin) and are counted in `unrepresentable`, as the reader counts them.
    static std::string take(int& unrepresentable);
};
