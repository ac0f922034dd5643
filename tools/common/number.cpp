// tools/common/number.cpp
// The strict number reader shared by every tool.
#include "number.h"

#include "cli.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool Blank(char c) {
    return c == ' ' || c == '\t';
}

// The text without its surrounding blanks.
std::string Trimmed(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && Blank(text[first]))
        ++first;
    while (last > first && Blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool Digit(char c) {
    return c >= '0' && c <= '9';
}

// Sign, digits with at most one point (a digit on at least one side) and an
// optional exponent: strtod alone would also take hexadecimal, inf and nan.
bool Decimal(const std::string& s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && Digit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && Digit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (i >= s.size() || !Digit(s[i]))
            return false;
        while (i < s.size() && Digit(s[i]))
            ++i;
    }
    return i == s.size();
}

bool Refuse(std::string* why, const std::string& message) {
    if (why)
        *why = message;
    return false;
}

} // namespace

std::string Number_Show(double value) {
    char text[32];
    snprintf(text, sizeof text, "%g", value);
    return text;
}

bool Number_Read(const std::string& text, double* out, std::string* why) {
    const std::string s = Trimmed(text);
    if (!Decimal(s))
        return Refuse(why, "is " + Cli_Echo(text) + ", not a number");
    errno = 0;
    const double value = strtod(s.c_str(), nullptr);
    // An underflow gives zero or a tiny value, which is what was meant.
    if (!std::isfinite(value) || (errno == ERANGE && std::fabs(value) == HUGE_VAL))
        return Refuse(why, "is " + Cli_Echo(text) + ", too large to be a number");
    *out = value;
    return true;
}

bool Number_ReadInRange(const std::string& text, double low, double high, double* out,
                        std::string* why) {
    double value;
    if (!Number_Read(text, &value, why))
        return false;
    if (!(value >= low && value <= high))
        return Refuse(why, "is " + Number_Show(value) + ", outside " + Number_Show(low) + " to " +
                               Number_Show(high));
    *out = value;
    return true;
}

bool Number_ReadWhole(const std::string& text, long long low, long long high, long long* out,
                      std::string* why) {
    const std::string s = Trimmed(text);
    size_t i = s.empty() || (s[0] != '+' && s[0] != '-') ? 0 : 1;
    if (i == s.size())
        return Refuse(why, "is " + Cli_Echo(text) + ", not a whole number");
    for (size_t j = i; j < s.size(); ++j)
        if (!Digit(s[j]))
            return Refuse(why, "is " + Cli_Echo(text) + ", not a whole number");
    errno = 0;
    const long long value = strtoll(s.c_str(), nullptr, 10);
    if (errno == ERANGE || value < low || value > high)
        return Refuse(why, "is " + Cli_Echo(s) + ", outside " + std::to_string(low) + " to " +
                               std::to_string(high));
    *out = value;
    return true;
}
