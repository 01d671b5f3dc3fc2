#include "RadioFunctions.h"

#include "RadioState.h"
#include "RemoteCodes.h"

namespace radio {

namespace {

constexpr FunctionCommand kTable[kFunctionCount] = {
    {RadioFunction::Attenuator, 0x11, 0x00, 0x00, 0x20, 0x00, 0xFF, remote::kGetAtt, 1030, "Att"},
    {RadioFunction::Preamp, 0x16, 0x02, 0x02, 0x01, 0x00, 0xFF, remote::kGetPre, 1034, "Pre"},
    {RadioFunction::Agc, 0x16, 0x12, 0x12, 0x01, 0x02, 0xFF, remote::kGetAgc, 1035, "AGC"},
    {RadioFunction::NoiseBlanker, 0x16, 0x22, 0x22, 0x01, 0x00, 0xFF, remote::kGetNb, 1036, "NB"},
    {RadioFunction::Tone, 0x16, 0x42, 0x40, 0x01, 0x00, 0xFF, remote::kGetTone, 1037, "Tone"},
    {RadioFunction::ToneSquelch, 0x16, 0x43, 0x41, 0x01, 0x00, 0xFF, remote::kGetTsql, 1538, "TSQL"},
    {RadioFunction::Vox, 0x16, 0x46, 0x46, 0x01, 0x00, 0xFF, remote::kGetVox, 1539, "Vox"},
    // Break-in reports 01 semi and 02 full; both are "on".
    {RadioFunction::BreakIn, 0x16, 0x47, 0x47, 0x01, 0x00, 0x02, remote::kGetBkIn, 1544, "BKin"},
    {RadioFunction::Compressor, 0x16, 0x44, 0x44, 0x01, 0x00, 0xFF, remote::kGetComp, 1048, "Comp"},
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
    const FunctionCommand& info = FunctionInfo(f);
    return model == kIC718 ? info.subIC718 : info.sub;
}

std::optional<RadioFunction> FunctionFromCommand(uint8_t command, uint8_t sub)
{
    for (const FunctionCommand& entry : kTable) {
        if (entry.command != command)
            continue;
        if (command == 0x11 || entry.sub == sub || entry.subIC718 == sub)
            return entry.function;
    }
    return std::nullopt;
}

std::optional<bool> FunctionValueState(RadioFunction f, uint8_t value)
{
    const FunctionCommand& info = FunctionInfo(f);
    if (value == info.onValue || (info.altOnValue != 0xFF && value == info.altOnValue))
        return true;
    if (value == info.offValue)
        return false;
    return std::nullopt;
}

}  // namespace radio
