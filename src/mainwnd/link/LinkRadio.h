// The radio side the link drives: polling, the sending flag, the command layer's "send without
// waiting", the refresh after a sync, and the remote handler's auxiliary ports.
#pragma once

class ILinkRadio {
public:
    virtual ~ILinkRadio() = default;

    // Returns whether polling was held before; the link restores that state afterwards.
    virtual bool SetPollingHeld(bool held) = 0;
    virtual void SetSending(bool sending) = 0;
    // Queues the frequency read (03) and returns at once.
    virtual void SendFrequencyRead() = 0;
    virtual void ReadFrequencyMode(bool wait) = 0;
    // The band display and the on/off button after a successful sync.
    virtual void RefreshAfterSync() = 0;
    // The remote handler's auxiliary ports, closed before the CAT port.
    virtual void CloseAuxiliaryPorts() = 0;
};
