#pragma once

#include <cstdint>

namespace zorneta {

// Colours are 32-bit integers 0x00BBGGRR: red in the lowest byte.
inline constexpr std::int32_t rgbColour(int red, int green, int blue) {
    return static_cast<std::int32_t>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
inline constexpr int redPart(std::int64_t colour) {
    return static_cast<int>(colour & 0xFF);
}
inline constexpr int greenPart(std::int64_t colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
inline constexpr int bluePart(std::int64_t colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}

} // namespace zorneta
