// TSkinData: the skin component. It carries one skin (the container bytes of
// SkinStream, or a file named through SkinFile), loads it into a fresh set of
// elements that replaces the one in use only when the load succeeded, and
// holds the settings the skin manager, frames and adapters read.
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"
#include "classlib/portable/StringList.h"
#include "classlib/portable/TypInfo.h"
#include "skin/data/SkinIniKeys.h"
#include "skin/kernel/ImageListHandle.h"
#include "skin/portable/SkinContainer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TControl;
class TSkinData;

enum TSkinControlType {
    xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
    xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab,
    xcTrackBar, xcSystemMenu, xcFastReport
};
using TSkinControlTypes = uint32_t;  // bit n for TSkinControlType n
enum TSkinOption {
    xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
    xoMDIChildBorder, xoMenuBG, xoFormScrollbar
};
using TSkinOptions = uint32_t;  // bit n for TSkinOption n
enum class TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };
extern const TEnumInfo kSkinControlTypeInfo;
extern const TEnumInfo kSkinOptionInfo;
extern const TEnumInfo kSkinFormTypeInfo;

constexpr uint32_t SkinBit(int Ordinal)
{
    return 1u << Ordinal;
}
constexpr TSkinControlTypes kDefaultSkinControls =
    ((1u << (xcFastReport + 1)) - 1) & ~SkinBit(xcMenuItem) & ~SkinBit(xcFastReport);

using TOnFormSkin = std::function<void(TObject* Sender, const std::string& aName, bool& DoSkin)>;
using TOnSkinControl = std::function<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                                          const std::string& ControlClass, TComponent*& SkinnedControl)>;
using TOnSkinForm = std::function<void(TObject* Sender, HWND ahwnd, const std::string& aName)>;

// Why the last load did or did not apply a skin.
enum class TSkinLoadResult {
    lrNone,       // nothing loaded yet
    lrLoaded,
    lrDesigning,  // skins are not loaded in a designer
    lrContainer,  // the container cannot be read (ContainerResult says why)
    lrNoIni,      // the container holds no ini text
    lrFailed,     // building the elements raised (LoadError says what)
    lrNoFile,     // SkinFile names no readable file
    lrTooLarge,   // the file, the container, the bitmaps or a frame part is too large (LoadError says which)
};

// What the skin component tells the skin manager. The manager's unit installs
// one handler (SetSkinManagerHook); without one the component only keeps its
// own state.
enum class TSkinDataEvent {
    sdLoaded,        // end of streaming: create the manager if needed, register, start skinning
    sdActiveChanged, // Active changed at run time
    sdSkinReplaced,  // a new skin replaced the elements: drop title buttons, refresh
    sdRemoved,       // the component is being freed: unregister it now
};
using TSkinManagerHook = std::function<void(TSkinData& Data, TSkinDataEvent Event)>;
void SetSkinManagerHook(TSkinManagerHook Hook);

// Shows a container's version message. Unset, the program's message box is
// used; tests and tools install their own so that nothing waits for a person.
using TSkinMessageHook = std::function<void(const std::string& Text)>;
void SetSkinMessageHook(TSkinMessageHook Hook);

class TSkinData : public TComponent, public TSkinSet {
public:
    DECLARE_CLASS_INFO()

    explicit TSkinData(TComponent* AOwner);
    ~TSkinData() override;

