#pragma once
// The value syntax of skin attributes: numbers, booleans, colours, weights.
#include "graphics/color.h"

#include <functional>
#include <string>

namespace kit {

bool ParseInt(const char* text, int minimum, int maximum, int& out);
bool ParseBool(const char* text, bool& out);
// "#RRGGBB", "none", or a name the lookup knows.
bool ParseColor(const char* text, const std::function<bool(const std::string&, Color&)>& named,
                Color& out);
bool ParseWeight(const char* text, int& out);

}  // namespace kit
