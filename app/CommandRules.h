// CommandRules: the one place where the enable and check rules of the command table are
// evaluated against the window's state.
#pragma once

#include "app/Command.h"

// What the rules look at, gathered by the window when a menu opens or a command has run.
struct CommandState {
    bool colourFiles = false;  // MAKEFD is non-zero
    bool hasFile = false;      // the document has a path
    int colourMode = 0;        // 1: the colour information lies beside the data file
    bool filtered = false;
    bool canRedo = false;      // the store holds an undone step to redo
    bool headerMode = false;
    bool frozen = false;
    bool alternate = false;
};

class CommandRules {
public:
    static bool enabled(EnableRule rule, const CommandState& state);
    // Only for the rules that follow the window's state; CheckRule::None and ::Own are false.
    static bool checked(CheckRule rule, const CommandState& state);
};
