#include "SampleCodec.h"

#include "G711.h"
#include "ImaAdpcm.h"

namespace audio {

namespace {

// One byte or one 16-bit word per sample: PCM and the companding laws.
class SampleWise : public SampleCodec {
public:
    using Encoder = void (*)(std::int16_t, std::uint8_t*);
    using Decoder = std::int16_t (*)(const std::uint8_t*);
    SampleWise(std::uint32_t channels, std::uint32_t bytesPerSample, Encoder enc, Decoder dec)
        : SampleCodec(channels, channels * bytesPerSample, 1),
          bytes_(bytesPerSample),
          enc_(enc),
          dec_(dec)
    {
    }
    void EncodeBlock(const std::int16_t* frames, std::uint8_t* out) override
    {
        for (std::uint32_t c = 0; c < Channels(); ++c)
            enc_(frames[c], out + c * bytes_);
    }
    void Decode(const std::uint8_t* bytes, std::size_t size,
                std::vector<std::int16_t>& out) override
    {
        const std::size_t whole = size / BlockBytes() * Channels();
        out.reserve(out.size() + whole);
        for (std::size_t i = 0; i < whole; ++i)
            out.push_back(dec_(bytes + i * bytes_));
    }

private:
    std::uint32_t bytes_;
    Encoder enc_;
    Decoder dec_;
};

class Ima : public SampleCodec {
public:
    Ima(std::uint32_t channels, std::uint32_t blockBytes, std::uint32_t blockFrames)
        : SampleCodec(channels, blockBytes, blockFrames), encoder_(blockBytes, channels)
    {
    }
    void EncodeBlock(const std::int16_t* frames, std::uint8_t* out) override
    {
        encoder_.EncodeBlock(frames, out);
    }
    void Decode(const std::uint8_t* bytes, std::size_t size,
                std::vector<std::int16_t>& out) override
    {
        for (std::size_t at = 0; at < size; at += BlockBytes()) {
            const std::size_t n = std::min<std::size_t>(BlockBytes(), size - at);
            ImaDecodeBlock(bytes + at, n, Channels(), BlockFrames(), out);
        }
    }

private:
    ImaEncoder encoder_;
};

void PutPcm8(std::int16_t s, std::uint8_t* p)
{
    *p = static_cast<std::uint8_t>((s >> 8) + 128);
}
std::int16_t GetPcm8(const std::uint8_t* p)
{
    return static_cast<std::int16_t>((*p - 128) * 256);
}
void PutPcm16(std::int16_t s, std::uint8_t* p)
{
    PutLe16(p, static_cast<std::uint16_t>(s));
}
std::int16_t GetPcm16(const std::uint8_t* p)
{
    return static_cast<std::int16_t>(ReadLe16(p));
}
void PutAlaw(std::int16_t s, std::uint8_t* p)
{
    *p = LinearToAlaw(s);
}
std::int16_t GetAlaw(const std::uint8_t* p)
{
    return AlawToLinear(*p);
}
void PutMulaw(std::int16_t s, std::uint8_t* p)
{
    *p = LinearToMulaw(s);
}
std::int16_t GetMulaw(const std::uint8_t* p)
{
    return MulawToLinear(*p);
}

}  // namespace

std::unique_ptr<SampleCodec> SampleCodec::For(const WaveFormat& f)
{
    if (!IsValid(f))
        return nullptr;
    const std::uint32_t ch = f.channels;
    switch (f.tag) {
    case kTagPcm:
        if (f.bitsPerSample == 8 && f.blockAlign == ch)
            return std::make_unique<SampleWise>(ch, 1, PutPcm8, GetPcm8);
        if (f.bitsPerSample == 16 && f.blockAlign == 2 * ch)
            return std::make_unique<SampleWise>(ch, 2, PutPcm16, GetPcm16);
        return nullptr;
    case kTagAlaw:
        return f.blockAlign == ch ? std::make_unique<SampleWise>(ch, 1, PutAlaw, GetAlaw) : nullptr;
    case kTagMulaw:
        return f.blockAlign == ch ? std::make_unique<SampleWise>(ch, 1, PutMulaw, GetMulaw)
                                  : nullptr;
    case kTagImaAdpcm: {
        if (f.bitsPerSample != 4 || f.blockAlign <= 4 * ch || (f.blockAlign - 4 * ch) % (4 * ch))
            return nullptr;
        const std::uint32_t frames = ImaFramesPerBlock(f.blockAlign, ch);
        if (FramesPerBlock(f) != frames)
            return nullptr;
        return std::make_unique<Ima>(ch, f.blockAlign, frames);
    }
    default: return nullptr;
    }
}

}  // namespace audio
