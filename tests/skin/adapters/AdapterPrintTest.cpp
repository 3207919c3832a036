// Every adapter family prints what it paints: a control's client area sent
// WM_PRINTCLIENT comes out as the screen shows it, skinned and, with the skin
// lacking the family's element, as the control paints itself.
#include "tests/skin/support/AdapterFixture.h"
#include "tests/skin/support/FrameHarness.h"

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/portable/StringList.h"
#include "classlib/portable/TypInfo.h"
#include "skin/SkinWindowMessages.h"
#include "skin/adapters/AdapterTable.h"
#include "skin/adapters/SkinList.h"
#include "skin/adapters/SkinScrollbar.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/support/TestListView.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>
#include <string>

namespace frametest {
namespace {

using frameharness::TWindowCapture;

struct TPrintRow {
    const char* Family;
    std::function<TWinControl*(TForm*)> Make;
    // Takes the family's element out of the skin; none for families that
    // need no element of their own.
    std::function<void(TSkinData&)> Drop;
    // The window compared, when it is not the control's own (a part the
    // adapter skins apart from it).
    std::function<HWND(TWinControl*)> Part = nullptr;
};

template <class T>
TWinControl* Make(TForm* Form, RECT Bounds, const char* Caption = nullptr)
{
    auto* control = new T(Form);
    control->SetParent(Form);
    control->SetBounds(Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top);
    if (Caption != nullptr) control->SetCaption(Caption);
    return control;
}

// The older tab set as the dispatch knows it: its class name and its tabs.
class TPrintTabSet : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    using TWinControl::TWinControl;
    TStrings* Tabs() const { return FTabs.get(); }

private:
    std::unique_ptr<TStringList> FTabs = std::make_unique<TStringList>();
};

const TClassInfo& TPrintTabSet::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TPrintTabSet>("TTabSet", TWinControl::StaticClassInfo())
                                       .Object("Tabs", &TPrintTabSet::Tabs)
                                       .Build();
    return info;
}

void Empty(TBitmap* Strip)
{
    if (Strip != nullptr) Strip->SetSize(0, 0);
}

class AdapterPrintTest : public AdapterTest {
protected:
    // The client part of a window as shown against what it prints.
    static bool SameAsPrinted(HWND Window, std::string& Where);
};

bool AdapterPrintTest::SameAsPrinted(HWND Window, std::string& Where)
{
    const TWindowCapture shown = Shown(Window);
    const TWindowCapture printed = PrintClient(Window);
    RECT window{}, client{};
    POINT origin{0, 0};
    ::GetWindowRect(Window, &window);
    ::GetClientRect(Window, &client);
    ::ClientToScreen(Window, &origin);
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    if (printed.Width() < client.right || printed.Height() < client.bottom) {
        Where = "printed " + std::to_string(printed.Width()) + " x " + std::to_string(printed.Height());
        return false;
    }
    // Child windows (a combo box's edit, a page control's pages) print themselves.
    std::vector<RECT> children;
    for (HWND child = ::GetWindow(Window, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        if (!::IsWindowVisible(child) || !::GetWindowRect(child, &r)) continue;
        ::MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&r), 2);
        children.push_back(r);
    }
    const auto covered = [&](int x, int y) {
        const POINT p{x, y};
        return std::any_of(children.begin(), children.end(), [&](const RECT& r) { return ::PtInRect(&r, p) != FALSE; });
    };
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (!covered(x, y) && shown.Pixel(x + dx, y + dy) != printed.Pixel(x, y)) {
                Where = "first difference at " + std::to_string(x) + ", " + std::to_string(y) + " shown " +
                        std::to_string(shown.Pixel(x + dx, y + dy)) + " printed " + std::to_string(printed.Pixel(x, y)) +
                        " client at " + std::to_string(dx) + ", " + std::to_string(dy);
                return false;
            }
    return true;
}

