// tests/unit/settings_documents_test.cpp
// The user guide and the release readme list the settings of the module's
// table, in its order, with its defaults; the guide's dialog table names
// the dialog's labels from the table.
#include "module.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

typedef std::vector<std::pair<std::string, std::string>> NamedValues;

std::string ReadSource(const char* path) {
    std::ifstream in(std::string(SKORVAN_SOURCE_DIR) + "/" + path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The part of a document from the line that starts with heading to the
// next heading of the same level.
std::string Section(const std::string& text, const std::string& heading) {
    const size_t start = text.find("\n" + heading + "\n");
    if (start == std::string::npos)
        return "";
    const std::string level = heading.substr(0, heading.find(' ') + 1);
    const size_t end = text.find("\n" + level, start + heading.size() + 1);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Each line of text matching pattern: its first two groups.
NamedValues Rows(const std::string& text, const std::regex& pattern) {
    NamedValues rows;
    std::istringstream lines(text);
    std::string line;
    std::smatch m;
    while (std::getline(lines, line))
        if (std::regex_search(line, m, pattern))
            rows.push_back({m[1].str(), m[2].str()});
    return rows;
}

NamedValues TableDefaults() {
    NamedValues rows;
    for (const SettingField& field : SETTINGS_FIELDS)
        rows.push_back({field.name, std::to_string(field.defaultValue)});
    return rows;
}

TEST(SettingsDocuments, GuideAndReadmeListTheTablesSettingsAndDefaults) {
    const NamedValues table = TableDefaults();
    const std::string guide = Section(ReadSource("docs/user-guide.md"), "## Settings");
    ASSERT_FALSE(guide.empty()) << "no '## Settings' section in the user guide";
    // | `FlyByDuration` | 10 | meaning |
    EXPECT_EQ(Rows(guide, std::regex("^\\| `(FlyBy[A-Za-z]+)` \\| *([^ |]+) *\\|")), table)
        << "the user guide's settings table";
    // "  FlyByDuration         10  seconds between fly-bys"
    EXPECT_EQ(Rows(ReadSource("packaging/README.txt.in"),
                   std::regex("^ +(FlyBy[A-Za-z]+) +(-?[0-9]+)( |$)")),
              table)
        << "the release readme's settings";
}

TEST(SettingsDocuments, GuidesDialogTableShowsTheTablesLabels) {
    NamedValues labels;
    for (const SettingField& field : SETTINGS_FIELDS)
        if (field.dialogLabel[0] != '\0')
            labels.push_back({field.dialogLabel, field.name});
    const std::string dialog =
        Section(ReadSource("docs/user-guide.md"), "## The configuration dialog");
    ASSERT_FALSE(dialog.empty()) << "no '## The configuration dialog' section in the user guide";
    // | Minimum distance | `FlyByMinDistance` | metres | ...
    EXPECT_EQ(Rows(dialog, std::regex("^\\| ([^|`]*[^ |`]) \\| `(FlyBy[A-Za-z]+)` \\|")), labels);
}

// The readers above must find what they look for, and only that: the rows
// of the section asked for, values as written, and nothing for a section
// that is not there.
TEST(SettingsDocuments, TheReadersTakeTheSectionAskedForWithItsValuesAsWritten) {
    const std::string text = "# Guide\n\n## Settings\n\n| Value | Default | Meaning |\n"
                             "|---|---|---|\n| `FlyByActive` | 1 | on |\n"
                             "| `FlyByDuration` | 12 | seconds |\n\n## Next\n\n"
                             "| `FlyByRelAltitude` | 0 | elsewhere |\n";
    const NamedValues rows = Rows(Section(text, "## Settings"),
                                  std::regex("^\\| `(FlyBy[A-Za-z]+)` \\| *([^ |]+) *\\|"));
    const NamedValues expect = {{"FlyByActive", "1"}, {"FlyByDuration", "12"}};
    EXPECT_EQ(rows, expect);
    EXPECT_EQ(Section(text, "## Missing"), "");
}

} // namespace
