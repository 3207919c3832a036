// A form's life: made in place and listed by the screen, shown once its
// description is read, freed by Release only when no handler is running any
// more, and taken apart while the whole derived object still exists.
#include "ControlsFixture.h"

#include "classlib/portable/DescriptionReader.h"
#include "classlib/portable/TypInfo.h"

#include <map>
#include <stdexcept>
#include <string>

namespace {

// Calls OnGone from its destructor, the way a component that closes
// something on the way out reports it.
class TReporter : public TComponent {
public:
    using TComponent::TComponent;
    ~TReporter() override
    {
        if (OnGone) OnGone(this);
    }
    TNotifyEvent OnGone;
};

// A derived form with a member of its own that a handler uses.
class TOwnMemberForm : public TTestForm {
public:
    explicit TOwnMemberForm(TComponent* AOwner) : TTestForm(AOwner), Log("alive") {}
    ~TOwnMemberForm() override { Log = "destroyed"; }
    void ReporterGone(TObject*) { *SeenBy = Log; }

    std::string Log;
    std::string* SeenBy = nullptr;
};

std::string VisibleForm()
{
    std::string text = kForm;
    const std::string caption = "  Caption = 'Test'\n";
    text.insert(text.find(caption) + caption.size(), "  Visible = True\n");
    return text;
}

} // namespace

TEST_F(Controls, VisibleInADescriptionShowsTheFormOnceEverythingIsRead)
{
    TTestForm form(nullptr);
    ReadDescription(form, VisibleForm());
    EXPECT_EQ(form.Shows, 1);
    EXPECT_TRUE(form.CompleteAtShow);
    ASSERT_TRUE(form.HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(form.WindowHandle()));
    EXPECT_TRUE(form.Memo1->HandleAllocated());
    form.DestroyHandle();
    form.DestroyComponents();
}

TEST_F(Controls, ReleaseWaitsForTheHandlerThatCalledItEvenAcrossANestedLoop)
{
    auto* form = new TTestForm(nullptr);
    ReadDescription(*form, kForm);
    form->Show();
    form->Sheet1->Show();
    Pump();
    const HWND wnd = form->WindowHandle();
    bool alive = false;
    form->Button1->OnClick = [&](TObject*) {
        form->Release();
        Pump();  // as a message box's loop would
        alive = IsWindow(wnd) && form->Edit1->Text() == "01";
    };
    SendMessageW(form->Button1->WindowHandle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(alive);
    EXPECT_FALSE(IsWindow(wnd));
    Pump();
    EXPECT_EQ(BoundWindowCount(), 0);
}

TEST_F(Controls, OnlyAFormsOwnReleaseFreesIt)
{
    ShowForm();
    Form->Sheet1->Show();
    const int bound = BoundWindowCount();
    for (HWND wnd : {Form->Edit1->WindowHandle(), Form->Sheet1->WindowHandle(), Form->WindowHandle()})
        PostMessageW(wnd, CM_RELEASE, 0, 0);
    Pump();
    EXPECT_EQ(BoundWindowCount(), bound);
    EXPECT_TRUE(IsWindow(Form->WindowHandle()));
    EXPECT_EQ(Form->Edit1->Text(), "01");
}

TEST_F(Controls, FreeTakesTheFormApartWhileTheDerivedFormStillExists)
{
    for (const bool release : {false, true}) {
        SCOPED_TRACE(release ? "Release" : "Free");
        std::string seen;
        auto* form = new TOwnMemberForm(nullptr);
        ReadDescription(*form, kForm);
        form->SeenBy = &seen;
        auto* reporter = new TReporter(form);
        reporter->OnGone = [form](TObject* sender) { form->ReporterGone(sender); };
        form->Show();
        Pump();
        if (release) {
            form->Release();
            Pump();
        } else {
            form->Free();
        }
        EXPECT_EQ(seen, "alive");
        EXPECT_EQ(BoundWindowCount(), 0);
    }
}

namespace {

// Where each window was made, as its creation asked.
std::map<HWND, RECT>* gMade = nullptr;

LRESULT CALLBACK RecordCreation(int Code, WPARAM WParam, LPARAM LParam)
{
    if (Code == HCBT_CREATEWND && gMade != nullptr) {
        const CREATESTRUCTW& cs = *reinterpret_cast<CBT_CREATEWNDW*>(LParam)->lpcs;
        (*gMade)[reinterpret_cast<HWND>(WParam)] = {cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy};
    }
    return CallNextHookEx(nullptr, Code, WParam, LParam);
}

} // namespace

TEST_F(Controls, CentredFormAndAlignedControlsAreMadeWhereTheyEndUp)
{
    std::map<HWND, RECT> made;
    gMade = &made;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, RecordCreation, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    ShowForm();
    UnhookWindowsHookEx(hook);
    gMade = nullptr;
    for (TWinControl* c : {static_cast<TWinControl*>(Form.get()), static_cast<TWinControl*>(Form->Pages),
                           static_cast<TWinControl*>(Form->Sheet1), static_cast<TWinControl*>(Form->Sheet2),
                           static_cast<TWinControl*>(Form->FindComponent("Status"))}) {
        SCOPED_TRACE(std::string(c->Name()));
        const auto it = made.find(c->WindowHandle());
        ASSERT_NE(it, made.end());
        const RECT now = c->BoundsRect();
        EXPECT_EQ(it->second.left, now.left);
        EXPECT_EQ(it->second.top, now.top);
        EXPECT_EQ(it->second.right, now.right);
        EXPECT_EQ(it->second.bottom, now.bottom);
    }
    // The form is centred on the screen, not left where it was made.
    EXPECT_EQ(Form->Left(), (GetSystemMetrics(SM_CXSCREEN) - Form->Width()) / 2);
    // The combo box's list got every entry although it was not repainted per entry.
    EXPECT_EQ(SendMessageW(Form->Combo1->WindowHandle(), CB_GETCOUNT, 0, 0), Form->Combo1->Items()->Count());
}

TEST_F(Controls, ScreenListsFormsInCreationOrderAndDropsFreedOnes)
{
    const int before = Screen->FormCount();
    ASSERT_GE(before, 1);
    EXPECT_EQ(Screen->Forms(before - 1), Form.get());
    auto* a = new TForm(nullptr);
    auto* b = new TTestForm(nullptr);
    auto* c = new TForm(nullptr);
    ASSERT_EQ(Screen->FormCount(), before + 3);
    EXPECT_EQ(Screen->Forms(before), a);
    EXPECT_EQ(Screen->Forms(before + 1), b);
    EXPECT_EQ(Screen->Forms(before + 2), c);
    b->Free();
    ASSERT_EQ(Screen->FormCount(), before + 2);
    EXPECT_EQ(Screen->Forms(before), a);
    EXPECT_EQ(Screen->Forms(before + 1), c);
    EXPECT_THROW(Screen->Forms(before + 2), std::out_of_range);
    c->Free();
    a->Free();
    EXPECT_EQ(Screen->FormCount(), before);
}

TEST_F(Controls, ScreenNeverListsAFormWhoseBaseIsBeingTakenApart)
{
    auto* form = new TForm(nullptr);
    auto* reporter = new TReporter(form);
    bool listed = true;
    // Runs while the form's base destructors free its components.
    reporter->OnGone = [&listed, form](TObject*) {
        listed = false;
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (Screen->Forms(i) == form) listed = true;
    };
    delete form;
    EXPECT_FALSE(listed);
}
