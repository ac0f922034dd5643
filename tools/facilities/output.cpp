// tools/facilities/output.cpp
// skorvan-facilities' output buffer and the escaping of text in it.
#include "facilities_tool.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <type_traits>

void Out_Flush(FacilitiesOut* out) {
    if (out->file == nullptr)
        return;
    if (out->error.empty())
        Output_Write(out->file, out->buffer, &out->error);
    out->buffer.clear();
}

void Out_Text(FacilitiesOut* out, const char* text) {
    out->buffer += text;
    if (out->file != nullptr && out->buffer.size() > (1u << 20))
        Out_Flush(out);
}

void Out_Text(FacilitiesOut* out, const std::string& text) {
    Out_Text(out, text.c_str());
}

// A JSON document or CSV field never holds inf or nan; a value the reader
// cannot make (it decodes bounded fields) would be a fault, shown as 0.
template <typename T> static void Number(FacilitiesOut* out, T value) {
    if constexpr (std::is_floating_point_v<T>)
        if (!std::isfinite(value))
            value = 0;
    char text[40];
    out->buffer.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void Out_Number(FacilitiesOut* out, double value) {
    Number(out, value);
}

void Out_Number(FacilitiesOut* out, float value) {
    Number(out, value);
}

void Out_Number(FacilitiesOut* out, int32_t value) {
    Number(out, value);
}

void Out_Json(FacilitiesOut* out, const char* text) {
    std::string& b = out->buffer;
    b += '"';
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        if (*c == '"' || *c == '\\') {
            b += '\\';
            b += static_cast<char>(*c);
        } else if (*c < 0x20 || *c > 0x7E) {
            char escape[8];
            snprintf(escape, sizeof escape, "\\u%04x", *c);
            b += escape;
        } else {
            b += static_cast<char>(*c);
        }
    }
    b += '"';
}

void Out_Csv(FacilitiesOut* out, const char* text) {
    if (!strpbrk(text, ",\"\r\n")) {
        out->buffer += text;
        return;
    }
    out->buffer += '"';
    for (const char* c = text; *c; ++c) {
        if (*c == '"')
            out->buffer += '"';
        out->buffer += *c;
    }
    out->buffer += '"';
}
