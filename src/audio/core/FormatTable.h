// The formats we record and play, and their names: PCM 8 and 16 bit, A-law, mu-law and IMA
// ADPCM, mono and stereo, 8000 to 44100 samples a second.
#pragma once

#include <string>
#include <vector>

#include "WaveFormat.h"

namespace audio {

enum class Coding { Pcm8, Pcm16, Alaw, Mulaw, ImaAdpcm };

inline constexpr unsigned kTableRates[] = {8000, 11025, 16000, 22050, 32000, 44100};

// A complete format of the coding, its fields worked out as files expect them.
WaveFormat MakeFormat(Coding coding, unsigned channels, unsigned samplesPerSec);
// Every coding x {mono, stereo} x kTableRates, in that order.
std::vector<WaveFormat> FormatTable();
// True for a format the table holds (field by field).
bool InTable(const WaveFormat& format);

// The coding's own name ("PCM", "IMA ADPCM" ...); "Format 0x...." for another tag.
std::string FormatTagName(const WaveFormat& format);
// Rate, bits and channels, e.g. "11.025 kHz, 8 Bit, Mono".
std::string FormatName(const WaveFormat& format);
// A short name for files and benchmark lines: "pcm8", "pcm16", "alaw", "mulaw", "ima_adpcm".
std::string CodingKey(Coding coding);

}  // namespace audio
