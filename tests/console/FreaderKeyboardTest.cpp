// The skinned main window with the keyboard alone, in a Wine virtual desktop
// with real key presses (SendInput): the Tab cycle, the radio pair's arrows,
// the focus leaving a control that its own press disables, and the focus
// drawn by the skin.
#include "Com1Pair.h"
#include "FreaderFixture.h"

#include "classlib/ComCtrls.h"
#include "skin/data/SkinElements.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/manager/WinSkinDlg.h"
#include "tests/skin/support/FrameHarness.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

void SendKey(WORD Key, bool Up)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = Key;
    in.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(Key, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
}

// Messages handled for Ms milliseconds through the application's own loop,
// where the keyboard's dialog handling is.
void Settle(DWORD Ms)
{
    const ULONGLONG end = ::GetTickCount64() + Ms;
    do {
        Application->ProcessMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount64() < end);
}

// A key pressed and let go (with Shift held when asked), then handled.
void Press(WORD Key, bool Shift = false)
{
    if (Shift) SendKey(VK_SHIFT, false);
    SendKey(Key, false);
    SendKey(Key, true);
    if (Shift) SendKey(VK_SHIFT, true);
    Settle(40);
}

bool SamePixels(const frameharness::TWindowCapture& A, const frameharness::TWindowCapture& B)
{
    if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
    for (int y = 0; y < A.Height(); ++y)
        for (int x = 0; x < A.Width(); ++x)
            if (A.Pixel(x, y) != B.Pixel(x, y)) return false;
    return true;
}

class FreaderKeyboardTest : public FreaderTest {
protected:
    void SetUp() override
    {
        InitSkinManagerUnit();
        FreaderTest::SetUp();
        ::SetForegroundWindow(Form->Handle());
        ASSERT_TRUE(PumpUntil([this] {
            const TWinSkinForm* frame = FindSkinForm(Form->Handle());
            return frame != nullptr && frame->SkinState() == ssActive;
        }));
    }

    void TearDown() override
    {
        Form->Comm->CloseComm();
        Pair.reset();
        FreaderTest::TearDown();
        FreeSkinManager();
    }

    // The control with the focus (a combo box for its edit), or null.
    static TWinControl* Focused()
    {
        for (HWND w = ::GetFocus(); w != nullptr; w = ::GetParent(w))
            if (TWinControl* c = FindControl(w)) return dynamic_cast<TForm*>(c) != nullptr ? nullptr : c;
        return nullptr;
    }

    // Tab (or Shift+Tab) until the focus is on Target; false if it never is.
    bool TabTo(TWinControl* Target, bool Back = false)
    {
        for (int i = 0; i < 80 && Focused() != Target; ++i) Press(VK_TAB, Back);
        return Focused() == Target;
    }

    std::unique_ptr<TCom1Pair> Pair;
};

// Every control a user can work on the first page: enabled (with its
// parents) and of a kind that takes the keyboard.
std::vector<TWinControl*> Workable(TFreader& Form)
{
    std::vector<TWinControl*> all{Form.PageControl1};
    Form.TabSheet1->GetTabOrderList(all);
    std::vector<TWinControl*> workable;
    for (TWinControl* c : all) {
        bool enabled = true;
        for (TControl* p = c; p != nullptr; p = p->Parent()) enabled = enabled && p->Enabled();
        if (enabled && c->TabStop()) workable.push_back(c);
    }
    return workable;
}

} // namespace

TEST_F(FreaderKeyboardTest, TabCyclesThroughEveryEnabledControlOnceEachWayRadiosAndMemosIncluded)
{
    // Shown, the window gives the focus to its first stop, the tab strip.
    EXPECT_EQ(Focused(), Form->PageControl1);

    std::vector<TWinControl*> forward{Focused()};
    for (int i = 0; i < 80; ++i) {
        Press(VK_TAB);
        if (Focused() == forward.front()) break;
        forward.push_back(Focused());
    }
    ASSERT_EQ(Focused(), forward.front()) << "the cycle does not come round";

    std::map<TWinControl*, int> visits;
    for (TWinControl* c : forward) ++visits[c];
    EXPECT_EQ(visits.size(), forward.size()) << "a control visited twice";
    for (TWinControl* c : Workable(*Form)) {
        // A radio pair is one stop: its first button while neither is checked.
        EXPECT_EQ(visits[c], c == Form->RadioButton2 ? 0 : 1) << c->Name();
    }
    for (TWinControl* c : {static_cast<TWinControl*>(Form->RadioButton1), static_cast<TWinControl*>(Form->RadioButton3),
                           static_cast<TWinControl*>(Form->RadioButton4), static_cast<TWinControl*>(Form->Memo1),
                           static_cast<TWinControl*>(Form->CheckBox18), static_cast<TWinControl*>(Form->Memo2)})
        EXPECT_EQ(visits[c], 1) << c->Name();
    EXPECT_EQ(Form->Memo1->Text(), "") << "Tab was typed into the memo";

    // Shift+Tab walks the same cycle backwards.
    std::vector<TWinControl*> backward{Focused()};
    for (size_t i = 1; i < forward.size(); ++i) {
        Press(VK_TAB, true);
        backward.push_back(Focused());
    }
    std::reverse(backward.begin() + 1, backward.end());
    EXPECT_EQ(backward, forward);
}

