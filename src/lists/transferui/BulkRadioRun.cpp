#include "BulkRadioRun.h"

#include "Ini.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "RadioLink.h"
#include "RadioSnapshot.h"
#include "SettingsKeys.h"
#include "WorkProgressDlg.h"

#include <cstdio>

bool CanKeyTransmitter(IMainWindowServices& services)
{
    const CRadioLink& link = services.Link();
    return services.Ini().GetInt(settings::setup::PTTPorta) != 0
           || (link.UsesDriver() && link.DriverSupportsPtt());
}

CBulkRadioRun::CBulkRadioRun(IMainWindowServices& services, int abortQuestion)
    : services_(services),
      busy_(services.Controller()),
      abortQuestion_(abortQuestion),
      pollingWas_(services.Controller().SetPollingEnabled(false))
{
}

CBulkRadioRun::~CBulkRadioRun()
{
    Finish();
    services_.Controller().SetPollingEnabled(pollingWas_);
}

bool CBulkRadioRun::Closing() const
{
    return services_.Controller().State().closing;
}

bool CBulkRadioRun::Start(QWidget* from, int lower, int upper, const std::string& status)
{
    if (Closing() || !services_.Snapshot().SaveRadioState())
        return false;
    started_ = true;
    progress_ = std::make_unique<CWorkProgressDlg>();
    // Over the main window, which it holds disabled: a click there would reach the radio
    // between two channels, and the restore would undo it.
    if (!progress_->Create()) {
        std::fprintf(stderr, "memory run: the progress window could not be opened\n");
        Finish();
        return false;
    }
    progress_->HoldDisabled(from);
    progress_->SetRange(lower, upper);
    progress_->SetStep(1);
    progress_->SetStatus(status);
    return true;
}

bool CBulkRadioRun::Step(int pos)
{
    if (!progress_ || Closing())
        return false;
    progress_->SetPos(pos);
    if (!progress_->CheckCancelButton())
        return !Closing();
    const unsigned ask = mb::kYesNo | mb::kIconExclamation | mb::kDefButton2;
    return services_.Language().MessageBox(abortQuestion_, ask) != mb::kIdYes && !Closing();
}

void CBulkRadioRun::Finish()
{
    if (progress_) {
        progress_->DestroyWindow();
        progress_.reset();
    }
    if (!started_)
        return;
    started_ = false;
    // A closing program restores nothing: the radio keeps what the run left.
    if (!Closing() && !services_.Snapshot().RestoreRadioState())
        std::fprintf(stderr, "memory run: the radio's state was not fully restored\n");
}

bool CBulkRadioRun::WaitPumpingMessages(int ms)
{
    return services_.WaitPumpingMessages(ms);
}

void CBulkRadioRun::SetPtt(bool on)
{
    services_.SetPtt(on);
}
