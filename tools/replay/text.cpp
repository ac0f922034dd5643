// tools/replay/text.cpp
// Small text helpers shared by the flight readers and the file writers.
#include "replay.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

std::string Text_Format(const char* format, ...) {
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    const int length = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) // sized first: a long file name must not cut the text short
        vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    return text;
}

bool Text_ParseNumber(const std::string& text, double* out) {
    const char* start = text.c_str();
    while (*start == ' ' || *start == '\t')
        ++start;
    if (*start == '\0')
        return false;
    char* end = nullptr;
    *out = strtod(start, &end);
    if (end == start)
        return false;
    while (*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n')
        ++end;
    return *end == '\0' && std::isfinite(*out);
}

int Text_LineOf(const std::string& text, size_t offset) {
    int line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i)
        line += text[i] == '\n';
    return line;
}
