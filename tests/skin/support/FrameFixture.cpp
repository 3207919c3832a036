// The frame tests' windows and read-back helpers.
#include "tests/skin/support/FrameFixture.h"

#include "skin/SkinWindowMessages.h"
#include "tools/skinpack-src/SkinPacker.h"

#include <filesystem>

namespace frametest {

const TBytes& DefaultSkinStream()
{
    static const TBytes stream = [] {
        std::vector<std::string> skipped;
        const std::vector<uint8_t> packed =
            PackSkin(CollectSkinFolder(std::filesystem::path(TB_SOURCE_DIR) / "skins" / "default", skipped));
        TBytes out(4);
        for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = static_cast<uint8_t>(packed.size() >> (8 * i));
        out.insert(out.end(), packed.begin(), packed.end());
        return out;
    }();
    return stream;
}

frameharness::TWindowCapture SkinPrint(HWND Window)
{
    return frameharness::TWindowCapture::Paint(Window, [Window](HDC DC) {
        ::SendMessageW(Window, WM_SKIN_PRINTNC, reinterpret_cast<WPARAM>(DC), kSkinMagic);
    });
}

COLORREF CellPixel(TBitmap& Strip, int Index, int Count, bool Vertical, int X, int Y)
{
    const int w = Vertical ? Strip.Width() : Strip.Width() / Count;
    const int h = Vertical ? Strip.Height() / Count : Strip.Height();
    const int x = (Vertical ? 0 : w * (Index - 1)) + X;
    const int y = (Vertical ? h * (Index - 1) : 0) + Y;
    const uint8_t* row = Strip.ScanLine(y);
    const int bpp = Strip.BitsPerPixel() / 8;
    return RGB(row[x * bpp + 2], row[x * bpp + 1], row[x * bpp]);
}

namespace {

LRESULT CALLBACK PlainProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    return ::DefWindowProcW(Window, Msg, WParam, LParam);
}

const wchar_t* PlainClass(WNDPROC Proc)
{
    // One class per procedure, registered once.
    static std::vector<std::pair<WNDPROC, std::wstring>> classes;
    for (const auto& [proc, name] : classes)
        if (proc == Proc) return name.c_str();
    std::wstring name = L"TbFrameTest" + std::to_wstring(classes.size());
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    ::RegisterClassW(&wc);
    classes.emplace_back(Proc, std::move(name));
    return classes.back().second.c_str();
}

}  // namespace

void RunAction(TSkinData* Data, TSkinAction Action)
{
    SkinManager->SetActionSkinData(Data);
    SkinManager->PostAction(Action, 10000);
    SkinManager->DoAction(nullptr);
}

void FrameTest::SetUp()
{
    InitSkinManagerUnit();
    Application->Initialize();
}

void FrameTest::TearDown()
{
    for (HWND w : Windows)
        if (::IsWindow(w)) ::DestroyWindow(w);
    for (TForm* f : Forms) f->Free();
    Pump();
    FreeSkinManager();
    EXPECT_EQ(HookedWindowCount(), 0u);
    EXPECT_EQ(BoundWindowCount(), 0);
}

TSkinnedForm FrameTest::MakeForm(TSkinFormType Type, bool WithSkin)
{
    TSkinnedForm made;
    made.Form = new TForm(nullptr);
    Forms.push_back(made.Form);
    made.Form->SetBounds(50, 50, 400, 300);
    made.Form->SetCaption("Frame test");
    if (!WithSkin) return made;
    made.Data = new TSkinData(made.Form);
    made.Data->SetSkinFormtype(Type);
    // As the description reader does: properties while reading, then Loaded.
    made.Data->SetSkinStreamBytes(DefaultSkinStream());
    made.Data->SetActive(true);
    made.Data->Loaded();
    return made;
}

TWinSkinForm* FrameTest::ShowSkinned(TForm* Form)
{
    Form->Show();
    ::SetForegroundWindow(Form->Handle());
    const HWND window = Form->Handle();
    if (!PumpUntil([&] { return IsActiveFrame(window); })) return nullptr;
    Pump();
    return Frame(window);
}

HWND FrameTest::MakeWindow(DWORD Style, DWORD ExStyle, WNDPROC Proc, HWND Parent)
{
    const HWND w = ::CreateWindowExW(ExStyle, PlainClass(Proc != nullptr ? Proc : PlainProc), L"Plain window", Style,
                                     60, 60, 300, 200, Parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    Windows.push_back(w);
    return w;
}

bool FrameTest::IsActiveFrame(HWND Window)
{
    const TWinSkinForm* frame = Frame(Window);
    return frame != nullptr && frame->SkinState() == ssActive;
}

TWinSysButton* FrameTest::Button(const TWinSkinForm& Frame, int Action)
{
    for (const auto& b : Access::Buttons(Frame))
        if (b->Data().FAction == Action) return b.get();
    return nullptr;
}

LPARAM FrameTest::ScreenPoint(HWND Window, int X, int Y)
{
    RECT r{};
    ::GetWindowRect(Window, &r);
    return MAKELPARAM(r.left + X, r.top + Y);
}

LRESULT FrameTest::HitTest(HWND Window, int X, int Y)
{
    return ::SendMessageW(Window, WM_NCHITTEST, 0, ScreenPoint(Window, X, Y));
}

}  // namespace frametest
