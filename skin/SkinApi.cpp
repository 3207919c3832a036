// Binding of the optional user32 functions and the caption text helpers.
#include "SkinApi.h"

#include "classlib/Controls.h"

#include <algorithm>
#include <vector>

TGetScrollBarInfoFunc SkinGetScrollBarInfoEntry = nullptr;
TTrackMouseEventFunc SkinTrackMouseEventEntry = nullptr;
TGetComboBoxInfoFunc SkinGetComboBoxInfo = nullptr;
UINT SkinCodePage = CP_ACP;
bool SkinNTPlatform = true;
DWORD SkinWinVersion = 0;

namespace {

template <class F>
F Bind(HMODULE Module, const char* Name)
{
    return Module == nullptr ? nullptr : reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(Module, Name)));
}

// Holds user32 for the program's lifetime; entries bound once, at start.
struct TUser32Binding {
    HMODULE Module = ::LoadLibraryA("user32.dll");
    TUser32Binding()
    {
        SkinGetScrollBarInfoEntry = Bind<TGetScrollBarInfoFunc>(Module, "GetScrollBarInfo");
        SkinTrackMouseEventEntry = Bind<TTrackMouseEventFunc>(Module, "TrackMouseEvent");
        SkinGetComboBoxInfo = Bind<TGetComboBoxInfoFunc>(Module, "GetComboBoxInfo");
    }
    ~TUser32Binding()
    {
        SkinGetScrollBarInfoEntry = nullptr;
        SkinTrackMouseEventEntry = nullptr;
        SkinGetComboBoxInfo = nullptr;
        if (Module != nullptr) ::FreeLibrary(Module);
    }
    TUser32Binding(const TUser32Binding&) = delete;
    TUser32Binding& operator=(const TUser32Binding&) = delete;
};

const TUser32Binding User32Binding;

} // namespace

bool SkinGetScrollBarInfo(HWND Window, LONG ObjectId, SCROLLBARINFO* Info)
{
    if (SkinGetScrollBarInfoEntry == nullptr) return false;
    return SkinGetScrollBarInfoEntry(Window, ObjectId, Info) != 0;
}

void SkinTrackMouseLeave(HWND Window)
{
    if (SkinTrackMouseEventEntry == nullptr) return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = Window;
    SkinTrackMouseEventEntry(&track);
}

std::wstring AnsiToWide(std::string_view Text)
{
    if (Text.empty()) return {};
    const int size = static_cast<int>(Text.size());
    const int length = ::MultiByteToWideChar(SkinCodePage, 0, Text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(SkinCodePage, 0, Text.data(), size, wide.data(), length);
    return wide;
}

std::wstring WideCopy(const wchar_t* Text, int Count)
{
    if (Text == nullptr) return {};
    std::wstring_view all(Text);
    if (Count < 0) return std::wstring(all);
    return std::wstring(all.substr(0, static_cast<size_t>(Count)));
}

int DrawTextWide(HDC DC, const std::wstring& Text, RECT& Rect, UINT Format)
{
    if (SkinNTPlatform) return ::DrawTextW(DC, Text.c_str(), static_cast<int>(Text.size()), &Rect, Format);
    const int wide = static_cast<int>(Text.size());
    const int length = ::WideCharToMultiByte(CP_ACP, 0, Text.data(), wide, nullptr, 0, nullptr, nullptr);
    std::vector<char> narrow(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    if (length > 0) ::WideCharToMultiByte(CP_ACP, 0, Text.data(), wide, narrow.data(), length, nullptr, nullptr);
    return ::DrawTextA(DC, narrow.data(), -1, &Rect, Format);
}

TWinControl* FindLibraryControl(HWND Window)
{
    return Window == nullptr ? nullptr : FindControl(Window);
}

std::string GetWindowClassName(HWND Window)
{
    char name[101] = {};
    const int n = ::GetClassNameA(Window, name, 100);
    return std::string(name, n > 0 ? static_cast<size_t>(n) : 0);
}
