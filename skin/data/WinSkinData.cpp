// TSkinData: published properties, streaming of SkinStream, loading with
// swap-on-success, SkinFile, Active and the one call site of the skin manager.
#include "skin/data/WinSkinData.h"

#include "skin/SkinApi.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinMessages.h"
#include "classlib/Handles.h"
#include "classlib/Text.h"
#include "skin/portable/ForeignClasses.h"
#include "skin/portable/QuickIni.h"
#include "skin/portable/SkinValues.h"

#include <commctrl.h>

#include <cstddef>
#include <cstring>
#include <exception>
#include <new>

const TEnumInfo kSkinControlTypeInfo(
    "TSkinControlType",
    {"xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox", "xcRadioButton",
     "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton", "xcSpin", "xcPanel", "xcGroupBox",
     "xcStatusBar", "xcTab", "xcTrackBar", "xcSystemMenu", "xcFastReport"});
const TEnumInfo kSkinOptionInfo("TSkinOption",
                                {"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview", "xoParentBackGround",
                                 "xoNoFocusRect", "xoToolbarBK", "xoMDIChildBorder", "xoMenuBG", "xoFormScrollbar"});
const TEnumInfo kSkinFormTypeInfo("TSkinFormType", {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"});

namespace {

// Skin files beyond this are refused rather than read into memory.
constexpr uint64_t kMaxSkinFileBytes = 64u * 1024 * 1024;

TSkinManagerHook& ManagerHook()
{
    static TSkinManagerHook hook;
    return hook;
}

TSkinMessageHook& MessageHook()
{
    static TSkinMessageHook hook;
    return hook;
}

enum class TFileRead { frRead, frCannotRead, frTooLarge };

TFileRead ReadWholeFile(const std::string& Name, std::vector<uint8_t>& Bytes)
{
    const std::wstring path = TextToWide(Name);
    const TFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return TFileRead::frCannotRead;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file.Get(), &size) == 0 || size.QuadPart < 0) return TFileRead::frCannotRead;
    if (static_cast<uint64_t>(size.QuadPart) > kMaxSkinFileBytes) return TFileRead::frTooLarge;
    Bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    const bool ok = Bytes.empty() || (::ReadFile(file.Get(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &read,
                                                 nullptr) != 0 &&
                                      read == Bytes.size());
    return ok ? TFileRead::frRead : TFileRead::frCannotRead;
}

HICON FirstProgramIcon(int Width, int Height)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    LPWSTR first = nullptr;
    ::EnumResourceNamesW(
        module, MAKEINTRESOURCEW(14), // RT_GROUP_ICON
        [](HMODULE, LPCWSTR, LPWSTR Name, LONG_PTR Param) -> BOOL {
            *reinterpret_cast<LPWSTR*>(Param) = Name;
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&first));
    if (first == nullptr) return nullptr;
    return static_cast<HICON>(::LoadImageW(module, first, IMAGE_ICON, Width, Height, LR_DEFAULTCOLOR));
}

} // namespace

void SetSkinManagerHook(TSkinManagerHook Hook)
{
    ManagerHook() = std::move(Hook);
}

void SetSkinMessageHook(TSkinMessageHook Hook)
{
    MessageHook() = std::move(Hook);
}

