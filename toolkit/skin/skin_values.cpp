#include "skin/skin_values.h"

#include <cstdlib>
#include <cstring>

namespace kit {

bool ParseInt(const char* text, int minimum, int maximum, int& out)
{
    if (text == nullptr || *text == '\0')
        return false;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || value < minimum || value > maximum)
        return false;
    out = static_cast<int>(value);
    return true;
}

bool ParseBool(const char* text, bool& out)
{
    if (std::strcmp(text, "true") == 0 || std::strcmp(text, "1") == 0) {
        out = true;
        return true;
    }
    if (std::strcmp(text, "false") == 0 || std::strcmp(text, "0") == 0) {
        out = false;
        return true;
    }
    return false;
}

bool ParseColor(const char* text, const std::function<bool(const std::string&, Color&)>& named,
                Color& out)
{
    if (std::strcmp(text, "none") == 0) {
        out = Color{};
        return true;
    }
    if (text[0] == '#') {
        if (std::strlen(text) != 7)
            return false;
        char* end = nullptr;
        const unsigned long value = std::strtoul(text + 1, &end, 16);
        if (*end != '\0')
            return false;
        out = Color::Rgb(static_cast<std::uint32_t>(value));
        return true;
    }
    return named && named(text, out);
}

bool ParseWeight(const char* text, int& out)
{
    static const struct {
        const char* name;
        int weight;
    } kWeights[] = {{"normal", 400}, {"medium", 500}, {"semibold", 600}, {"bold", 700}};
    for (const auto& entry : kWeights)
        if (std::strcmp(text, entry.name) == 0) {
            out = entry.weight;
            return true;
        }
    return ParseInt(text, 100, 900, out);
}

}  // namespace kit