    bool Active() const noexcept { return FActive; }
    void SetActive(bool Value);
    // Changes with every skin read: what is made from its pictures and kept
    // compares it to know it is still the skin's.
    uint32_t Generation() const noexcept { return FGeneration; }
    int32_t DisableTag() const noexcept { return FDisableTag; }
    void SetDisableTag(int32_t Value) noexcept { FDisableTag = Value; }
    TSkinControlTypes SkinControls() const noexcept { return FSkinControls; }
    void SetSkinControls(TSkinControlTypes Value) noexcept { FSkinControls = Value; }
    TSkinOptions Options() const noexcept { return FOptions; }
    void SetOptions(TSkinOptions Value) noexcept { FOptions = Value; }
    TStrings* Skin3rd() const noexcept { return FSkin3rd.get(); }
    void SetSkin3rd(const TStrings& Lines) { FSkin3rd->Assign(Lines.ToVector()); }
    const std::string& SkinFile() const noexcept { return FSkinFile; }
    // At run time: the file's skin replaces the one in use and every window
    // is skinned anew; a file that cannot be read or loaded changes nothing
    // in use (the component stays loaded when it was).
    void SetSkinFile(const std::string& Name);
    std::string SkinStore() const;
    void SetSkinStore(const std::string&) noexcept {}
    TSkinFormType SkinFormtype() const noexcept { return FSkinFormtype; }
    void SetSkinFormtype(TSkinFormType Value) noexcept { FSkinFormtype = Value; }
    const std::string& Version() const noexcept { return FVersion; }
    void SetVersion(const std::string&) noexcept {}
    bool MenuUpdate() const noexcept { return FMenuUpdate; }
    void SetMenuUpdate(bool Value) noexcept { FMenuUpdate = Value; }
    bool MenuMerge() const noexcept { return FMenuMerge; }
    void SetMenuMerge(bool Value) noexcept { FMenuMerge = Value; }

    // The stored form of SkinStream: a 32-bit little-endian count N, then N bytes.
    TBytes SkinStreamBytes() const;
    void SetSkinStreamBytes(const TBytes& Value);
    const std::vector<uint8_t>& SkinStream() const noexcept { return FSkinStream; }

    // Loads SkinStream; true when its skin is now the one in use. A failed
    // load leaves the elements in use as they were and the component not loaded.
    bool LoadSkin();
    // Re-skins every window with this component's new skin (through the manager).
    void UpdateSkin();
    void Loaded() override;
    // The manager asks whether the window of class aName may be skinned.
    void DoFormSkin(HWND Window, const std::string& aName, bool& DoSkin);
    void DoSkinChanged();
    void CreateCaptionFont();
    void LoadAppIcon();

    bool NotLoaded() const noexcept { return FNotLoaded; }
    TSkinLoadResult LastLoadResult() const noexcept { return FLastLoad; }
    TSkinReadResult ContainerResult() const noexcept { return FContainerResult; }
    // Why the last load failed; after a load that applied, the bitmaps it
    // refused (each left an empty strip), or empty.
    const std::string& LoadError() const noexcept { return FLoadError; }

    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;
    TOnSkinForm OnBeforeSkinForm;
    TOnSkinForm OnAfterSkinForm;

    // When set, every ini section and key a load reads is added to it.
    TSkinKeyLog* KeyLog = nullptr;

    // Read by the manager, frames and adapters.
    bool FNotLoaded = true;
    bool FPaintEnabled = true;
    std::unique_ptr<TBitmap> FAppIcon;
    std::unique_ptr<TFont> FCaptionFont;
    HIMAGELIST FMenuImages = nullptr;  // owned: the 16 x 16 system-menu glyphs
    int32_t FMaxWidth = 0;
    int32_t FMaxHeight = 0;
    HWND FAskWindow = nullptr;

private:
    // Skin bytes into a fresh element set, swapped in on success.
    bool LoadFrom(const std::vector<uint8_t>& Bytes);
    void NotifyManager(TSkinDataEvent Event);

    std::string FSkinFile;
    bool FActive = false;
    int32_t FDisableTag = 99;
    TSkinControlTypes FSkinControls = kDefaultSkinControls;
    TSkinOptions FOptions = SkinBit(xoPreview) | SkinBit(xoToolbarBK);
    TSkinFormType FSkinFormtype = TSkinFormType::sfMainform;
    std::unique_ptr<TStringList> FSkin3rd;
    bool FMenuUpdate = true;
    std::string FVersion = "4.11.07.25";
    bool FMenuMerge = false;
    std::vector<uint8_t> FSkinStream;
    bool FSkinApplied = false;  // some load has succeeded
    uint32_t FGeneration = 0;   // skins read so far
    TSkinLoadResult FLastLoad = TSkinLoadResult::lrNone;
    TSkinReadResult FContainerResult = TSkinReadResult::srLoaded;
    std::string FLoadError;
};
