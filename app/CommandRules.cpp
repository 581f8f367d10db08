// CommandRules: the enable and check rules of the command table.
#include "app/CommandRules.h"

bool CommandRules::enabled(EnableRule rule, const CommandState& s) {
    switch (rule) {
    case EnableRule::Always: return true;
    case EnableRule::ColourFiles: return s.colourFiles;
    // Without a file neither colour-file move is offered.
    case EnableRule::ColourBesideData: return s.colourFiles && s.hasFile && s.colourMode != 1;
    case EnableRule::ColourToTemporary: return s.colourFiles && s.hasFile && s.colourMode == 1;
    case EnableRule::Filtered: return s.filtered;
    case EnableRule::Redo: return s.canRedo;
    }
    return false;
}

bool CommandRules::checked(CheckRule rule, const CommandState& s) {
    switch (rule) {
    case CheckRule::Header: return s.headerMode;
    case CheckRule::Frozen: return s.frozen;
    case CheckRule::Alternate: return s.alternate;
    case CheckRule::None:
    case CheckRule::Own: return false;
    }
    return false;
}
