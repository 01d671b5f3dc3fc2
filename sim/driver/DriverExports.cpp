// The exported C functions of Drivers/SimRadio.so. Everything else in the library is hidden.
#pragma GCC visibility push(default)
#include "SimRadioControl.h"
#include "VekDriverApi.h"
#pragma GCC visibility pop

#include "SimDriver.h"

using simdriver::SimDriver;

extern "C" {

int DrvInit(DrvPostFn post, void* context, unsigned int msgRx, unsigned int, unsigned int)
{
    return SimDriver::Instance().Init(post, context, msgRx);
}
int DrvIsSupportAudio(void)
{
    return 0;
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
const unsigned char* DrvGetBuffAudio(intptr_t)
{
    return nullptr;
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
    return 0;
}
int DrvAudioStop(void)
{
    return 0;
}
int DrvAudioPause(int)
{
    return 0;
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
