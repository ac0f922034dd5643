// tools/map/numbers.cpp
// Numbers as skorvan-map's files and options write them.
#include "map_tool.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

bool MapText_Number(const std::string& text, double* out) {
    char* end = nullptr;
    *out = strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(*out);
}

// Kinds are stored in 32 bits: a larger or fractional one is a typing error.
bool MapText_Kind(const std::string& text, int32_t* out) {
    double value;
    if (!MapText_Number(text, &value) || value != std::trunc(value) || value < INT32_MIN ||
        value > INT32_MAX)
        return false;
    *out = static_cast<int32_t>(value);
    return true;
}
