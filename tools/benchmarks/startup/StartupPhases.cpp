// bench-startup-phases-EDITION [TREE]: starts as Tagbench does (skin manager
// unit, application, main window from its stored description, shown) and
// prints how long each phase took, in ms, as `phase: value` lines. With TREE
// it also writes the main window's tree of windows there, for
// bench-startup-floor to create the same tree by direct calls.
// bench-startup-phases-EDITION --skinned-paint | --inactive-paint: only the
// time from main to the main window's first whole paint, with its controls
// skinned (the tab strip shows the skin) or with the skin component switched
// off before the window is shown.
#include "classlib/Handles.h"
#include "console/Ureader.h"
#include "skin/data/WinSkinData.h"
#include "skin/manager/WinSkinDlg.h"

#include "Painted.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

double NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

// How long ago the process was created, in ms.
double ProcessAgeMs()
{
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

// UTF-16 code units as four hexadecimal digits each ("-" for none).
std::string Hex(const std::wstring& text)
{
    if (text.empty()) return "-";
    std::string out;
    char unit[8];
    for (wchar_t c : text) {
        std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(c));
        out += unit;
    }
    return out;
}

std::wstring Text(HWND wnd)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The system class a control of the class library is made from; "-" for the
// library's own classes.
const char* BaseClass(TWinControl* control)
{
    if (dynamic_cast<TCustomEdit*>(control)) return "EDIT";
    if (dynamic_cast<TCustomComboBox*>(control)) return "COMBOBOX";
    if (dynamic_cast<TButtonControl*>(control)) return "BUTTON";
    if (dynamic_cast<TCustomTabControl*>(control)) return "SysTabControl32";
    if (dynamic_cast<TCustomStatusBar*>(control)) return "msctls_statusbar32";
    return "-";
}

