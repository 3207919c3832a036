// tools/bench adapters, the program: the English main window made and
// skinned as the program does it, and what the control adapters cost its
// controls against the same controls without them. Prints `key: value` lines.
#include "classlib/ComCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "console/Ureader.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/SkinControl.h"
#include "skin/adapters/SkinEdit.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

constexpr int TextMessages = 100000;

const char* AdapterName(const TSkinControl& Adapter)
{
    return dynamic_cast<const TSkinEdit*>(&Adapter) != nullptr ? "the edit box's own" : "another";
}
constexpr int Rounds = 25;

double NowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + TimeoutMs;
    while (!Done()) {
        if (::GetTickCount64() >= deadline) return false;
        Application->ProcessMessages();
        ::MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return true;
}

void Line(const char* Key, double Value, int Decimals)
{
    std::printf("%s: %.*f\n", Key, Decimals, Value);
}

// The edit box's adapter, made by the dispatch; null when it made none.
TSkinControl* SkinEdit(TWinSkinForm& Frame, TEdit& Edit)
{
    ::SendMessageW(Frame.Handle(), WM_SKIN_ACTIVATE, 0, SkinActivateParam);
    return Frame.FindControl(&Edit);
}

double MessagesMs(HWND Window)
{
    const double start = NowMs();
    for (int i = 0; i < TextMessages; ++i) ::SendMessageW(Window, WM_GETTEXTLENGTH, 0, 0);
    return NowMs() - start;
}

constexpr int TypedCharacters = 500;

// Characters typed into the edit box, each shown before the next.
double TypingMs(HWND Window)
{
    ::SetWindowTextW(Window, L"");
    const double start = NowMs();
    for (int i = 0; i < TypedCharacters; ++i) {
        ::SendMessageW(Window, WM_CHAR, L'a' + i % 26, 1);
        ::UpdateWindow(Window);
    }
    return NowMs() - start;
}

// The edit box with and without its adapter, in turns: WM_GETTEXTLENGTH (what
// an adapter adds to every message) and typing with repaint; the best round
// of each counts.
int MeasureEdit(TWinSkinForm& Frame, TEdit& Edit)
{
    const HWND window = Edit.Handle();
    double skinned = 1e300, native = 1e300, typedSkinned = 1e300, typedNative = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        if (TSkinControl* adapter = Frame.FindControl(&Edit)) adapter->Free();
        native = std::min(native, MessagesMs(window));
        typedNative = std::min(typedNative, TypingMs(window));
        if (SkinEdit(Frame, Edit) == nullptr) {
            std::printf("error: the edit box cannot be skinned\n");
            return 1;
        }
        skinned = std::min(skinned, MessagesMs(window));
        typedSkinned = std::min(typedSkinned, TypingMs(window));
    }
    Line("adapters_gettextlength_native_ns", native * 1e6 / TextMessages, 0);
    Line("adapters_gettextlength_skinned_ns", skinned * 1e6 / TextMessages, 0);
    Line("adapters_gettextlength_ratio", skinned / native, 2);
    std::printf("adapters_gettextlength_adapter: %s\n", AdapterName(*Frame.FindControl(&Edit)));
    Line("adapters_edit_typing_native_ms", typedNative, 1);
    Line("adapters_edit_typing_skinned_ms", typedSkinned, 1);
    Line("adapters_edit_typing_ratio", typedSkinned / typedNative, 2);
    return 0;
}

constexpr int Repaints = 40;

double RepaintsMs(HWND Window)
{
    const double start = NowMs();
    for (int i = 0; i < Repaints; ++i)
        ::RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return NowMs() - start;
}

// The page control (tab strip and pane; its pages are windows of their own)
// repainted with its adapter's painting on and off, in turns; the best round
// of each counts.
int MeasurePageRepaint(TWinSkinForm& Frame, TPageControl& Pages)
{
    const HWND window = Pages.Handle();
    if (Frame.FindControl(&Pages) == nullptr) {
        std::printf("error: the page control has no adapter\n");
        return 1;
    }
    double skinned = 1e300, native = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        ::SendMessageW(window, WM_SKIN_PAINTON, 0, 0);
        native = std::min(native, RepaintsMs(window));
        ::SendMessageW(window, WM_SKIN_PAINTON, 1, 0);
        skinned = std::min(skinned, RepaintsMs(window));
    }
    Line("adapters_page_repaint_native_us", native * 1e3 / Repaints, 0);
    Line("adapters_page_repaint_skinned_us", skinned * 1e3 / Repaints, 0);
    Line("adapters_page_repaint_ratio", skinned / native, 2);
    return 0;
}

}  // namespace

int main()
{
    InitSkinManagerUnit();
    Application->Initialize();
    RegisterConsoleClasses();
    Application->CreateForm(Freader);
    const HWND window = Freader->Handle();
    Freader->Show();
    const auto skinned = [window] {
        const TWinSkinForm* frame = FindSkinForm(window);
        return frame != nullptr && frame->SkinState() == ssActive;
    };
    if (!PumpUntil(skinned, 20000)) {
        std::printf("error: the main window was not skinned\n");
        return 1;
    }
    TWinSkinForm& frame = *FindSkinForm(window);
    int status = MeasureEdit(frame, *Freader->Edit1);
    if (status == 0) status = MeasurePageRepaint(frame, *Freader->PageControl1);
    std::fflush(stdout);
    return status;
}
