#include "ProgramParts.h"

#include "AudioRecorderPart.h"
#include "ClipboardPart.h"
#include "MemoriesPart.h"
#include "DdePart.h"
#include "RemotePart.h"
#include "ScanSoftPart.h"
#include "ScansPart.h"
#include "SetupPart.h"
#include "SkedsPart.h"
#include "SplitsPart.h"
#include "TimerPart.h"
#include "TuningPart.h"
#include "TxRxPart.h"
#include "UtilityPart.h"

MainWindowPartList ProgramParts()
{
    // One part a line, so adding a part touches one line.
    // clang-format off
    return {
        MakeTuningPart,
        MakeTimerPart,
        MakeRemotePart,
        MakeClipboardPart,
        MakeTxRxPart,
        MakeSkedsPart,
        MakeSplitsPart,
        MakeScansPart,
        MakeMemoriesPart,
        MakeDdePart,
        // Before the recorder: a scan ends its recording while the bar still records.
        MakeScanSoftPart,
        MakeAudioRecorderPart,
        SetupPartFactory(),
        MakeUtilityPart,
    };
    // clang-format on
}