const TClassInfo& TSkinData::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TSkinData>("TSkinData", TComponent::StaticClassInfo())
            .Creatable()
            .Boolean("Active", &TSkinData::Active, &TSkinData::SetActive)
            .Integer("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag)
            .SetOf("SkinControls", kSkinControlTypeInfo, &TSkinData::SkinControls, &TSkinData::SetSkinControls)
            .SetOf("Options", kSkinOptionInfo, &TSkinData::Options, &TSkinData::SetOptions)
            .Object("Skin3rd", &TSkinData::Skin3rd)
            .String("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
            .String("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore)
            .Enumeration("SkinFormtype", kSkinFormTypeInfo, &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype)
            .String("Version", &TSkinData::Version, &TSkinData::SetVersion)
            .Boolean("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate)
            .Boolean("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge)
            .Event("OnFormSkin", &TSkinData::OnFormSkin)
            .Event("OnSkinChanged", &TSkinData::OnSkinChanged)
            .Event("OnSkinControl", &TSkinData::OnSkinControl)
            .Event("OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm)
            .Event("OnAfterSkinForm", &TSkinData::OnAfterSkinForm)
            .Binary("SkinStream", &TSkinData::SkinStreamBytes, &TSkinData::SetSkinStreamBytes)
            .Build();
    return info;
}

TSkinData::TSkinData(TComponent* AOwner)
    : TComponent(AOwner), FAppIcon(std::make_unique<TBitmap>()), FSkin3rd(std::make_unique<TStringList>())
{
    FAppIcon->SetPixelFormat(TPixelFormat::pf24bit);
    FSkin3rd->Assign(DefaultSkin3rd());
    FMenuImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
    TBitmap glyphs;
    if (FMenuImages != nullptr && LoadBitmapResource("TORVELMENU", glyphs))
        ImageList_AddMasked(FMenuImages, glyphs.Handle(), RGB(255, 255, 255));
    FMaxWidth = ::GetSystemMetrics(SM_CXMAXIMIZED);
    FMaxHeight = ::GetSystemMetrics(SM_CYMAXIMIZED);
}

TSkinData::~TSkinData()
{
    // The manager must not reach this component once its members start to go.
    NotifyManager(TSkinDataEvent::sdRemoved);
    DropSkinPartRenderings(this);
    if (FMenuImages != nullptr) ImageList_Destroy(FMenuImages);
}

void TSkinData::NotifyManager(TSkinDataEvent Event)
{
    if (ManagerHook()) ManagerHook()(*this, Event);
}

std::string TSkinData::SkinStore() const
{
    return InState(csDesigning) && !FSkinStream.empty() ? "(Good)" : "(none)";
}

TBytes TSkinData::SkinStreamBytes() const
{
    TBytes out(4 + FSkinStream.size());
    const uint32_t n = static_cast<uint32_t>(FSkinStream.size());
    for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = static_cast<uint8_t>(n >> (8 * i));
    if (!FSkinStream.empty()) std::memcpy(out.data() + 4, FSkinStream.data(), FSkinStream.size());
    return out;
}

void TSkinData::SetSkinStreamBytes(const TBytes& Value)
{
    if (Value.size() < 4) return;
    const int32_t count = static_cast<int32_t>(Value[0] | Value[1] << 8 | Value[2] << 16 | static_cast<uint32_t>(Value[3]) << 24);
    if (count <= 0) return;
    // A count beyond the bytes present leaves a short container, which the reader refuses.
    const size_t n = std::min(static_cast<size_t>(count), Value.size() - 4);
    std::vector<uint8_t> bytes(Value.begin() + 4, Value.begin() + 4 + static_cast<ptrdiff_t>(n));
    if (InState(csDesigning)) {
        FSkinStream = std::move(bytes);
        return;
    }
    // The stored bytes stay those of the skin in use; without one, the last given.
    const bool hadSkin = FSkinApplied;
    if (LoadFrom(bytes) || !hadSkin) FSkinStream = std::move(bytes);
}

bool TSkinData::LoadSkin()
{
    return LoadFrom(FSkinStream);
}

bool TSkinData::LoadFrom(const std::vector<uint8_t>& Bytes)
{
    FNotLoaded = true;
    FLoadError.clear();
    if (InState(csDesigning)) {
        FLastLoad = TSkinLoadResult::lrDesigning;
        return false;
    }
    // Everything that reads the skin's bytes is inside the guard: a skin that
    // cannot be read, or memory that runs out while decoding it (the
    // decoders' bad_alloc and ElzhException), fails this load, never the
    // reading of the form that holds it.
    std::string refused;
    try {
        TSkinReader reader;
        reader.OnVersionMessage = [](const std::string& Text) {
            if (MessageHook()) MessageHook()(Text);
            else ShowSkinMessage(Text);
        };
        const bool read = reader.ReadSkin(Bytes);
        FContainerResult = reader.LastResult();
        if (!read) {
            FLastLoad = FContainerResult == TSkinReadResult::srTooLarge ? TSkinLoadResult::lrTooLarge
                                                                         : TSkinLoadResult::lrContainer;
            FLoadError = SkinReadResultText(FContainerResult);
            return false;
        }
        // Refused before anything is decoded; the loader still counts each
        // bitmap as it decodes it, for entries the ini text names more than once.
        if (SkinBitmapPixels(reader) > kMaxSkinPixels) throw ESkinTooLarge();
        std::vector<uint8_t> entry;
        std::string name;
        reader.FindFile(".ini", entry, name);
        if (name.empty()) {
            FLastLoad = TSkinLoadResult::lrNoIni;
            FLoadError = "the container holds no ini text";
            return false;
        }
        TQuickIni ini;
        ini.LoadFromStream(&entry);
        TSkinSet fresh;
        refused = ApplyIni(fresh, TSkinIni(ini, KeyLog), reader);
        // A frame wider or higher than the screen would leave a window nothing of its client area.
        FLoadError = OversizedFramePart(fresh, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        if (!FLoadError.empty()) {
            FLastLoad = TSkinLoadResult::lrTooLarge;
            return false;
        }
        // Renderings of the strips about to go must not outlive them.
        DropSkinPartRenderings(this);
        static_cast<TSkinSet&>(*this) = std::move(fresh);
        ++FGeneration;
    } catch (const ESkinTooLarge& e) {
        FLastLoad = TSkinLoadResult::lrTooLarge;
        FLoadError = e.what();
        return false;
    } catch (const std::exception& e) {
        FLastLoad = TSkinLoadResult::lrFailed;
        FLoadError = e.what();
        return false;
    }
    try {
        KeepSkinPartRenderings(this, SkinStrips(*this));
    } catch (const std::bad_alloc&) {
        // Kept renderings only save time; without them each draw renders afresh.
        DropSkinPartRenderings(this);
    }
    FLastLoad = TSkinLoadResult::lrLoaded;
    FLoadError = std::move(refused);
    FSkinApplied = true;
    FNotLoaded = false;
    return true;
}

void TSkinData::SetSkinFile(const std::string& Name)
{
    FSkinFile = Name;
    if (InState(csDesigning)) {
        FNotLoaded = true;
        if (!Name.empty()) FSkinStream.clear();
        return;
    }
    // A file that cannot be read or loaded leaves the skin in use as it was,
    // for the windows and menus still to come too.
    const bool wasLoaded = !FNotLoaded;
    std::vector<uint8_t> bytes;
    const TFileRead read = Name.empty() ? TFileRead::frCannotRead : ReadWholeFile(Name, bytes);
    if (read == TFileRead::frTooLarge) {
        FLastLoad = TSkinLoadResult::lrTooLarge;
        FLoadError = "too large: " + Name + " is larger than a skin file may be";
        return;
    }
    if (read != TFileRead::frRead) {
        FLastLoad = TSkinLoadResult::lrNoFile;
        FLoadError = "cannot read " + Name;
        return;
    }
    if (!LoadFrom(bytes)) {
        FNotLoaded = !wasLoaded;
        return;
    }
    FSkinStream = std::move(bytes);
    UpdateSkin();
}

void TSkinData::SetActive(bool Value)
{
    if (Value == FActive) return;
    FActive = Value;
    if (InState(csDesigning) || InState(csReading) || InState(csLoading)) return;
    if (Value && FNotLoaded && FSkinFormtype != TSkinFormType::sfDialog && FSkinFormtype != TSkinFormType::sfDLL)
        return;
    NotifyManager(TSkinDataEvent::sdActiveChanged);
}

void TSkinData::UpdateSkin()
{
    if (InState(csDesigning) || InState(csReading) || InState(csLoading)) return;
    NotifyManager(TSkinDataEvent::sdSkinReplaced);
}

void TSkinData::Loaded()
{
    TComponent::Loaded();
    if (InState(csDesigning)) return;
    if (SkinGetScrollBarInfoEntry == nullptr) FSkinControls &= ~SkinBit(xcScrollbar);
    CreateCaptionFont();
    // A main-form skin that did not load must not start skinning.
    if (FSkinFormtype == TSkinFormType::sfMainform && FActive && FNotLoaded) FActive = false;
    NotifyManager(TSkinDataEvent::sdLoaded);
    if (FSkinFormtype != TSkinFormType::sfMainform) return;
    if (FSkinControls & SkinBit(xcMainMenu)) FSkinControls &= ~SkinBit(xcMenuItem);
    else FSkinControls &= ~SkinBit(xcSystemMenu);
    LoadAppIcon();
}

void TSkinData::DoFormSkin(HWND Window, const std::string& aName, bool& DoSkin)
{
    FAskWindow = Window;
    if (OnFormSkin) {
        OnFormSkin(this, aName, DoSkin);
        return;
    }
    if (aName == "SysMonthCal32") DoSkin = false;
    else if ((FSkinControls & SkinBit(xcFastReport)) && aName.starts_with("Tfr")) DoSkin = false;
}

void TSkinData::DoSkinChanged()
{
    if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::CreateCaptionFont()
{
    FCaptionFont = std::make_unique<TFont>();
    NONCLIENTMETRICSW metrics{};
    // Without the padded border field the call works on every Windows version.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return;
    const LOGFONTW& caption = metrics.lfCaptionFont;
    FCaptionFont->SetName(WideToText(caption.lfFaceName));
    FCaptionFont->SetHeight(caption.lfHeight);
    FCaptionFont->SetCharset(caption.lfCharSet);
}

void TSkinData::LoadAppIcon()
{
    const int w = ::GetSystemMetrics(SM_CXSMICON), h = ::GetSystemMetrics(SM_CYSMICON);
    HICON icon = FirstProgramIcon(w, h);
    if (icon == nullptr) return;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    bitmap->Canvas()->SetBrushColor(clKeyMagenta);
    bitmap->SetSize(w, h);
    ::DrawIconEx(bitmap->Canvas()->Handle(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(icon);
    bitmap->TransparentColor = clKeyMagenta;
    bitmap->Transparent = true;
    FAppIcon = std::move(bitmap);
}
