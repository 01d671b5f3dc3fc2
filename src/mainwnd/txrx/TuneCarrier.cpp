#include "TuneCarrier.h"

#include "RadioModes.h"
#include "RemoteCodes.h"
#include "SettingsKeys.h"

namespace txrx {

CTuneCarrier::CTuneCarrier(ITuneRadio& radio) : radio_(radio) {}

bool CTuneCarrier::OnTune(bool buttonOn, int tuneSeconds, int delayCommandMs)
{
    if (!buttonOn) {
        radio_.Key(false);
        RestoreMode();
        return false;
    }
    const int mode = radio_.RemoteCommand(remote::kGetMode, 0);
    savedMode_ = radio::ModeFromRemote(mode) ? mode : 0;
    const int seconds = settings::txrx::ClampTuneSeconds(tuneSeconds);
    if (seconds == 0)
        return true;
    radio_.RemoteCommand(remote::kSetMode, radio::ModeInfoFor(radio::kAm)->remote);
    // A program closing in the middle still unkeys and gets its mode back.
    if (radio_.WaitForRadio() && radio_.Wait(delayCommandMs) && radio_.Key(true))
        radio_.Wait(seconds * 1000);
    radio_.Key(false);
    RestoreMode();
    return false;
}

void CTuneCarrier::RestoreMode()
{
    if (savedMode_ != 0)
        radio_.RemoteCommand(remote::kSetMode, savedMode_);
    savedMode_ = 0;
}

}  // namespace txrx
