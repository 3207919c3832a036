// bench-startup-floor TREE: the floor of the start-up benchmark. Creates the
// tree of windows that bench-startup-phases wrote to TREE (same classes,
// styles, texts, sizes, font, combo-box and tab entries) by direct
// CreateWindowExW calls, shows it and runs a message loop. The class
// library's own classes are registered with DefWindowProcW: no description,
// no skin, no handlers, only what the system needs to make those windows.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct TNode {
    int Depth = 0;
    std::wstring Class, Base, Text;
    DWORD Style = 0, ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    std::vector<std::wstring> Items;
    int Selected = -1;
};

std::wstring Unhex(const char* hex)
{
    std::wstring text;
    if (std::strcmp(hex, "-") == 0) return text;
    for (size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0' && hex[i + 2] != '\0' && hex[i + 3] != '\0'; i += 4) {
        const char unit[5] = {hex[i], hex[i + 1], hex[i + 2], hex[i + 3], '\0'};
        text += static_cast<wchar_t>(std::strtoul(unit, nullptr, 16));
    }
    return text;
}

std::wstring Widen(const char* text)
{
    return std::wstring(text, text + std::strlen(text));
}

bool ReadTree(const wchar_t* path, LOGFONTW& font, std::vector<TNode>& nodes)
{
    FILE* in = _wfopen(path, L"r");
    if (in == nullptr) return false;
    static char line[1 << 16];
    while (std::fgets(line, sizeof line, in) != nullptr) {
        if (std::strncmp(line, "font ", 5) == 0) {
            auto* bytes = reinterpret_cast<unsigned char*>(&font);
            for (size_t i = 0; i < sizeof font; ++i) {
                const char pair[3] = {line[5 + 2 * i], line[6 + 2 * i], '\0'};
                bytes[i] = static_cast<unsigned char>(std::strtoul(pair, nullptr, 16));
            }
            continue;
        }
        static char cls[256], base[64], text[1 << 12], items[1 << 15];
        TNode n;
        unsigned long style = 0, exStyle = 0;
        if (std::sscanf(line, "%d %255s %63s %lx %lx %d %d %d %d %4095s %32767s %d", &n.Depth, cls, base, &style,
                        &exStyle, &n.X, &n.Y, &n.Width, &n.Height, text, items, &n.Selected) != 12)
            continue;
        n.Class = Widen(cls);
        n.Base = std::strcmp(base, "-") == 0 ? L"" : Widen(base);
        n.Style = style;
        n.ExStyle = exStyle;
        n.Text = Unhex(text);
        if (std::strcmp(items, "-") != 0)
            for (char* item = std::strtok(items, ","); item != nullptr; item = std::strtok(nullptr, ","))
                n.Items.push_back(Unhex(item));
        nodes.push_back(std::move(n));
    }
    std::fclose(in);
    return !nodes.empty();
}

LRESULT CALLBACK TopProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show)
{
    LOGFONTW logFont{};
    std::vector<TNode> nodes;
    if (!ReadTree(commandLine, logFont, nodes)) return 2;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HFONT font = CreateFontIndirectW(&logFont);

    // The library's own classes, once each, with the face colour behind them.
    std::set<std::wstring> registered;
    for (const TNode& n : nodes) {
        if (!n.Base.empty() || !registered.insert(n.Class).second) continue;
        WNDCLASSW wc{};
        wc.lpfnWndProc = &n == &nodes.front() ? TopProc : DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = n.Class.c_str();
        RegisterClassW(&wc);
    }

    std::vector<HWND> parents; // by depth
    for (const TNode& n : nodes) {
        parents.resize(static_cast<size_t>(n.Depth));
        const HWND parent = n.Depth == 0 ? nullptr : parents.back();
        const DWORD style = n.Depth == 0 ? n.Style & ~WS_VISIBLE : n.Style;
        HWND wnd = CreateWindowExW(n.ExStyle, n.Base.empty() ? n.Class.c_str() : n.Base.c_str(), n.Text.c_str(), style,
                                   n.X, n.Y, n.Width, n.Height, parent, nullptr, instance, nullptr);
        if (wnd == nullptr) return 3;
        SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (n.Base == L"COMBOBOX") {
            for (const std::wstring& item : n.Items) SendMessageW(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            if (n.Selected >= 0) SendMessageW(wnd, CB_SETCURSEL, static_cast<WPARAM>(n.Selected), 0);
            else SetWindowTextW(wnd, n.Text.c_str());
        } else if (n.Base == L"SysTabControl32") {
            for (size_t i = 0; i < n.Items.size(); ++i) {
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = const_cast<wchar_t*>(n.Items[i].c_str());
                SendMessageW(wnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
            }
            if (n.Selected >= 0) SendMessageW(wnd, TCM_SETCURSEL, static_cast<WPARAM>(n.Selected), 0);
        }
        parents.push_back(wnd);
    }
    ShowWindow(parents.front(), show);
    UpdateWindow(parents.front());
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    DeleteObject(font);
    return 0;
}
