// Forms, the screen's list of them, the application object and the class
// library's message boxes.
// Application->CreateForm reads a form from its stored description: the
// program's RCDATA resource named after the form's class in upper case
// ("TFREADER"). Application->Run shows the main form, runs the message loop
// until Terminate (closing the main form), then frees every form.
#pragma once

#include "Controls.h"
#include "Menus.h"

#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter };
extern const TEnumInfo kPositionInfo;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
extern const TEnumInfo kBorderIconInfo;
using TBorderIcons = uint32_t;  // bit n for TBorderIcon n

// A top-level window with the default resizable frame and the program's icon
// (the module's icon group "MAINICON", if it has one). Width and Height are
// the outer size. Closing the main form ends the application; closing any
// other form hides it.
//
// Freeing: the base destructors destroy the window and the owned components
// only after a derived form's own members are gone, yet those components'
// handlers are bound to the derived form. So a form is freed with Free,
// Release or by its owner (the application), which take the window and the
// components apart first; a plain delete is safe only for a form whose
// destructor begins with DestroyHandle() and DestroyComponents().
class TCustomForm : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    TPosition Position() const noexcept { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    TBorderIcons BorderIcons() const noexcept { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value) { FBorderIcons = value; }
    // The menu bar. The window shows the menu's one HMENU; WM_COMMAND of its
    // items runs their Click, WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR of
    // owner-drawn items reach them. Cleared when the menu is freed. One form
    // per menu.
    TMainMenu* Menu() const noexcept { return FMenu; }
    void SetMenu(TMainMenu* Value);

    // OnShow runs each time the form goes from hidden to shown, before the
    // window appears. A description that sets Visible shows the form only
    // once it has been read completely.
    void Show();
    void Close();
    // Frees the form once no message of any control is being handled any
    // more, however deeply nested (a message box inside a handler).
    void Release();
    // Frees the form now: its window, then its components, then the object.
    // Not from inside a message of the form or its controls (use Release).
    void Free();

    TNotifyEvent OnShow;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void VisibleChanged() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
    // Menu messages of the window: true when the menu took the message.
    bool MenuMessage(TMessage& Message);
    // On activation: the focus back where it was, or to the first tab stop.
    bool RestoreFocus();
    // Tab offered by the focused control and its parents: true when taken.
    bool DialogKey(WPARAM Key);
    // Frees the forms whose release is due; the window procedure calls it
    // when no control message is being handled.
    static void FreeReleased();

    bool FReleased = false;
    bool FPlaced = false;
    HWND FLastFocus = nullptr;
    TMainMenu* FMenu = nullptr;
    TPosition FPosition = TPosition::poDesigned;
    TBorderIcons FBorderIcons = (1u << biSystemMenu) | (1u << biMinimize) | (1u << biMaximize);
};

class TForm : public TCustomForm {
public:
    DECLARE_CLASS_INFO()
    using TCustomForm::TCustomForm;
};

// The application's forms in the order they were made. A form is listed from
// its constructor until the first thing its destructor does.
class TScreen {
public:
    int FormCount() const noexcept { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int Index) const { return FForms.at(static_cast<size_t>(Index)); }

private:
    friend class TCustomForm;
    std::vector<TCustomForm*> FForms;
};

extern TScreen* Screen;

// Every message box of the class library goes through one function, which a
// test may replace to record text, caption and flags and give the answer.
// An empty hook restores the real MessageBoxW.
using TMessageBoxHook = std::function<int(HWND Owner, const std::wstring& Text, const std::wstring& Caption, UINT Flags)>;
void SetMessageBoxHook(TMessageBoxHook Hook);
// Text and Caption are 8-bit GB2312.
int AppMessageBox(HWND Owner, std::string_view Text, std::string_view Caption, UINT Flags);
// MB_OK box with the application title.
void ShowMessage(std::string_view Text);

// Reads Root from the RCDATA resource named after its class (upper case).
// Raises EReadError when there is none or it is malformed.
void ReadFormResource(TComponent& Root);

class TApplication : public TComponent {
public:
    DECLARE_CLASS_INFO()
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // Registers the class library's classes and constants for descriptions,
    // loads the common controls and installs the default error box as the
    // handler of exceptions raised inside window procedures.
    void Initialize();

    // Creates a T owned by the application and reads its stored description;
    // the first form created is the main form. On failure nothing is left.
    template <class T>
    void CreateForm(T*& Reference)
    {
        T* form = new T(this);
        try {
            ReadFormResource(*form);
        } catch (...) {
            form->Free();
            throw;
        }
        Reference = form;
        if (FMainForm == nullptr) FMainForm = form;
    }

    TCustomForm* MainForm() const noexcept { return FMainForm; }
    void Run();
    void Terminate();
    bool Terminated() const noexcept { return FTerminated; }
    // Handles every message waiting, then returns.
    void ProcessMessages();
    // Waits for one message and handles it.
    void HandleMessage();

    // Empty unless set; message boxes then use the program's file name
    // without its extension.
    std::string Title() const;
    void SetTitle(const std::string& value) { FTitle = value; }

    // The default error box: the exception's text, MB_OK with the stop icon,
    // the application title.
    void ShowException(std::exception_ptr Error);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool ProcessMessage(MSG& Msg);
    // Frees every owned component, forms the way Free does.
    void FreeComponents();

    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    std::string FTitle;
};

extern TApplication* Application;
