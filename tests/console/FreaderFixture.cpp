#include "FreaderFixture.h"

#include <commctrl.h>

namespace {

// One application object for the whole test program, as in Tagbench itself.
class TApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        Application->Initialize();
        RegisterConsoleClasses();
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

// The edit window inside an editable combo box takes the typed keys.
HWND KeyTarget(TWinControl* Control)
{
    HWND wnd = Control->Handle();
    if (HWND edit = FindWindowExW(wnd, nullptr, L"Edit", nullptr)) return edit;
    return wnd;
}

} // namespace

void FreaderTest::SetUp()
{
    SetMessageBoxHook([this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
        Boxes.push_back({owner, text, caption, flags});
        return IDOK;
    });
    Form = new TFreader(Application);
    ReadFormResource(*Form);
    Form->Show();
    Pump();
}

void FreaderTest::TearDown()
{
    delete Form;
    Pump();
    SetMessageBoxHook(nullptr);
}

void FreaderTest::Pump()
{
    Application->ProcessMessages();
}

bool FreaderTest::PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + TimeoutMs;
    for (;;) {
        Pump();
        if (Done()) return true;
        if (GetTickCount64() >= deadline) return false;
        // Wakes for the window's messages at once; files the test watches are polled.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void FreaderTest::OpenPort()
{
    Click(Form->RadioButton1);
    Click(Form->BitBtn1);
    ASSERT_TRUE(Form->Comm->IsOpen());
}

void FreaderTest::Click(TWinControl* Control)
{
    SendMessageW(Control->Handle(), BM_CLICK, 0, 0);
    Pump();
}

void FreaderTest::Focus(TWinControl* Control)
{
    SetFocus(Control->Handle());
    Pump();
}

void FreaderTest::Type(TWinControl* Control, const std::wstring& Text)
{
    Focus(Control);
    HWND target = KeyTarget(Control);
    SendMessageW(target, EM_SETSEL, 0, -1);
    for (wchar_t c : Text) SendMessageW(target, WM_CHAR, c, 1);
    Pump();
}

void FreaderTest::Key(TWinControl* Control, UINT VirtualKey)
{
    Focus(Control);
    HWND target = KeyTarget(Control);
    SendMessageW(target, WM_KEYDOWN, VirtualKey, 1);
    SendMessageW(target, WM_KEYUP, VirtualKey, 0xC0000001);
    Pump();
}

std::wstring FreaderTest::WindowText(TWinControl* Control)
{
    HWND wnd = Control->Handle();
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
    return text;
}
