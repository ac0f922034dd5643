// fuzz/option_values_fuzz.cpp
// libFuzzer target: any bytes as an option's value or a field, through the
// shared number reader, the size reader and the echo of a value. What they
// accept is in range and finite; an echo is short and holds no control
// character.
#include "cli.h"
#include "number.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    double number;
    std::string why;
    if (Number_Read(text, &number, &why) && !std::isfinite(number))
        __builtin_trap();
    if (Number_ReadInRange(text, -90, 90, &number, &why) && !(number >= -90 && number <= 90))
        __builtin_trap();
    long long whole;
    if (Number_ReadWhole(text, INT32_MIN, INT32_MAX, &whole, &why) &&
        (whole < INT32_MIN || whole > INT32_MAX))
        __builtin_trap();
    int width, height;
    if (Cli_ReadSize(text, 10000, &width, &height, &why) &&
        (width < 1 || width > 10000 || height < 1 || height > 10000))
        __builtin_trap();
    const std::string echo = Cli_Echo(text);
    if (echo.size() > CLI_ECHO_LIMIT * 4 * 4 + 8) // four bytes a character, \xNN for each byte
        __builtin_trap();
    for (char c : echo)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
            __builtin_trap();
    return 0;
}
