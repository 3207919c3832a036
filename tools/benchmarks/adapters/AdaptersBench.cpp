// tools/bench adapters, the program: the English main window made and
// skinned as the program does it, and what the control adapters cost its
// controls against the same controls without them. Each figure is taken
// skinned and native in every round, its ratio within the round; each prints
// as its least, median and greatest over the rounds. Prints `key: value` lines.
#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "console/Ureader.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/SkinControl.h"
#include "skin/adapters/SkinScrollbar.h"
#include "skin/adapters/SkinEdit.h"
#include "skin/adapters/SkinList.h"
#include "skin/adapters/SkinSpeedButton.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "tests/support/TestListView.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

// One figure of a control, taken with its adapter and without in every round.
struct TRounds {
    std::vector<double> Native, Skinned;
};

// NAME_min_UNIT, NAME_median_UNIT and NAME_max_UNIT of Values, each times
// Scale (no unit: NAME_min and so on).
void PrintSpread(const std::string& Name, const char* Unit, std::vector<double> Values, double Scale, int Decimals)
{
    if (Values.empty()) return;
    std::sort(Values.begin(), Values.end());
    const std::pair<const char*, double> stats[] = {
        {"min", Values.front()}, {"median", Values[Values.size() / 2]}, {"max", Values.back()}};
    for (const auto& [stat, value] : stats) {
        const std::string key = Name + "_" + stat + (*Unit != 0 ? std::string("_") + Unit : "");
        std::printf("%s: %.*f\n", key.c_str(), Decimals, value * Scale);
    }
}

// PREFIX_native_*, PREFIX_skinned_* and PREFIX_ratio_*, the ratio skinned
// over native taken within each round.
void PrintRounds(const std::string& Prefix, const char* Unit, const TRounds& R, double Scale, int Decimals)
{
    std::vector<double> ratio;
    for (size_t i = 0; i < R.Native.size() && i < R.Skinned.size(); ++i)
        ratio.push_back(R.Native[i] > 0 ? R.Skinned[i] / R.Native[i] : 0.0);
    PrintSpread(Prefix + "_native", Unit, R.Native, Scale, Decimals);
    PrintSpread(Prefix + "_skinned", Unit, R.Skinned, Scale, Decimals);
    PrintSpread(Prefix + "_ratio", "", ratio, 1, 2);
}

