// tools/replay/iso_time.cpp
// ISO 8601 times as GPX writes them, to and from seconds since 1970 (UTC).
#include "replay.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace {

// Exactly count digits at p, moved past them.
bool Digits(const char*& p, int count, int* value) {
    *value = 0;
    for (int i = 0; i < count; ++i, ++p) {
        if (!isdigit(static_cast<unsigned char>(*p)))
            return false;
        *value = *value * 10 + (*p - '0');
    }
    return true;
}

bool Expect(const char*& p, char c) {
    if (*p != c)
        return false;
    ++p;
    return true;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int DAYS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : DAYS[month - 1];
}

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
long long DaysFromCivil(long long year, int month, int day) {
    const long long y = year - (month <= 2);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long days, long long* year, int* month, int* day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    *day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    *month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    *year = yoe + era * 400 + (*month <= 2);
}

// The zone after the seconds: Z, +hh:mm, +hhmm, -hh:mm, or nothing (UTC).
bool ZoneOffset(const char*& p, int* offsetS) {
    *offsetS = 0;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')
        ++p; // an element laid out over lines keeps its blanks
    if (*p == 'Z' || *p == '\0') {
        p += *p == 'Z';
        return true;
    }
    if (*p != '+' && *p != '-')
        return false;
    const int sign = *p++ == '-' ? -1 : 1;
    int hours, minutes;
    if (!Digits(p, 2, &hours))
        return false;
    if (*p == ':')
        ++p;
    if (!Digits(p, 2, &minutes) || hours > 23 || minutes > 59)
        return false;
    *offsetS = sign * (hours * 3600 + minutes * 60);
    return true;
}

} // namespace

bool Time_ParseIso(const std::string& text, double* seconds, bool* leapSecond) {
    const char* p = text.c_str();
    while (isspace(static_cast<unsigned char>(*p)))
        ++p;
    int year, month, day, hour, minute, second;
    if (!Digits(p, 4, &year) || !Expect(p, '-') || !Digits(p, 2, &month) || !Expect(p, '-') ||
        !Digits(p, 2, &day) || !Expect(p, 'T') || !Digits(p, 2, &hour) || !Expect(p, ':') ||
        !Digits(p, 2, &minute) || !Expect(p, ':') || !Digits(p, 2, &second))
        return false;
    double fraction = 0;
    if (*p == '.') {
        const char* start = p;
        ++p;
        if (!isdigit(static_cast<unsigned char>(*p)))
            return false;
        while (isdigit(static_cast<unsigned char>(*p)))
            ++p;
        fraction = strtod(std::string(start, p).c_str(), nullptr);
    }
    int offsetS;
    if (!ZoneOffset(p, &offsetS))
        return false;
    while (isspace(static_cast<unsigned char>(*p)))
        ++p;
    // Second 60 is a leap second; 24:00 is not taken.
    if (*p != '\0' || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 60)
        return false;
    *seconds = static_cast<double>(DaysFromCivil(year, month, day)) * 86400.0 + hour * 3600.0 +
               minute * 60.0 + second + fraction - offsetS;
    if (leapSecond)
        *leapSecond = second == 60;
    return true;
}

std::string Time_FormatIso(double seconds) {
    const long long ms = llround(seconds * 1000.0);
    long long days = ms / 86400000, inDay = ms % 86400000;
    if (inDay < 0)
        inDay += 86400000, --days;
    long long year;
    int month, day;
    CivilFromDays(days, &year, &month, &day);
    return Text_Format("%04lld-%02d-%02dT%02lld:%02lld:%02lld.%03lldZ", year, month, day,
                       inDay / 3600000, inDay / 60000 % 60, inDay / 1000 % 60, inDay % 1000);
}
