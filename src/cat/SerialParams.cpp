#include "SerialParams.h"

#include "AsciiCase.h"

namespace cat {

int HandshakeFromText(std::string_view text)
{
    if (platform::AsciiIEquals(text, "HARD"))
        return kHandshakeHardware;
    if (platform::AsciiIEquals(text, "SOFT") || platform::AsciiIEquals(text, "XON/XOFF"))
        return kHandshakeSoftware;
    return kHandshakeOff;
}

}  // namespace cat
