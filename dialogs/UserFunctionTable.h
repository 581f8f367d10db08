// UserFunctionTable: the functions a user key (Ctrl+1-9, Shift+Ctrl+1-9) can run, by number.
#pragma once

#include <array>
#include <string>

// One assignable function: its group in the key dialog, its number (the value stored for the
// key) and its label.
struct UserFunction {
    int group;
    int number;
    const char* label;   // UTF-8
};

class UserFunctionTable {
public:
    static constexpr int Count = 49;
    static constexpr int GroupCount = 4;
    // Stored for a key that cannot be used; only a hand-edited settings file holds it.
    static constexpr int Unusable = -1;

    // Every function in the order the dialog lists them.
    static const std::array<UserFunction, Count>& entries();
    // Names of the groups, index = group.
    static const std::array<const char*, GroupCount>& groups();
    // The entry with `number`, or nullptr when no function has it.
    static const UserFunction* find(int number);
};
