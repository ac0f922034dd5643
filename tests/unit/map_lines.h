// tests/unit/map_lines.h
// Questions the map tests ask of a recorder's lines: whether a call was
// made, where a label went, how many calls of a kind there were.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

inline bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Where a label was written: its x, y (or -99999 when it was not).
inline std::pair<int, int> TextAt(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& l : lines) {
        int x, y;
        char found[64];
        if (sscanf(l.c_str(), "text %d,%d %63s", &x, &y, found) == 3 && text == found)
            return {x, y};
    }
    return {-99999, -99999};
}

inline int Count(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}
