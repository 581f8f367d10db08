// ColourOpenSteps: the colour-information steps of the open flow (header before the rows,
// attribute records after them).
#pragma once

#include <functional>

#include "store/OpenFlow.h"

class ColourOpenSteps {
public:
    // setAlternate receives a recorded alternating-background mode (band height in rows and
    // colour index); the window hands it to the view.
    using AlternateSink = std::function<void(int band, int colour)>;

    // Hooks for OpenFlow; both share one colour file for the duration of an open.
    static OpenColourHooks hooks(AlternateSink setAlternate = {});
};
