// tools/common/number.h
// The one way the tools read a number from a file or an option: decimal
// only ("0x10", "inf", "nan" and "1e400" are refused), blanks (spaces and
// tabs) around it allowed everywhere, and a range that names the field's
// physical limits.
#pragma once

#include <string>

// A finite decimal number, blanks around it allowed. On failure returns
// false and sets why (when given) to the reason in the user's terms, to
// follow the field's name: "is 'abc', not a number", "is '1e400', too
// large to be a number".
bool Number_Read(const std::string& text, double* out, std::string* why = nullptr);

// As Number_Read, and within low..high: "is 95, outside -90 to 90".
bool Number_ReadInRange(const std::string& text, double low, double high, double* out,
                        std::string* why = nullptr);

// A whole number (digits with an optional sign, blanks around it allowed)
// within low..high; a fraction, an exponent or a value beyond the range is
// refused, never wrapped.
bool Number_ReadWhole(const std::string& text, long long low, long long high, long long* out,
                      std::string* why = nullptr);

// A number as messages show it: %g, so 1e+300 stays short.
std::string Number_Show(double value);