TEST_F(AdapterPrintTest, EveryFamilyPrintsWhatItShowsSkinnedAndNative)
{
    const TPrintRow rows[] = {
        {"button", [](TForm* f) { return Make<TButton>(f, {20, 20, 140, 50}, "Button"); },
         [](TSkinData& d) { Empty(d.FButtons->FBitmap.get()); }},
        {"bit button", [](TForm* f) { return Make<TBitBtn>(f, {20, 20, 140, 50}, "Bit||button"); },
         [](TSkinData& d) { Empty(d.FButtons->FBitmap.get()); }},
        {"check box", [](TForm* f) { return Make<TCheckBox>(f, {20, 20, 140, 40}, "Check"); },
         [](TSkinData& d) { Empty(d.FButtons->FCheckButton.get()); }},
        {"radio button", [](TForm* f) { return Make<TRadioButton>(f, {20, 20, 140, 40}, "Radio"); },
         [](TSkinData& d) { Empty(d.FButtons->FRadioButton.get()); }},
        {"group box", [](TForm* f) { return Make<TGroupBox>(f, {20, 20, 200, 120}, "Group"); }, nullptr},
        {"status bar", [](TForm* f) { return Make<TStatusBar>(f, {0, 200, 300, 222}); }, nullptr},
        {"page control",
         [](TForm* f) {
             auto* pages = static_cast<TPageControl*>(Make<TPageControl>(f, {20, 20, 300, 200}));
             for (const char* caption : {"One", "Two"}) {
                 auto* page = new TTabSheet(f);
                 page->SetParent(pages);
                 page->SetCaption(caption);
             }
             return pages;
         },
         [](TSkinData& d) { d.FTabs.reset(); }},
        {"button tabs",
         [](TForm* f) {
             auto* pages = static_cast<TPageControl*>(Make<TPageControl>(f, {20, 20, 300, 200}));
             pages->SetStyle(TTabStyle::tsButtons);
             for (const char* caption : {"One", "Two"}) {
                 auto* page = new TTabSheet(f);
                 page->SetParent(pages);
                 page->SetCaption(caption);
             }
             return pages;
         },
         [](TSkinData& d) { Empty(d.FButtons->FBitmap.get()); }},
        {"tab control",
         [](TForm* f) {
             TWinControl* tabs = Make<TCustomTabControl>(f, {20, 20, 300, 200});
             for (const wchar_t* caption : {L"One", L"Two"}) {
                 std::wstring text = caption;
                 TCITEMW item{TCIF_TEXT, 0, 0, text.data(), 0, -1, 0};
                 ::SendMessageW(tabs->Handle(), TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
             }
             return tabs;
         },
         [](TSkinData& d) { d.FTabs.reset(); }},
        {"tab set",
         [](TForm* f) {
             auto* set = static_cast<TPrintTabSet*>(Make<TPrintTabSet>(f, {20, 20, 300, 45}));
             for (const char* caption : {"One", "Two"}) set->Tabs()->Add(caption);
             return set;
         },
         [](TSkinData& d) { d.FTabs.reset(); }},
        {"edit", [](TForm* f) { return Make<TEdit>(f, {20, 20, 200, 41}); }, nullptr},
        {"combo box", [](TForm* f) { return Make<TComboBox>(f, {20, 20, 200, 41}); },
         [](TSkinData& d) { d.FComboButton.reset(); }},
        {"date-time picker", [](TForm* f) { return Make<TDateTimePicker>(f, {20, 20, 200, 41}); }, nullptr},
        {"up-down", [](TForm* f) { return Make<TUpDown>(f, {20, 20, 37, 50}); }, nullptr},
        {"track bar", [](TForm* f) { return Make<TTrackBar>(f, {20, 20, 220, 50}); },
         [](TSkinData& d) { d.FTrack.reset(); }},
        {"progress bar", [](TForm* f) { return Make<TProgressBar>(f, {20, 20, 220, 40}); },
         [](TSkinData& d) { d.FProgress.reset(); }},
        {"progress bar in chunks",
         [](TForm* f) {
             auto* bar = static_cast<TProgressBar*>(Make<TProgressBar>(f, {20, 20, 220, 40}));
             bar->SetPosition(50);
             return bar;
         },
         [](TSkinData& d) {
             d.FProgress->FStyle = 1;
             d.FProgressChunk.reset();
         }},
        {"tab sheet",
         [](TForm* f) {
             auto* pages = static_cast<TPageControl*>(Make<TPageControl>(f, {20, 20, 300, 200}));
             auto* sheet = new TTabSheet(f);
             sheet->SetParent(pages);
             auto* label = new TLabel(f);
             label->SetParent(sheet);
             label->SetBounds(10, 10, 100, 20);
             label->SetCaption("on the sheet");
             return pages;
         },
         nullptr, [](TWinControl* c) { return static_cast<TPageControl*>(c)->Pages(0)->Handle(); }},
        {"list view",
         [](TForm* f) {
             auto* list = static_cast<TTestListView*>(Make<TTestListView>(f, {20, 20, 300, 200}));
             list->AddRows(20);
             return list;
         },
         [](TSkinData& d) { d.FHeaderbar.reset(); }},
        // Natively the header prints nothing at all under Wine: skinned only.
        {"list view's header",
         [](TForm* f) {
             auto* list = static_cast<TTestListView*>(Make<TTestListView>(f, {20, 20, 300, 200}));
             list->AddRows(3);
             return list;
         },
         nullptr,
         [](TWinControl* c) {
             const auto* adapter = dynamic_cast<TSkinListView*>(FindSkinObject(c->Handle()));
             return adapter != nullptr && adapter->Header() != nullptr ? adapter->Header()->Handle() : nullptr;
         }},
        {"memo's scroll-bar cover",
         [](TForm* f) {
             auto* memo = static_cast<TMemo*>(Make<TMemo>(f, {20, 20, 300, 200}));
             memo->SetScrollBars(TScrollStyle::ssBoth);
             for (int i = 0; i < 40; ++i) memo->Lines()->Add("a line long enough to reach past the memo's right edge, " + std::to_string(i));
             return memo;
         },
         nullptr,
         [](TWinControl* c) {
             const auto* adapter = dynamic_cast<TSkinScrollbar*>(FindSkinObject(c->Handle()));
             return adapter != nullptr && adapter->VertBar() != nullptr ? adapter->VertBar()->Handle() : nullptr;
         }},
    };
    for (const TPrintRow& row : rows) {
        SCOPED_TRACE(row.Family);
        const TSkinnedForm made = MakeForm();
        made.Form->SetBounds(50, 50, 420, 300);
        made.Data->OnSkinControl = [](TComponent*, TSkinData*, TControl*, TControl* Control, const std::string& Class,
                                      TComponent*& Skinned) {
            if (Class == "TLISTVIEW") Skinned = AdapterMaker(TAdapterKind::akListView)(Control, {});
        };
        // Kinds the skin reaches through its third-party list only.
        made.Data->Skin3rd()->Add("TDateTimePicker=datetimepicker");
        made.Data->Skin3rd()->Add("TProgressBar=progress");
        made.Data->Skin3rd()->Add("TTrackBar=trackbar");
        TWinControl* control = row.Make(made.Form);
        TWinSkinForm* frame = ShowSkinned(made.Form);
        ASSERT_NE(frame, nullptr);
        // Neither the mouse nor a caret on the control: the screen shows its plain look.
        frameharness::MouseMoveTo({5, 5});
        ::SetFocus(made.Form->Handle());
        EXPECT_EQ(::SendMessageW(control->Handle(), WM_SKIN_QUERY, 0, 0), 1);
        const HWND window = row.Part ? row.Part(control) : control->Handle();
        ASSERT_NE(window, nullptr);
        std::string where;
        EXPECT_TRUE(SameAsPrinted(window, where)) << "skinned: " << where;
        if (row.Drop) {
            row.Drop(*made.Data);
            frame->UpdateSkin();
            Pump();
            EXPECT_TRUE(SameAsPrinted(window, where)) << "native: " << where;
        }
        made.Form->Hide();
        Pump();
    }
}

}  // namespace
}  // namespace frametest
