#include "FormatTable.h"

#include <cstdio>

#include "ImaAdpcm.h"

namespace audio {

namespace {

// Block sizes usual for IMA ADPCM: longer blocks at higher rates.
unsigned ImaBlockBytes(unsigned channels, unsigned rate)
{
    const unsigned perChannel = rate <= 11025 ? 256 : rate <= 22050 ? 512 : 1024;
    return perChannel * channels;
}

}  // namespace

WaveFormat MakeFormat(Coding coding, unsigned channels, unsigned rate)
{
    WaveFormat f;
    f.channels = static_cast<std::uint16_t>(channels);
    f.samplesPerSec = rate;
    switch (coding) {
    case Coding::Pcm8:
    case Coding::Alaw:
    case Coding::Mulaw:
        f.tag = coding == Coding::Pcm8 ? kTagPcm : coding == Coding::Alaw ? kTagAlaw : kTagMulaw;
        f.bitsPerSample = 8;
        f.blockAlign = static_cast<std::uint16_t>(channels);
        break;
    case Coding::Pcm16:
        f.tag = kTagPcm;
        f.bitsPerSample = 16;
        f.blockAlign = static_cast<std::uint16_t>(2 * channels);
        break;
    case Coding::ImaAdpcm: {
        f.tag = kTagImaAdpcm;
        f.bitsPerSample = 4;
        f.blockAlign = static_cast<std::uint16_t>(ImaBlockBytes(channels, rate));
        const std::uint32_t frames = ImaFramesPerBlock(f.blockAlign, channels);
        f.extra = {static_cast<std::uint8_t>(frames), static_cast<std::uint8_t>(frames >> 8)};
        f.avgBytesPerSec =
            static_cast<std::uint32_t>(static_cast<std::uint64_t>(rate) * f.blockAlign / frames);
        return f;
    }
    }
    f.avgBytesPerSec = rate * f.blockAlign;
    return f;
}

std::vector<WaveFormat> FormatTable()
{
    std::vector<WaveFormat> table;
    for (Coding c : {Coding::Pcm8, Coding::Pcm16, Coding::Alaw, Coding::Mulaw, Coding::ImaAdpcm})
        for (unsigned channels : {1u, 2u})
            for (unsigned rate : kTableRates)
                table.push_back(MakeFormat(c, channels, rate));
    return table;
}

bool InTable(const WaveFormat& format)
{
    for (const WaveFormat& f : FormatTable())
        if (f == format)
            return true;
    return false;
}

std::string FormatTagName(const WaveFormat& f)
{
    switch (f.tag) {
    case kTagPcm: return "PCM";
    case kTagAlaw: return "CCITT A-Law";
    case kTagMulaw: return "CCITT u-Law";
    case kTagImaAdpcm: return "IMA ADPCM";
    default: {
        char text[24];
        std::snprintf(text, sizeof text, "Format 0x%04X", f.tag);
        return text;
    }
    }
}

std::string FormatName(const WaveFormat& f)
{
    char text[64];
    const char* channels = f.channels == 1 ? "Mono" : f.channels == 2 ? "Stereo" : nullptr;
    char other[16];
    if (!channels) {
        std::snprintf(other, sizeof other, "%u channels", static_cast<unsigned>(f.channels));
        channels = other;
    }
    std::snprintf(text, sizeof text, "%u.%03u kHz, %u Bit, %s", f.samplesPerSec / 1000,
                  f.samplesPerSec % 1000, static_cast<unsigned>(f.bitsPerSample), channels);
    return text;
}

std::string CodingKey(Coding coding)
{
    switch (coding) {
    case Coding::Pcm8: return "pcm8";
    case Coding::Pcm16: return "pcm16";
    case Coding::Alaw: return "alaw";
    case Coding::Mulaw: return "mulaw";
    case Coding::ImaAdpcm: return "ima_adpcm";
    }
    return "";
}

}  // namespace audio
