#include "ProgramParts.h"

#include "AudioRecorderPart.h"
#include "ClipboardPart.h"
#include "MemoriesPart.h"
#include "DdePart.h"
#include "RemotePart.h"
#include "ScanSoftPart.h"
#include "SetupPart.h"
#include "SkedsPart.h"
#include "SplitsPart.h"
#include "TimerPart.h"
#include "TuningPart.h"
#include "TxRxPart.h"
#include "UtilityPart.h"

MainWindowPartList ProgramParts()
{
    return {MakeTuningPart, MakeTimerPart,    MakeRemotePart,        MakeClipboardPart,
            MakeTxRxPart,   MakeSkedsPart,    MakeSplitsPart,        MakeMemoriesPart,
            MakeDdePart,    MakeScanSoftPart, MakeAudioRecorderPart, SetupPartFactory(),
            MakeUtilityPart};
}
