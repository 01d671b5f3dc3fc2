// Where the worker, the serial back-ends and the driver post to; each posts from its own thread
// and the target runs the news on the GUI thread.
#pragma once

#include "SerialOwner.h"
#include "VekDriverApi.h"
#include "WorkerNotify.h"

class ILinkPosting {
public:
    virtual ~ILinkPosting() = default;

    virtual cat::IWorkerNotify* WorkerNotifyTarget() = 0;
    virtual cat::ISerialOwner* SerialOwner() = 0;
    virtual DrvPostFn DriverPostFunction() = 0;
    virtual void* DriverPostContext() = 0;
};
