#include "RadioFunctions.h"

#include "ModelCaps.h"
#include "RadioState.h"
#include "RemoteCodes.h"

namespace radio {

using namespace civ;

namespace {

constexpr FunctionCommand kTable[kFunctionCount] = {
    {RadioFunction::Attenuator, kCmdAttenuator, 0, kAttenuatorOn, kAttenuatorOff, kNoAltOn,
     remote::kGetAtt, 1030, "Att"},
    {RadioFunction::Preamp, kCmdFunction, kFuncPreamp, kOn, kOff, kNoAltOn, remote::kGetPre, 1034,
     "Pre"},
    {RadioFunction::Agc, kCmdFunction, kFuncAgc, kAgcFast, kAgcSlow, kNoAltOn, remote::kGetAgc,
     1035, "AGC"},
    {RadioFunction::NoiseBlanker, kCmdFunction, kFuncNoiseBlanker, kOn, kOff, kNoAltOn,
     remote::kGetNb, 1036, "NB"},
    {RadioFunction::Tone, kCmdFunction, kFuncTone, kOn, kOff, kNoAltOn, remote::kGetTone, 1037,
     "Tone"},
    {RadioFunction::ToneSquelch, kCmdFunction, kFuncToneSquelch, kOn, kOff, kNoAltOn,
     remote::kGetTsql, 1538, "TSQL"},
    {RadioFunction::Vox, kCmdFunction, kFuncVox, kOn, kOff, kNoAltOn, remote::kGetVox, 1539, "Vox"},
    // Break-in reports 01 semi and 02 full; both are "on".
    {RadioFunction::BreakIn, kCmdFunction, kFuncBreakIn, kBreakInSemi, kOff, kBreakInFull,
     remote::kGetBkIn, 1544, "BKin"},
    {RadioFunction::Compressor, kCmdFunction, kFuncCompressor, kOn, kOff, kNoAltOn,
     remote::kGetComp, 1048, "Comp"},
};

}  // namespace

const FunctionCommand* FunctionTable()
{
    return kTable;
}

const FunctionCommand& FunctionInfo(RadioFunction f)
{
    return kTable[static_cast<size_t>(f)];
}

uint8_t FunctionSub(RadioFunction f, int model)
{
    const civ::ModelCaps* caps = civ::FindCaps(model);
    if (f == RadioFunction::Tone)
        return civ::ToneButtonSub(caps);
    if (f == RadioFunction::ToneSquelch)
        return civ::TsqlButtonSub(caps);
    return FunctionInfo(f).sub;
}

namespace {

bool SentByAnyModel(RadioFunction f, uint8_t sub)
{
    for (int model = 0; model < civ::kModelCount; ++model)
        if (FunctionSub(f, model) == sub)
            return true;
    return false;
}

}  // namespace

std::optional<RadioFunction> FunctionFromCommand(uint8_t command, uint8_t sub)
{
    for (const FunctionCommand& entry : kTable) {
        if (entry.command != command)
            continue;
        if (command == kCmdAttenuator || SentByAnyModel(entry.function, sub))
            return entry.function;
    }
    return std::nullopt;
}

std::optional<bool> FunctionValueState(RadioFunction f, uint8_t value)
{
    const FunctionCommand& info = FunctionInfo(f);
    if (value == info.onValue || (info.altOnValue != kNoAltOn && value == info.altOnValue))
        return true;
    if (value == info.offValue)
        return false;
    return std::nullopt;
}

}  // namespace radio
