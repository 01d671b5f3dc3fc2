#include "ProgramParts.h"

#include "ClipboardPart.h"
#include "DdePart.h"
#include "RemotePart.h"
#include "TimerPart.h"
#include "TuningPart.h"
#include "TxRxPart.h"

MainWindowPartList ProgramParts()
{
    return {MakeTuningPart,    MakeTimerPart, MakeRemotePart,
            MakeClipboardPart, MakeTxRxPart,  MakeDdePart};
}
