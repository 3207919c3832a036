// TSkinManage: the one object that decides which windows of the GUI thread
// are skinned. Its WH_CBT hook offers every activated window (and every new
// MDI child) to the window filter, which attaches one TWinSkinForm to each
// accepted window; a one-shot timer runs the pending skin action. GUI thread only.
#pragma once

#include <windows.h>

#include "classlib/Timers.h"
#include "skin/frame/FrameHost.h"
#include "skin/menus/PopupMenuHost.h"

#include <memory>
#include <string>
#include <vector>

class TControl;
class TCustomForm;
class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;
enum class TSkinDataEvent;

// The pending actions a skin component posts.
enum TSkinAction { saNone = 0, saSkinAll = 1, saUnskinAll = 2, saRefresh = 3 };
// Idle until a window of the thread is first activated.
enum TManagerState { msIdle = 0, msRunning = 1 };

class TSkinManage : public TObject, public TFrameHost, public TPopupMenuHost {
public:
    TSkinManage();
    ~TSkinManage() override;
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    void InstallHook();
    // The window filter: true when a frame object was attached.
    bool SkinWindow(HWND Window);
    void SkinForm(TCustomForm* Form);
    TSkinData* SelectSkinData(HWND Window) const;
    bool FilterWindow(HWND Window, const std::string& ClassName) const;
    static bool IsNonMDIChild(HWND Window);
    TWinSkinForm* FindForm(HWND Window) const;
    static TControl* FindLibraryForm(HWND Window);
    // Unlists Form (by identity: a window handle may have been reused).
    void RemoveForm(TWinSkinForm* Form) override;
    // Frees the frame objects whose windows are gone (one still handling a
    // message of its own goes when that handler returns).
    void PurgeForms();
    // Takes the skin off every listed window and frees the frame objects.
    void ReleaseForms();
    void AddSkinData(TSkinData* Data);
    void RemoveSkinData(TSkinData* Data);
    bool HasSkinData(const TSkinData* Data) const override;
    // Popup-menu windows ("#32768"), skinned when the menu kind about to be
    // shown is enabled; listed until the window is destroyed.
    void SkinPopupMenu(HWND Window);
    bool UnskinPopupMenu(HWND Window);
    TWinSkinPopMenu* FindPopupMenu(HWND Window) const override;
    const std::vector<TWinSkinPopMenu*>& PopupMenus() const noexcept override { return FPopupMenus; }
    // A menu-bar drop-down is open: popups skinned meanwhile carry the
    // menu-bar mark (one at a time, so no popup listed before needs it).
    bool MenuBarPopup() const noexcept { return FMenuBarPopup; }
    void SetMenuBarPopup(bool Value) noexcept override { FMenuBarPopup = Value; }
    void SetChildCaptionStyle(bool Maximized) override;
    void PostAction(TSkinAction Action, UINT Delay);
    void DoAction(TObject* Sender);
    void ClearSysButtons();
    // What a skin component tells the manager (loaded, switched, replaced, gone).
    void SkinDataEvent(TSkinData& Data, TSkinDataEvent Event);

    // The state the frame objects share with the manager.
    TManagerState State() const noexcept { return FState; }
    void SetRunning() noexcept override { FState = msRunning; }
    bool Active() const noexcept override { return FActive; }
    TMenuKind MenuKind() const noexcept { return FMenuKind; }
    void SetMenuKind(TMenuKind Kind) noexcept override { FMenuKind = Kind; }
    bool ChildMaximized() const noexcept override { return FChildMaximized; }
    HWND MDIClient() const noexcept override { return FMDIClient; }
    TControl* MDIForm() const noexcept override { return FMDIForm; }
    void SetMDIClient(HWND Client, TControl* Form) noexcept override
    {
        FMDIClient = Client;
        FMDIForm = Form;
    }
    TSkinData* ActionSkinData() const noexcept { return FActionSkinData; }
    void SetActionSkinData(TSkinData* Data) noexcept { FActionSkinData = Data; }

    const std::vector<TWinSkinForm*>& Forms() const noexcept { return FForms; }
    const std::vector<TSkinData*>& SkinDatas() const noexcept { return FSkinDatas; }
    bool TimerRunning() const noexcept { return FTimer->Enabled(); }

private:
    void ApplyAction(TSkinData& Data);
    static LRESULT CALLBACK CBTHookProc(int Code, WPARAM WParam, LPARAM LParam);

    std::unique_ptr<TTimer> FTimer;
    HHOOK FHook = nullptr;
    bool FActive = false;
    bool FSkinningAll = false;
    TManagerState FState = msIdle;
    // Kept apart from FState: the hook and the lists ignore everything then.
    bool FDestroying = false;
    TMenuKind FMenuKind = mnkPopup;
    bool FChildMaximized = false;
    HWND FMDIClient = nullptr;
    TControl* FMDIForm = nullptr;
    TSkinAction FAction = saNone;
    TSkinData* FActionSkinData = nullptr;
    TSkinData* FMainSkinData = nullptr;
    std::vector<TWinSkinForm*> FForms;
    std::vector<TSkinData*> FSkinDatas;
    std::vector<TWinSkinPopMenu*> FPopupMenus;  // owned
    bool FMenuBarPopup = false;
    void FreePopupMenus();
};

extern TSkinManage* SkinManager;
// Frees SkinManager (program end; tests).
void FreeSkinManager();
// Connects the skin components to the manager; the first skin component
// calls it, and SkinManager is freed when the program ends.
void InitSkinManagerUnit();
