// tools/replay/text.cpp
// Small text helpers shared by the flight readers and the file writers.
#include "replay.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

std::string Text_Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
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
