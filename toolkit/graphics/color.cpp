#include "graphics/color.h"

namespace kit {

Color Composite(Color over, Color under)
{
    auto mix = [&](std::uint8_t top, std::uint8_t bottom) {
        return static_cast<std::uint8_t>((top * over.a + bottom * (255 - over.a) + 127) / 255);
    };
    return {mix(over.r, under.r), mix(over.g, under.g), mix(over.b, under.b), 255};
}

}  // namespace kit
