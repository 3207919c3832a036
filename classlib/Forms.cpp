#include "Forms.h"

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExceptionHook.h"
#include "ExtCtrls.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "Text.h"
#include "Timers.h"
#include "classlib/portable/DescriptionReader.h"
#include "classlib/portable/TypInfo.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

const TEnumInfo kPositionInfo("TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                            "poScreenCenter", "poDesktopCenter"});
const TEnumInfo kBorderIconInfo("TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});

namespace {

TMessageBoxHook& Hook()
{
    static TMessageBoxHook hook;
    return hook;
}

// Forms whose CM_RELEASE has arrived, waiting for the end of every message.
std::vector<TCustomForm*> gReleased;

// Made on first use, so that forms made before this file's statics are
// initialised find it.
TScreen& TheScreen()
{
    static TScreen screen;
    return screen;
}

} // namespace

TScreen* Screen = &TheScreen();

void SetMessageBoxHook(TMessageBoxHook NewHook)
{
    Hook() = std::move(NewHook);
}

int AppMessageBox(HWND Owner, std::string_view Text, std::string_view Caption, UINT Flags)
{
    const std::wstring text = TextToWide(Text), caption = TextToWide(Caption);
    if (Hook()) return Hook()(Owner, text, caption, Flags);
    return MessageBoxW(Owner, text.c_str(), caption.c_str(), Flags);
}

void ShowMessage(std::string_view Text)
{
    AppMessageBox(GetActiveWindow(), Text, Application->Title(), MB_OK);
}

void ReadFormResource(TComponent& Root)
{
    std::wstring name;
    for (char c : Root.ClassName()) name += static_cast<wchar_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC res = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    const HGLOBAL data = res != nullptr ? LoadResource(module, res) : nullptr;
    const void* bytes = data != nullptr ? LockResource(data) : nullptr;
    if (bytes == nullptr) throw EReadError("no stored description for " + std::string(Root.ClassName()));
    ReadDescription(Root, std::string_view(static_cast<const char*>(bytes), SizeofResource(module, res)));
}

// --- forms

const TClassInfo& TCustomForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCustomForm>("TCustomForm", TWinControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TForm::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TForm>("TForm", TCustomForm::StaticClassInfo())
            .Creatable()
            .String("Caption", &TForm::Caption, &TForm::SetCaption)
            .Enumeration("Position", kPositionInfo, &TForm::Position, &TForm::SetPosition)
            .SetOf("BorderIcons", kBorderIconInfo, &TForm::BorderIcons, &TForm::SetBorderIcons)
            .Component<TMainMenu>("Menu", &TForm::Menu, &TForm::SetMenu)
            .Event("OnShow", &TForm::OnShow)
            .Build();
    return info;
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    FVisible = false;
    SetBounds(0, 0, 320, 240);
    TheScreen().FForms.push_back(this);
}

TCustomForm::~TCustomForm()
{
    // A window still here is destroyed by the base destructor, past this
    // class's message handling: it must not take the menu's HMENU along.
    SetMenu(nullptr);
    auto& forms = TheScreen().FForms;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    gReleased.erase(std::remove(gReleased.begin(), gReleased.end(), this), gReleased.end());
    if (Application != nullptr && Application->MainForm() == this) Application->Terminate();
}

void TCustomForm::Free()
{
    DestroyHandle();
    DestroyComponents();
    delete this;
}

void TCustomForm::FreeReleased()
{
    while (!gReleased.empty()) {
        TCustomForm* form = gReleased.back();
        gReleased.pop_back();
        form->Free();
    }
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN;
    if (FBorderIcons & (1u << biSystemMenu)) Params.Style |= WS_SYSMENU;
    if (FBorderIcons & (1u << biMinimize)) Params.Style |= WS_MINIMIZEBOX;
    if (FBorderIcons & (1u << biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
    if (!Enabled()) Params.Style |= WS_DISABLED;
    Params.ExStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
    if (FPosition == TPosition::poDefault || FPosition == TPosition::poDefaultPosOnly) Params.X = Params.Y = CW_USEDEFAULT;
    // Made with its menu bar, so the window is not resized afterwards.
    if (FMenu != nullptr) Params.Menu = FMenu->Handle();
}

namespace {

// The program's icon at a system icon size, or none when the module has no
// icon group "MAINICON". Shared icons stay with the module: nothing to free.
HICON ProgramIcon(int SizeMetric)
{
    const int size = GetSystemMetrics(SizeMetric);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, LR_SHARED));
}

} // namespace

void TCustomForm::CreateWnd()
{
    if (FMenu != nullptr) FMenu->SetWindowHandle(WindowHandle());
    // For the title (a skinned one reads it with WM_GETICON), the taskbar and Alt+Tab.
    for (const auto& [kind, metric] : {std::pair(ICON_BIG, SM_CXICON), std::pair(ICON_SMALL, SM_CXSMICON)})
        if (HICON icon = ProgramIcon(metric))
            SendMessageW(WindowHandle(), WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    TWinControl::CreateWnd();
}

void TCustomForm::SetMenu(TMainMenu* Value)
{
    if (Value == FMenu) return;
    if (FMenu != nullptr) {
        FMenu->RemoveFreeNotification(this);
        if (HandleAllocated() && ::GetMenu(WindowHandle()) == FMenu->Handle()) ::SetMenu(WindowHandle(), nullptr);
        FMenu->SetWindowHandle(nullptr);
    }
    FMenu = Value;
    if (FMenu == nullptr) return;
    FMenu->FreeNotification(this);
    if (HandleAllocated()) {
        FMenu->SetWindowHandle(WindowHandle());
        if (!::SetMenu(WindowHandle(), FMenu->Handle())) throw EOutOfResources("cannot set the form's menu", GetLastError());
    }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent != nullptr && AComponent == FMenu) {
        // The menu took its HMENU out of the window already; a skin that
        // shows the menu itself learns of it here.
        FMenu = nullptr;
        if (HandleAllocated()) {
            DrawMenuBar(WindowHandle());
            SendMessageW(WindowHandle(), CM_MENUCHANGED, 0, 0);
        }
    }
}

bool TCustomForm::MenuMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_COMMAND:
        // A menu's command comes with a zero notification code and no control.
        if (HIWORD(Message.WParam) != 0 || Message.LParam != 0) return false;
        return FMenu->DispatchCommand(LOWORD(Message.WParam));
    case WM_DRAWITEM:
        // Menus send no control identifier.
        if (Message.WParam != 0 || Message.LParam == 0 ||
            !FMenu->DispatchDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam)))
            return false;
        Message.Result = TRUE;
        return true;
    case WM_MEASUREITEM:
        if (Message.WParam != 0 || Message.LParam == 0 ||
            !FMenu->DispatchMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam)))
            return false;
        Message.Result = TRUE;
        return true;
    case WM_MENUCHAR:
        return FMenu->DispatchMenuChar(LOWORD(Message.WParam), reinterpret_cast<HMENU>(Message.LParam), Message.Result);
    case CM_MENUCHANGED:
        // The menu changed in place; the window shows it again if someone
        // took it out, and redraws the bar.
        if (::GetMenu(WindowHandle()) == FMenu->Handle()) DrawMenuBar(WindowHandle());
        else if (!::SetMenu(WindowHandle(), FMenu->Handle()))
            throw EOutOfResources("cannot give the form its menu again", GetLastError());
        Message.Result = 0;
        return true;
    case WM_SETTINGCHANGE:
        MenuMetricsChanged();
        return false;
    case WM_DESTROY:
        // A window frees the menu it holds; this one belongs to the menu.
        if (::GetMenu(WindowHandle()) == FMenu->Handle()) ::SetMenu(WindowHandle(), nullptr);
        FMenu->SetWindowHandle(nullptr);
        return false;
    default:
        return false;
    }
}

