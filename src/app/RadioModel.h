// The radio models by their Setup/"RTX" index.
#pragma once

namespace radio {

enum RadioModel : int {
    kModelUnknown = -1,
    kIC706 = 0,
    kIC706MKII = 1,
    kIC706MKIIG = 2,
    kIC718 = 3,
    kModelOther = 4,
};

}  // namespace radio