// One line per window, parents before children and siblings in creation
// order (the bottom of the z-order first): depth, class, base class, style,
// extended style, position in the parent, size, text, and the entries of a
// combo box or tab control with the selected one.
void DumpWindow(FILE* out, HWND wnd, int depth)
{
    TWinControl* control = FindControl(wnd);
    if (control == nullptr) return; // a window of the skin engine or of a system control
    wchar_t cls[256];
    GetClassNameW(wnd, cls, 256);
    RECT r;
    GetWindowRect(wnd, &r);
    if (depth > 0) MapWindowPoints(nullptr, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
    const std::string base = BaseClass(control);
    std::string items = "-";
    int selected = -1;
    if (base == "COMBOBOX") {
        const int count = static_cast<int>(SendMessageW(wnd, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring item(static_cast<size_t>(SendMessageW(wnd, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            item.resize(static_cast<size_t>(SendMessageW(wnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
            items = (i == 0 ? "" : items + ",") + Hex(item);
        }
        selected = static_cast<int>(SendMessageW(wnd, CB_GETCURSEL, 0, 0));
    } else if (base == "SysTabControl32") {
        const int count = static_cast<int>(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t caption[256] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption;
            item.cchTextMax = 256;
            SendMessageW(wnd, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            items = (i == 0 ? "" : items + ",") + Hex(caption);
        }
        selected = static_cast<int>(SendMessageW(wnd, TCM_GETCURSEL, 0, 0));
    }
    std::fprintf(out, "%d %ls %s %lX %lX %ld %ld %ld %ld %s %s %d\n", depth, cls, base.c_str(),
                 static_cast<unsigned long>(GetWindowLongW(wnd, GWL_STYLE)),
                 static_cast<unsigned long>(GetWindowLongW(wnd, GWL_EXSTYLE)), r.left, r.top, r.right - r.left,
                 r.bottom - r.top, Hex(Text(wnd)).c_str(), items.c_str(), selected);
    if (base == "COMBOBOX") return; // its edit and list are its own
    HWND child = GetWindow(wnd, GW_CHILD);
    if (child != nullptr) child = GetWindow(child, GW_HWNDLAST);
    for (; child != nullptr; child = GetWindow(child, GW_HWNDPREV)) DumpWindow(out, child, depth + 1);
}

void DumpTree(const char* path, TCustomForm& Form)
{
    FILE* out = std::fopen(path, "w");
    if (out == nullptr) throw std::runtime_error(std::string("cannot write ") + path);
    // The font every window is given (the form's, which its controls take),
    // as the bytes of its LOGFONTW. Not the form window's WM_GETFONT: a window
    // of a class of its own answers that with none.
    LOGFONTW font{};
    if (GetObjectW(Form.Font()->Handle(), sizeof font, &font) != sizeof font)
        throw std::runtime_error("the form's font cannot be read");
    const HWND top = Form.Handle();
    std::fprintf(out, "font ");
    for (size_t i = 0; i < sizeof font; ++i) std::fprintf(out, "%02X", reinterpret_cast<const unsigned char*>(&font)[i]);
    std::fprintf(out, "\n");
    DumpWindow(out, top, 0);
    std::fclose(out);
}

// The page control's tab strip shows the skin: the outer edge of the tab
// with the focus has the colour of its cell in the Tabs strip.
bool TabStripSkinned(TPageControl& Pages, TSkinData& Skin)
{
    const TDataSkinBorder* tabs = Skin.FTabs.get();
    const HWND wnd = Pages.WindowHandle();
    if (tabs == nullptr || tabs->FBitmap->Empty() || tabs->FFrame < 2 || tabs->FBitmap->Height() < 2) return false;
    RECT tab;
    const WPARAM focused = static_cast<WPARAM>(SendMessageW(wnd, TCM_GETCURFOCUS, 0, 0));
    if (!SendMessageW(wnd, TCM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&tab))) return false;
    TBitmap& strip = *tabs->FBitmap;
    const int cell = strip.Width() / tabs->FFrame, bytes = strip.BitsPerPixel() / 8;
    const uint8_t* edge = strip.ScanLine(1) + (cell + cell / 2) * bytes;
    POINT p{(tab.left + tab.right) / 2, tab.top + 2};  // the strip draws the tab one pixel down
    ClientToScreen(wnd, &p);
    const TWindowDC screen(nullptr, GetDC(nullptr));
    return GetPixel(screen.Get(), p.x, p.y) == RGB(edge[2], edge[1], edge[0]);
}

int RunFirstPaint(bool Skinned)
{
    const double start = NowMs();
    InitSkinManagerUnit();
    Application->Initialize();
    RegisterConsoleClasses();
    Application->CreateForm(Freader);
    if (!Skinned) Freader->SkinData1->SetActive(false);
    Freader->Show();
    const HWND top = Freader->Handle();
    // The whole window painted: no window of the thread waits for a paint.
    const auto done = [&] {
        return Painted(top) && (!Skinned || TabStripSkinned(*Freader->PageControl1, *Freader->SkinData1)) &&
               (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) == 0;
    };
    const ULONGLONG deadline = GetTickCount64() + 30000;
    while (!done() && GetTickCount64() < deadline) {
        Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    if (!done()) throw std::runtime_error("the main window was not painted within 30 s");
    // From main on: the process start before it is Wine's, and varies more
    // than what is measured.
    std::printf("first_paint_ms: %.1f\n", NowMs() - start);
    std::fflush(stdout);
    delete Freader;
    return 0;
}

int Run(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--skinned-paint") == 0) return RunFirstPaint(true);
    if (argc > 1 && std::strcmp(argv[1], "--inactive-paint") == 0) return RunFirstPaint(false);
    const double toMain = ProcessAgeMs();
    const double start = NowMs();
    InitSkinManagerUnit();
    Application->Initialize();
    RegisterConsoleClasses();
    const double initialised = NowMs();
    Application->CreateForm(Freader);
    const double read = NowMs();

    double fillStart = 0, fillEnd = 0;
    const TNotifyEvent formShow = Freader->OnShow;
    Freader->OnShow = [&](TObject* sender) {
        fillStart = NowMs();
        formShow(sender);
        fillEnd = NowMs();
    };
    Freader->Show();
    const double shown = NowMs();
    const HWND top = Freader->Handle();
    const ULONGLONG deadline = GetTickCount64() + 30000;
    while (!Painted(top) && GetTickCount64() < deadline) {
        Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    const double painted = NowMs();

    // The skin is loaded while the description is read: load the same
    // stored skin again to tell the two apart.
    const double skinStart = NowMs();
    Freader->SkinData1->LoadSkin();
    const double skin = NowMs() - skinStart;

    std::printf("process_to_main_ms: %.1f\n", toMain);
    std::printf("unit_and_application_init_ms: %.1f\n", initialised - start);
    std::printf("description_read_ms: %.1f\n", read - initialised - skin);
    std::printf("skin_load_ms: %.1f\n", skin);
    // The windows are made before OnShow runs; showing activates the window,
    // which is when the skin engine takes over its frame and controls.
    std::printf("window_creation_ms: %.1f\n", fillStart - read);
    std::printf("formshow_fills_ms: %.1f\n", fillEnd - fillStart);
    std::printf("show_and_skinning_ms: %.1f\n", shown - fillEnd);
    std::printf("first_paint_ms: %.1f\n", painted - shown);
    std::printf("total_ms: %.1f\n", toMain + painted - start);
    if (argc > 1) DumpTree(argv[1], *Freader);
    std::fflush(stdout);
    delete Freader;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench-startup-phases: %s\n", e.what());
        return 1;
    }
}
