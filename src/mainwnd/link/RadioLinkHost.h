// What the radio link needs from the main window, one small interface per concern. The main
// window implements them all; tests implement them over a real worker.
#pragma once

#include "LinkAudio.h"
#include "LinkDisplay.h"
#include "LinkPosting.h"
#include "LinkProgress.h"
#include "LinkRadio.h"
#include "LinkUser.h"

struct RadioLinkHost {
    ILinkUser& user;
    ILinkProgress& progress;
    ILinkAudio& audio;
    ILinkDisplay& display;
    ILinkRadio& radio;
    ILinkPosting& posting;
};
