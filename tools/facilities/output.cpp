// tools/facilities/output.cpp
// skorvan-facilities' output buffer and the escaping of text in it.
#include "facilities_tool.h"

#include <charconv>
#include <cstdio>
#include <cstring>

void Out_Flush(FacilitiesOut* out) {
    if (!out->buffer.empty() &&
        fwrite(out->buffer.data(), 1, out->buffer.size(), out->file) != out->buffer.size())
        out->failed = true;
    out->buffer.clear();
}

void Out_Text(FacilitiesOut* out, const char* text) {
    out->buffer += text;
    if (out->buffer.size() > (1u << 20))
        Out_Flush(out);
}

void Out_Text(FacilitiesOut* out, const std::string& text) {
    Out_Text(out, text.c_str());
}

template <typename T> static void Number(FacilitiesOut* out, T value) {
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