void TCustomForm::Show()
{
    SetVisible(true);
    if (HandleAllocated()) SetForegroundWindow(WindowHandle());
}

void TCustomForm::Close()
{
    if (Application != nullptr && Application->MainForm() == this) Application->Terminate();
    else Hide();
}

void TCustomForm::Release()
{
    if (!HandleAllocated()) return;
    FReleased = true;
    PostMessageW(WindowHandle(), CM_RELEASE, 0, 0);
}

void TCustomForm::VisibleChanged()
{
    // Loaded shows the form once the whole description is read.
    if (InState(csLoading)) return;
    if (!Visible()) {
        if (HandleAllocated()) ShowWindow(WindowHandle(), SW_HIDE);
        return;
    }
    // Placed before the window is made, so it is made there and not moved.
    if (!FPlaced) {
        FPlaced = true;
        if (FPosition == TPosition::poScreenCenter || FPosition == TPosition::poDesktopCenter)
            SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2,
                      Width(), Height());
    }
    const HWND wnd = Handle();
    if (OnShow) OnShow(this);
    // OnShow may have hidden the form again.
    if (Visible()) ShowWindow(wnd, SW_SHOWNORMAL);
}

void TCustomForm::Loaded()
{
    TWinControl::Loaded();
    if (Visible()) VisibleChanged();
}