TEST_F(FreaderKeyboardTest, SpaceAndArrowsChooseTheLinkAndOpenThePortWithTheFocusKeptOnAControl)
{
    Pair = std::make_unique<TCom1Pair>();
    ASSERT_TRUE(TabTo(Form->RadioButton1));
    Press(VK_SPACE);
    EXPECT_TRUE(Form->RadioButton1->Checked());
    EXPECT_TRUE(Form->BitBtn1->Enabled());

    // Arrows move through the pair and check the button reached, running its handler.
    Press(VK_DOWN);
    EXPECT_EQ(Focused(), Form->RadioButton2);
    EXPECT_TRUE(Form->RadioButton2->Checked());
    EXPECT_FALSE(Form->RadioButton1->Checked());
    EXPECT_FALSE(Form->BitBtn1->Enabled());
    Press(VK_UP);
    EXPECT_EQ(Focused(), Form->RadioButton1);
    EXPECT_TRUE(Form->RadioButton1->Checked());
    EXPECT_TRUE(Form->BitBtn1->Enabled());

    // "open" disables itself once the port is open: the focus goes on to
    // "close", and Tab still moves from there.
    ASSERT_TRUE(TabTo(Form->BitBtn1));
    Press(VK_SPACE);
    ASSERT_TRUE(Form->Comm->IsOpen());
    EXPECT_FALSE(Form->BitBtn1->Enabled());
    EXPECT_EQ(Focused(), Form->BitBtn2);
    Press(VK_TAB);
    EXPECT_NE(Focused(), nullptr);
    EXPECT_NE(Focused(), Form->BitBtn2);
}

TEST_F(FreaderKeyboardTest, TheSkinShowsTheFocusExactlyWhereItIsAndTheHeldSpaceAsItsPressedCell)
{
    const auto shot = [](TWinControl* c) {
        ::RedrawWindow(c->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Settle(40);
        return frameharness::TWindowCapture::Take(c->Handle());
    };
    // A combo box's frame and a caption-less check box's ring, reached by Tab and left by Tab.
    for (TWinControl* c : {static_cast<TWinControl*>(Form->ComboBox1), static_cast<TWinControl*>(Form->CheckBox10)}) {
        SCOPED_TRACE(c->Name());
        const frameharness::TWindowCapture idle = shot(c);
        ASSERT_TRUE(TabTo(c));
        EXPECT_FALSE(SamePixels(shot(c), idle)) << "no focus shown";
        Press(VK_TAB);
        EXPECT_TRUE(SamePixels(shot(c), idle)) << "the focus stays drawn";
    }

    // Space held on a checked box shows the strip's checked-pressed cell,
    // let go the unchecked one: the skin's cells, never the system's drawing.
    const TDataSkinButton& buttons = *Form->SkinData1->FButtons;
    ASSERT_EQ(buttons.FCheckButtonFrame, 12);
    TBitmap& strip = *buttons.FCheckButton;
    const int cw = strip.Width() / 12, ch = strip.Height();
    const auto cellPixel = [&](int Cell) { return static_cast<COLORREF>(strip.Canvas()->Pixel((Cell - 1) * cw + 2, ch / 2)); };
    ASSERT_TRUE(Form->CheckBox10->Checked());
    ASSERT_TRUE(TabTo(Form->CheckBox10, true));
    const int y = (Form->CheckBox10->Height() - ch) / 2 + ch / 2;
    SendKey(VK_SPACE, false);
    Settle(100);
    EXPECT_EQ(frameharness::TWindowCapture::Take(Form->CheckBox10->Handle()).Pixel(2, y), cellPixel(7));
    SendKey(VK_SPACE, true);
    Settle(100);
    EXPECT_FALSE(Form->CheckBox10->Checked());
    EXPECT_EQ(frameharness::TWindowCapture::Take(Form->CheckBox10->Handle()).Pixel(2, y), cellPixel(1));
}
