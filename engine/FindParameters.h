// FindParameters: the search that F3 and Shift+F3 repeat without the dialog.
#pragma once

#include <string>

struct FindParameters {
    std::string text;          // at most 50 bytes, CP932
    double value = 0.0;        // the text read as a number (0 when it is none)
    int mode = 3;              // a MatchKind
    int direction = 1;         // +1 down, -1 up
    std::string replaceText;   // at most 50 bytes, CP932
};
