// tests/win32/dialog_template_test.cpp
// The dialog templates as built into Skorvan.dll, read back from its
// resources and walked field by field: a changed rectangle, style, id or
// text in the .rc (or a default the resource compiler added) shows here.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Item {
    DWORD style; // WS_CHILD and WS_VISIBLE included
    short x, y, cx, cy;
    WORD id;
    std::string className; // "button", "edit", "static" for the predefined ordinals
    std::string text;
};

struct Template {
    DWORD style, exStyle;
    short x, y, cx, cy;
    bool noMenu, defaultClass;
    std::string caption;
    WORD pointSize;
    std::string font;
    std::vector<Item> items;
};

class Reader {
  public:
    explicit Reader(const BYTE* p) : p_(p), start_(p) {}
    WORD Word() {
        WORD v;
        memcpy(&v, p_, 2);
        p_ += 2;
        return v;
    }
    DWORD Dword() { return Word() | static_cast<DWORD>(Word()) << 16; }
    std::string Text() {
        std::string s;
        for (WORD c; (c = Word()) != 0;)
            s += c < 128 ? static_cast<char>(c) : '?';
        return s;
    }
    // An ordinal (0xFFFF then a number) or a string; "#N" for an ordinal.
    std::string NameOrOrdinal() {
        WORD first;
        memcpy(&first, p_, 2);
        if (first == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    void AlignDword() {
        while ((p_ - start_) % 4)
            ++p_;
    }

  private:
    const BYTE* p_;
    const BYTE* start_;
};

std::string ClassName(const std::string& raw) {
    if (raw == "#128")
        return "button";
    if (raw == "#129")
        return "edit";
    if (raw == "#130")
        return "static";
    return raw;
}

Template ReadTemplate(HMODULE dll, int id) {
    Template t = {};
    HRSRC found = FindResourceExA(dll, MAKEINTRESOURCEA(5) /* RT_DIALOG */, MAKEINTRESOURCEA(id),
                                  MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
    EXPECT_NE(found, nullptr) << "dialog " << id << " under language 1024";
    if (!found)
        return t;
    Reader r(static_cast<const BYTE*>(LockResource(LoadResource(dll, found))));
    t.style = r.Dword();
    t.exStyle = r.Dword();
    const WORD count = r.Word();
    t.x = r.Word(), t.y = r.Word(), t.cx = r.Word(), t.cy = r.Word();
    t.noMenu = r.NameOrOrdinal().empty();
    t.defaultClass = r.NameOrOrdinal().empty();
    t.caption = r.Text();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        t.font = r.Text();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        Item item;
        item.style = r.Dword();
        EXPECT_EQ(r.Dword(), 0u) << "item " << i << " has an extended style";
        item.x = r.Word(), item.y = r.Word(), item.cx = r.Word(), item.cy = r.Word();
        item.id = r.Word();
        item.className = ClassName(r.NameOrOrdinal());
        item.text = r.NameOrOrdinal();
        const WORD extra = r.Word();
        EXPECT_EQ(extra, 0u) << "item " << i << " has creation data";
        t.items.push_back(item);
    }
    return t;
}

const DWORD CV = WS_CHILD | WS_VISIBLE;
const DWORD LABEL = CV | SS_RIGHT | SS_CENTERIMAGE | WS_GROUP;
const DWORD FIELD = CV | WS_BORDER | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL;

void ExpectTemplate(const Template& t, const Template& expect) {
    EXPECT_EQ(t.style, expect.style);
    EXPECT_EQ(t.style, 0x80C800C0u);
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ((std::vector<short>{t.x, t.y, t.cx, t.cy}),
              (std::vector<short>{expect.x, expect.y, expect.cx, expect.cy}));
    EXPECT_TRUE(t.noMenu);
    EXPECT_TRUE(t.defaultClass);
    EXPECT_EQ(t.caption, expect.caption);
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.font, "MS Sans Serif");
    ASSERT_EQ(t.items.size(), expect.items.size());
    for (size_t i = 0; i < t.items.size(); ++i) {
        const Item &a = t.items[i], &e = expect.items[i];
        EXPECT_EQ(a.style, e.style) << "item " << i << " " << e.text;
        EXPECT_EQ((std::vector<short>{a.x, a.y, a.cx, a.cy}),
                  (std::vector<short>{e.x, e.y, e.cx, e.cy}))
            << "item " << i << " " << e.text;
        EXPECT_EQ(a.id, e.id) << "item " << i;
        EXPECT_EQ(a.className, e.className) << "item " << i;
        EXPECT_EQ(a.text, e.text) << "item " << i;
    }
}

struct Templates : ::testing::Test {
    HMODULE dll = nullptr;
    void SetUp() override {
        // As data: nothing of the module runs.
        dll = LoadLibraryExA("Skorvan.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(dll, nullptr);
    }
    void TearDown() override { FreeLibrary(dll); }
};

TEST_F(Templates, ConfigurationDialogMatchesItsTable) {
    const Template expect = {
        0x80C800C0,
        0,
        0,
        0,
        182,
        161,
        true,
        true,
        "Skorvan Configuration",
        8,
        "MS Sans Serif",
        {
            {LABEL, 5, 10, 90, 15, 0xFFFF, "static", "Fly-by duration (seconds)"},
            {FIELD, 105, 10, 60, 15, 1000, "edit", ""},
            {LABEL, 5, 30, 90, 15, 0xFFFF, "static", "Camera relative altitude"},
            {FIELD, 105, 30, 60, 15, 1001, "edit", ""},
            {LABEL, 5, 50, 90, 15, 0xFFFF, "static", "Minimum distance"},
            {FIELD, 105, 50, 60, 15, 1006, "edit", ""},
            {LABEL, 5, 70, 90, 15, 0xFFFF, "static", "Camera placement"},
            {CV | BS_AUTORADIOBUTTON | WS_GROUP, 105, 70, 70, 15, 1002, "button", "Always right"},
            {CV | BS_AUTORADIOBUTTON, 105, 85, 70, 15, 1003, "button", "Always left"},
            {CV | BS_AUTORADIOBUTTON, 105, 100, 70, 15, 1004, "button", "Random"},
            {CV | BS_AUTOCHECKBOX | WS_TABSTOP, 5, 120, 170, 15, 1005, "button", "Do travelling"},
            {CV | BS_DEFPUSHBUTTON | WS_TABSTOP, 35, 140, 50, 15, 1, "button", "OK"},
            {CV | BS_PUSHBUTTON | WS_TABSTOP, 90, 140, 50, 15, 2, "button", "Cancel"},
        }};
    ExpectTemplate(ReadTemplate(dll, 101), expect);
}

TEST_F(Templates, AboutDialogMatchesItsTable) {
    Template expect = {
        0x80C800C0,
        0,
        0,
        0,
        222,
        111,
        true,
        true,
        "About Skorvan...",
        8,
        "MS Sans Serif",
        {
            {CV | SS_CENTER | SS_SUNKEN | WS_GROUP, 5, 5, 210, 60, 0xFFFF, "static", ""},
            {CV | WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, 5, 70, 210, 15, 1003,
             "edit", ""},
            {CV | BS_DEFPUSHBUTTON | WS_TABSTOP, 165, 90, 50, 15, 1, "button", "Close"},
        }};
    const Template actual = ReadTemplate(dll, 102);
    ASSERT_EQ(actual.items.size(), 3u);
    EXPECT_EQ(actual.items[0].text.rfind("Skorvan fly-by camera", 0), 0u); // the wording is ours
    expect.items[0].text = actual.items[0].text;
    ExpectTemplate(actual, expect);
}

} // namespace