// The edit box's adapter, made by the dispatch; null when it made none.
TSkinControl* SkinEdit(TWinSkinForm& Frame, TEdit& Edit)
{
    ::SendMessageW(Frame.Handle(), WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
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
// an adapter adds to every message) and typing with repaint.
int MeasureEdit(TWinSkinForm& Frame, TEdit& Edit)
{
    const HWND window = Edit.Handle();
    TRounds messages, typing;
    for (int round = 0; round < Rounds; ++round) {
        if (TSkinControl* adapter = Frame.FindControl(&Edit)) adapter->Free();
        messages.Native.push_back(MessagesMs(window));
        typing.Native.push_back(TypingMs(window));
        if (SkinEdit(Frame, Edit) == nullptr) {
            std::printf("error: the edit box cannot be skinned\n");
            return 1;
        }
        messages.Skinned.push_back(MessagesMs(window));
        typing.Skinned.push_back(TypingMs(window));
    }
    PrintRounds("adapters_gettextlength", "ns", messages, 1e6 / TextMessages, 0);
    std::printf("adapters_gettextlength_adapter: %s\n", AdapterName(*Frame.FindControl(&Edit)));
    PrintRounds("adapters_edit_typing", "ms", typing, 1, 1);
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
// repainted with its adapter's painting on and off, in turns.
int MeasurePageRepaint(TWinSkinForm& Frame, TPageControl& Pages)
{
    const HWND window = Pages.Handle();
    if (Frame.FindControl(&Pages) == nullptr) {
        std::printf("error: the page control has no adapter\n");
        return 1;
    }
    TRounds repaint;
    for (int round = 0; round < Rounds; ++round) {
        ::SendMessageW(window, WM_SKIN_PAINTON, 0, 0);
        repaint.Native.push_back(RepaintsMs(window));
        ::SendMessageW(window, WM_SKIN_PAINTON, 1, 0);
        repaint.Skinned.push_back(RepaintsMs(window));
    }
    PrintRounds("adapters_page_repaint", "us", repaint, 1e3 / Repaints, 0);
    return 0;
}

constexpr int Switches = 100;
constexpr int SwitchRounds = 10;

// The page control switched to its next sheet Switches times, each switch
// painted before the next.
double SwitchesMs(TPageControl& Pages)
{
    const HWND window = Pages.Handle();
    const double start = NowMs();
    for (int i = 0; i < Switches; ++i) {
        Pages.SetActivePage(Pages.Pages((Pages.ActivePageIndex() + 1) % Pages.PageCount()));
        ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    return NowMs() - start;
}

// The whole window unskinned or skinned again, as the skin component asks for it.
bool RunSkinAction(HWND Window, TSkinAction Action)
{
    SkinManager->SetActionSkinData(Freader->SkinData1);
    SkinManager->PostAction(Action, 10000);
    SkinManager->DoAction(nullptr);
    const auto done = [Window, Action] {
        const TWinSkinForm* frame = FindSkinForm(Window);
        return Action == saUnskinAll ? frame == nullptr : frame != nullptr && frame->SkinState() == ssActive;
    };
    return PumpUntil(done, 10000);
}

// Sheet switches of the main window skinned and unskinned, in turns.
int MeasurePageSwitch(HWND Window, TPageControl& Pages)
{
    TRounds switches;
    for (int round = 0; round < SwitchRounds; ++round) {
        switches.Skinned.push_back(SwitchesMs(Pages));
        if (!RunSkinAction(Window, saUnskinAll)) {
            std::printf("error: the main window was not unskinned\n");
            return 1;
        }
        switches.Native.push_back(SwitchesMs(Pages));
        if (!RunSkinAction(Window, saSkinAll)) {
            std::printf("error: the main window was not skinned again\n");
            return 1;
        }
    }
    PrintRounds("adapters_page_switch", "ms", switches, 1, 1);
    return 0;
}

// Buttons, check boxes, radio buttons: a 101 x 25 bit button repainted, and
// every check box of the window toggled and repainted, with their adapters'
// painting on and off in turns.
void PaintOn(const std::vector<HWND>& Windows, bool On)
{
    for (HWND w : Windows) ::SendMessageW(w, WM_SKIN_PAINTON, On ? 1 : 0, 0);
}

int MeasureButtons(TWinSkinForm& Frame, TBitBtn& Button)
{
    std::vector<TCheckBox*> boxes;
    std::vector<HWND> boxWindows;
    for (int i = 0; i < Freader->ComponentCount(); ++i)
        if (auto* box = dynamic_cast<TCheckBox*>(Freader->Components(i))) {
            if (Frame.FindControl(box) == nullptr) {
                std::printf("error: a check box has no adapter\n");
                return 1;
            }
            boxes.push_back(box);
            boxWindows.push_back(box->Handle());
        }
    if (Frame.FindControl(&Button) == nullptr) {
        std::printf("error: the bit button has no adapter\n");
        return 1;
    }
    const HWND button = Button.Handle();
    const auto toggleAll = [&boxes] {
        const double start = NowMs();
        for (int pass = 0; pass < 2; ++pass)
            for (TCheckBox* box : boxes) {
                box->SetChecked(!box->Checked());
                ::RedrawWindow(box->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            }
        return NowMs() - start;
    };
    TRounds buttonRepaint, toggles;
    for (int round = 0; round < Rounds; ++round) {
        PaintOn({button}, false);
        PaintOn(boxWindows, false);
        buttonRepaint.Native.push_back(RepaintsMs(button));
        toggles.Native.push_back(toggleAll());
        PaintOn({button}, true);
        PaintOn(boxWindows, true);
        buttonRepaint.Skinned.push_back(RepaintsMs(button));
        toggles.Skinned.push_back(toggleAll());
    }
    PrintRounds("adapters_bitbtn_repaint", "us", buttonRepaint, 1e3 / Repaints, 0);
    std::printf("adapters_checkbox_count: %zu\n", boxes.size());
    PrintRounds("adapters_checkbox_toggle", "us", toggles, 1e3 / (2.0 * static_cast<double>(boxes.size())), 0);
    return 0;
}

// Ten 36 x 25 speed buttons on a panel of the main window: the panel
// repainted (it paints the buttons) with their adapters' painting on and off,
// in turns.
int MeasureSpeedButtons(TWinSkinForm& Frame)
{
    const std::unique_ptr<TPanel> panel = std::make_unique<TPanel>(nullptr);
    panel->SetParent(Freader);
    panel->SetBounds(0, 0, 390, 40);
    std::vector<TSpeedButton*> buttons;
    for (int i = 0; i < 10; ++i) {
        auto* button = new TSpeedButton(panel.get());
        button->SetParent(panel.get());
        button->SetBounds(4 + 38 * i, 8, 36, 25);
        button->SetCaption("sb" + std::to_string(i));
        if (!(new TSkinSpeedButton(button))->InitSpeedButton(&Frame, Frame.SkinData())) {
            std::printf("error: a speed button cannot be skinned\n");
            return 1;
        }
        buttons.push_back(button);
    }
    const HWND window = panel->Handle();
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const auto paintOn = [&buttons](bool On) {
        for (TSpeedButton* button : buttons) button->Perform(WM_SKIN_PAINTON, On ? 1 : 0);
    };
    TRounds repaint;
    for (int round = 0; round < Rounds; ++round) {
        paintOn(false);
        repaint.Native.push_back(RepaintsMs(window));
        paintOn(true);
        repaint.Skinned.push_back(RepaintsMs(window));
    }
    PrintRounds("adapters_speedbuttons_repaint", "us", repaint, 1e3 / Repaints, 0);
    return 0;
}

// The memo's scroll-bar adapter, made anew when it was taken off.
bool SkinMemo(TWinSkinForm& Frame, TMemo& Memo)
{
    if (Frame.FindControl(&Memo) != nullptr) return true;
    auto* adapter = new TSkinScrollbar(&Memo);
    if (adapter->InitSkin(&Frame, Frame.SkinData(), false)) return true;
    adapter->Free();
    return false;
}

void UnskinMemo(TWinSkinForm& Frame, TMemo& Memo)
{
    if (TSkinControl* adapter = Frame.FindControl(&Memo)) {
        adapter->Unskin();
        adapter->Free();
    }
}

void PumpAll()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

constexpr int MemoLines = 10000;
constexpr int AddedLines = 200;
constexpr int MemoRounds = 5;

// Lines added to a memo already holding MemoLines, each shown (the memo and
// its bar repainted) before the next, as the console's log does.
double AddLinesMs(TMemo& Memo)
{
    std::string text;
    for (int i = 0; i < MemoLines; ++i) text += "30 32 30 31 30 30 30 30 42 43 36 31 34 45 0D 0A\r\n";
    Memo.SetText(text);
    PumpAll();
    const double start = NowMs();
    for (int i = 0; i < AddedLines; ++i) {
        Memo.Lines()->Add("30 32 30 31 30 30 30 37 35 42 43 44 31 35 0D 0A");
        PumpAll();
    }
    return NowMs() - start;
}

int MeasureMemoAdd(TWinSkinForm& Frame, TMemo& Memo)
{
    TRounds adds;
    for (int round = 0; round < MemoRounds; ++round) {
        UnskinMemo(Frame, Memo);
        adds.Native.push_back(AddLinesMs(Memo));
        if (!SkinMemo(Frame, Memo)) {
            std::printf("error: the memo cannot be skinned\n");
            return 1;
        }
        adds.Skinned.push_back(AddLinesMs(Memo));
    }
    PrintRounds("adapters_memo_add_10000", "us", adds, 1e3 / AddedLines, 0);
    return 0;
}

constexpr int DragSteps = 300;

// Thumb-drag steps: what the system's tracking sends the memo for each move
// of the cursor (a thumb-track request), shown before the next step.
double DragStepsPerSecond(TMemo& Memo)
{
    const HWND window = Memo.Handle();
    SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    ::GetScrollInfo(window, SB_VERT, &si);
    const int span = std::max(si.nMax - si.nMin, 1);
    const double start = NowMs();
    for (int i = 0; i < DragSteps; ++i) {
        const int position = si.nMin + span * (i % 100) / 100;
        ::SendMessageW(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
        PumpAll();
    }
    ::SendMessageW(window, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    PumpAll();
    return DragSteps * 1000.0 / (NowMs() - start);
}

int MeasureThumbDrag(TWinSkinForm& Frame, TMemo& Memo)
{
    TRounds drag;
    for (int round = 0; round < MemoRounds; ++round) {
        UnskinMemo(Frame, Memo);
        drag.Native.push_back(DragStepsPerSecond(Memo));
        if (!SkinMemo(Frame, Memo)) return 1;
        drag.Skinned.push_back(DragStepsPerSecond(Memo));
    }
    PrintRounds("adapters_thumb_drag", "steps_per_s", drag, 1, 0);
    return 0;
}

// --- list view: page scrolls of a 1,000-row report list, with its adapter
// (scroll-bar covers and header) and without, in turns.
constexpr int ListRows = 1000;
constexpr int PageScrolls = 100;

// Half the scrolls down, half back up (the list is longer than 50 pages),
// each shown, covers included, before the next.
double PageScrollsMs(TTestListView& List)
{
    const HWND window = List.Handle();
    ::SendMessageW(window, WM_VSCROLL, SB_TOP, 0);
    PumpAll();
    const double start = NowMs();
    for (int i = 0; i < PageScrolls; ++i) {
        ::SendMessageW(window, WM_VSCROLL, i < PageScrolls / 2 ? SB_PAGEDOWN : SB_PAGEUP, 0);
        PumpAll();
    }
    return NowMs() - start;
}

int MeasureListScroll(TWinSkinForm& Frame)
{
    // Over the window's pages, left alone by the dispatch: only this benchmark skins it.
    auto* list = new TTestListView(Freader);
    list->SetTag(Freader->SkinData1->DisableTag());
    list->SetParent(Freader);
    list->SetBounds(10, 10, 400, 300);
    list->AddColumn(L"Tag", 200);
    list->AddRows(ListRows);
    TRounds scrolls;
    int status = 0;
    for (int round = 0; round < MemoRounds && status == 0; ++round) {
        scrolls.Native.push_back(PageScrollsMs(*list));
        auto* adapter = new TSkinListView(list);
        if (!adapter->InitSkin(&Frame, Frame.SkinData(), false) || adapter->Header() == nullptr) {
            std::printf("error: the list view cannot be skinned\n");
            status = 1;
        } else {
            scrolls.Skinned.push_back(PageScrollsMs(*list));
            adapter->Unskin();
        }
        adapter->Free();
    }
    delete list;
    PumpAll();
    if (status != 0) return status;
    PrintRounds("adapters_list_page_scroll", "ms", scrolls, 1, 1);
    return 0;
}

}  // namespace

// With the argument "memo" only the memo's figures are measured.
int main(int argc, char** argv)
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
    // The sheet switches unskin and skin the window again, which makes a new
    // frame object: each measurement asks for the one in force.
    const auto frame = [window]() -> TWinSkinForm& { return *FindSkinForm(window); };
    const bool memoOnly = argc > 1 && std::strcmp(argv[1], "memo") == 0;
    int status = 0;
    if (!memoOnly) {
        status = MeasureEdit(frame(), *Freader->Edit1);
        if (status == 0) status = MeasurePageRepaint(frame(), *Freader->PageControl1);
        if (status == 0) status = MeasurePageSwitch(window, *Freader->PageControl1);
        if (status == 0) status = MeasureButtons(frame(), *Freader->BitBtn1);
        if (status == 0) status = MeasureSpeedButtons(frame());
    }
    if (status == 0) status = MeasureMemoAdd(frame(), *Freader->Memo1);
    if (status == 0) status = MeasureThumbDrag(frame(), *Freader->Memo1);
    if (status == 0 && !memoOnly) status = MeasureListScroll(frame());
    std::fflush(stdout);
    return status;
}
