// The exported C functions of Drivers/SimRadio.so. Everything else in the library is hidden.
#pragma GCC visibility push(default)
#include "SimRadioControl.h"
#include "VekDriverApi.h"
#pragma GCC visibility pop

#include "SimDriver.h"

using simdriver::SimDriver;

extern "C" {

int DrvInit(DrvPostFn post, void* context, unsigned int msgRx, unsigned int msgAudio,
            unsigned int msgHelp)
{
    return SimDriver::Instance().Init(post, context, msgRx, msgAudio, msgHelp);
}
int DrvIsSupportAudio(void)
{
    return SimDriver::Instance().SupportsAudio();
}
int DrvIsSupportPTT(void)
{
    return 1;
}
int DrvSendCommand(const unsigned char* bytes, int length)
{
    return SimDriver::Instance().Send(bytes, length);
}
const unsigned char* DrvGetBuffRx(intptr_t handle)
{
    return SimDriver::Instance().Received(handle);
}
const unsigned char* DrvGetBuffAudio(intptr_t handle)
{
    return SimDriver::Instance().AudioBlock(handle);
}
int DrvIsConnected(void)
{
    return SimDriver::Instance().IsConnected();
}
int DrvPTT(int on)
{
    return SimDriver::Instance().Ptt(on);
}
int DrvAudioStart(void)
{
    return SimDriver::Instance().AudioStart();
}
int DrvAudioStop(void)
{
    return SimDriver::Instance().AudioStop();
}
int DrvAudioPause(int pause)
{
    return SimDriver::Instance().AudioPause(pause);
}
int DrvOpenCom(int port)
{
    return SimDriver::Instance().OpenCom(port);
}
int DrvCloseCom(void)
{
    return SimDriver::Instance().CloseCom();
}
int DrvSetDTR(int port, int state)
{
    return SimDriver::Instance().SetLine(true, port, state);
}
int DrvSetRTS(int port, int state)
{
    return SimDriver::Instance().SetLine(false, port, state);
}
int DrvSetup(void* owner, unsigned int)
{
    return SimDriver::Instance().Setup(owner);
}
int DrvStop(void)
{
    return SimDriver::Instance().Stop();
}

int SimRadioControl(const char* command, char* reply, int replySize)
{
    return SimDriver::Instance().Control(command, reply, replySize);
}

}  // extern "C"
