// host/dialog_win32.cpp
// The script's steps on the module's open dialogs: read their fields into
// the log, set text, check and click buttons, escape and close, as a user
// would.
#include "host_win32.h"

#include <cstring>

static const char* DialogCaption(const std::string& name) {
    return name == "about" ? "About Skorvan..." : "Skorvan Configuration";
}

// A control's text with line breaks and commas made harmless for the CSV.
static std::string ControlText(HWND dialog, int id) {
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    for (char* c = text; *c; ++c)
        if (*c == '\n' || *c == '\r' || *c == ',')
            *c = '|';
    return text;
}

static void ReadDialog(HWND dialog, const std::string& name) {
    if (name == "about") {
        HWND field = GetDlgItem(dialog, 1003);
        HostLog_Line("dialog,about,%s,%s,%d", ControlText(dialog, 0xFFFF).c_str(),
                     ControlText(dialog, 1003).c_str(),
                     field && (GetWindowLongA(field, GWL_STYLE) & ES_READONLY) ? 1 : 0);
    } else {
        HostLog_Line("dialog,configure,%s,%s,%s,%u,%u,%u,%u", ControlText(dialog, 1000).c_str(),
                     ControlText(dialog, 1001).c_str(), ControlText(dialog, 1006).c_str(),
                     IsDlgButtonChecked(dialog, 1002), IsDlgButtonChecked(dialog, 1003),
                     IsDlgButtonChecked(dialog, 1004), IsDlgButtonChecked(dialog, 1005));
    }
}

struct DialogCount {
    const char* caption;
    int count;
};

static BOOL CALLBACK CountDialog(HWND window, LPARAM context) {
    auto* counting = reinterpret_cast<DialogCount*>(context);
    char caption[128] = "", className[64] = "";
    GetWindowTextA(window, caption, sizeof caption);
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0 && strcmp(caption, counting->caption) == 0)
        ++counting->count;
    return TRUE;
}

void HostDialog_Step(const HostScriptEvent& event) {
    if (event.step == HostDialogStep::Count) {
        DialogCount counting = {DialogCaption(event.dialog), 0};
        EnumThreadWindows(GetCurrentThreadId(), CountDialog, reinterpret_cast<LPARAM>(&counting));
        HostLog_Line("dialog,%s,count,%d,%d", event.dialog.c_str(), counting.count,
                     g_mainWindow != nullptr && IsWindowEnabled(g_mainWindow) ? 1 : 0);
        return;
    }
    HWND dialog = FindWindowA("#32770", DialogCaption(event.dialog));
    if (dialog == nullptr) {
        HostLog_Line("dialog,%s,missing", event.dialog.c_str());
        return;
    }
    HWND control = GetDlgItem(dialog, event.id);
    switch (event.step) {
    case HostDialogStep::Read:
        ReadDialog(dialog, event.dialog);
        break;
    case HostDialogStep::Set:
        SetDlgItemTextA(dialog, event.id, event.text.c_str());
        break;
    case HostDialogStep::Check:
        // A click, as a user would: radio buttons clear their group.
        if (control && (IsDlgButtonChecked(dialog, event.id) != 0) != (event.high != 0))
            SendMessageA(control, BM_CLICK, 0, 0);
        break;
    case HostDialogStep::Click:
        if (control)
            SendMessageA(control, BM_CLICK, 0, 0);
        break;
    case HostDialogStep::Escape: {
        HWND focus = GetFocus();
        PostMessageA(focus ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
        break;
    }
    case HostDialogStep::Close:
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case HostDialogStep::Count: // handled above: it needs no open dialog
        break;
    }
}