void TCustomForm::WndProc(TMessage& Message)
{
    if (FMenu != nullptr && MenuMessage(Message)) return;
    switch (Message.Msg) {
    case CM_RELEASE:
        // Only our own Release frees the form; the message number is no secret.
        if (FReleased && std::find(gReleased.begin(), gReleased.end(), this) == gReleased.end())
            gReleased.push_back(this);
        Message.Result = 0;
        return;
    case WM_CLOSE:
        Close();
        Message.Result = 0;
        return;
    case WM_ACTIVATE:
        if (LOWORD(Message.WParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(WindowHandle(), focus)) FLastFocus = focus;
        } else if (HIWORD(Message.WParam) == 0 && RestoreFocus()) {
            Message.Result = 0;
            return;
        }
        break;
    case CM_DIALOGKEY:
        if (DialogKey(Message.WParam)) {
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

bool TCustomForm::RestoreFocus()
{
    // The focus returns to the control that had it when the window was left;
    // if that one was disabled or hidden meanwhile, to the tab stop after it.
    const HWND last = FLastFocus;
    if (last != nullptr && IsWindow(last) && IsChild(WindowHandle(), last)) {
        TWinControl* control = nullptr;
        for (HWND w = last; w != nullptr && control == nullptr && w != WindowHandle(); w = GetParent(w))
            control = FindControl(w);
        if (control == nullptr || control->CanFocus()) {
            ::SetFocus(last);
            return true;
        }
        return SelectNext(control, true);
    }
    // Shown for the first time: the first tab stop.
    return SelectNext(nullptr, true);
}

bool TCustomForm::DialogKey(WPARAM Key)
{
    // Tab and Shift+Tab (Ctrl too, as in a dialog, once no page control took
    // it) move through the tab stops; arrows are the radio buttons' own.
    if (Key != VK_TAB || GetKeyState(VK_MENU) < 0) return false;
    SelectNext(FocusedDescendant(), GetKeyState(VK_SHIFT) >= 0);
    return true;
}

// --- the application

const TClassInfo& TApplication::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TApplication>("TApplication", TComponent::StaticClassInfo()).Build();
    return info;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication()
{
    FreeComponents();
}

void TApplication::FreeComponents()
{
    while (ComponentCount() > 0) {
        TComponent* last = Components(ComponentCount() - 1);
        if (auto* form = dynamic_cast<TCustomForm*>(last)) form->Free();
        else delete last;
    }
}

namespace {

TApplication& TheApplication()
{
    // The screen is made first so that it outlives the forms the application
    // frees when the program ends.
    TheScreen();
    static TApplication app(nullptr);
    return app;
}

void DefaultErrorBox(std::exception_ptr error)
{
    Application->ShowException(error);
}

bool IsNavigationKey(WPARAM Key)
{
    return Key == VK_TAB || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
}

// Whether the window with the focus handles this key itself (an edit its
// arrows, a memo that wants tabs its Tab).
bool WantsKey(const MSG& Msg)
{
    const LRESULT mask = (Msg.wParam == VK_TAB ? DLGC_WANTTAB : DLGC_WANTARROWS) | DLGC_WANTMESSAGE;
    return (SendMessageW(Msg.hwnd, WM_GETDLGCODE, Msg.wParam, reinterpret_cast<LPARAM>(&Msg)) & mask) != 0;
}

// Sent, not performed: a control's handler may raise or run user code, and
// the window procedure is where that is stopped.
bool OfferDialogKey(const MSG& Msg, HWND Root)
{
    if (Msg.message != WM_KEYDOWN || !IsNavigationKey(Msg.wParam)) return false;
    // Ctrl+Tab switches pages even from a control that takes Tab presses.
    const bool ctrlTab = Msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0;
    if (!ctrlTab && Msg.hwnd != Root && WantsKey(Msg)) return false;
    for (HWND w = Msg.hwnd; w != nullptr; w = w == Root ? nullptr : GetParent(w))
        if (FindControl(w) != nullptr && SendMessageW(w, CM_DIALOGKEY, Msg.wParam, Msg.lParam) != 0) return true;
    return false;
}

} // namespace

TApplication* Application = &TheApplication();

void TApplication::Initialize()
{
    RegisterGraphicsConstants();
    RegisterComponentClass(TForm::StaticClassInfo());
    RegisterStdControls();
    RegisterButtons();
    RegisterExtControls();
    RegisterComControls();
    RegisterTimers();
    RegisterMenus();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES |
                                                   ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    SetExceptionHandler(DefaultErrorBox);
}

void TApplication::Run()
{
    FTerminated = false;
    if (FMainForm != nullptr) FMainForm->Show();
    while (!FTerminated) HandleMessage();
    // The loop is over: the forms go with their components, outside any message.
    FreeComponents();
    FMainForm = nullptr;
}

void TApplication::Terminate()
{
    if (!FTerminated) PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& Msg)
{
    if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    // Tab and arrow keys move between the controls of our windows, in the
    // class library's tab order; what the controls leave goes to the
    // system's dialog handling (Return, Escape, the other arrows).
    const HWND root = Msg.hwnd != nullptr ? GetAncestor(Msg.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && FindControl(root) != nullptr) {
        if (OfferDialogKey(Msg, root)) return true;
        // An Alt+letter in a window inside a control (a combo box's edit)
        // counts as typed in the control, which offers it to its form.
        if (Msg.message == WM_SYSCHAR) {
            HWND w = Msg.hwnd;
            while (w != nullptr && w != root && FindControl(w) == nullptr) w = GetParent(w);
            if (w != nullptr) Msg.hwnd = w;
        }
        if (IsDialogMessageW(root, &Msg)) return true;
    }
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
        if (FTerminated) break;
    }
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg)) WaitMessage();
}

std::string TApplication::Title() const
{
    if (!FTitle.empty()) return FTitle;
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, n);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return WideToText(name);
}

void TApplication::ShowException(std::exception_ptr Error)
{
    std::string text = "unknown error";
    try {
        std::rethrow_exception(Error);
    } catch (const Exception& e) {
        text = e.Message();
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
    }
    AppMessageBox(GetActiveWindow(), text, Title(), MB_OK | MB_ICONSTOP);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FMainForm) FMainForm = nullptr;
}
