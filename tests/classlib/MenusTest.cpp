// Menus: the item tree and its HMENUs changed in place, a form's menu bar and
// its commands, items nested in a description, a popup's owner window under a
// real menu loop, shortcut texts, and nothing leaked.
#include "ControlsFixture.h"

#include "classlib/ImgList.h"
#include "classlib/Menus.h"
#include "classlib/portable/DescriptionReader.h"
#include "classlib/portable/TypInfo.h"
#include "tests/support/GdiObjectCount.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class TMenuForm : public TForm {
public:
    DECLARE_CLASS_INFO()
    using TForm::TForm;
    void OpenClick(TObject*) { ++Opens; }

    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Open1 = nullptr;
    TMenuItem* Exit1 = nullptr;
    int Opens = 0;
};

const TClassInfo& TMenuForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TMenuForm>("TMenuForm", TForm::StaticClassInfo())
                                       .Field("MainMenu1", &TMenuForm::MainMenu1)
                                       .Field("File1", &TMenuForm::File1)
                                       .Field("Open1", &TMenuForm::Open1)
                                       .Field("Exit1", &TMenuForm::Exit1)
                                       .Method("OpenClick", &TMenuForm::OpenClick)
                                       .Build();
    return info;
}

// 16463 is Ctrl+O.
const char kMenuForm[] = "object MenuForm: TMenuForm\n"
                         "  Width = 300\n  Height = 200\n  Caption = 'menus'\n  Menu = MainMenu1\n"
                         "  object MainMenu1: TMainMenu\n"
                         "    object File1: TMenuItem\n      Caption = '&File'\n"
                         "      object Open1: TMenuItem\n        Caption = '&Open'\n        ShortCut = 16463\n"
                         "        OnClick = OpenClick\n      end\n"
                         "      object N1: TMenuItem\n        Caption = '-'\n      end\n"
                         "      object Exit1: TMenuItem\n        Caption = 'E&xit'\n        Enabled = False\n"
                         "        OnClick = OpenClick\n      end\n"
                         "    end\n"
                         "    object Help1: TMenuItem\n      Caption = '&Help'\n    end\n"
                         "  end\n"
                         "end\n";

std::wstring EntryText(HMENU Menu, UINT Position)
{
    wchar_t text[64] = {};
    GetMenuStringW(Menu, Position, text, 64, MF_BYPOSITION);
    return text;
}

class Menus : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        RegisterComponentClass(TMenuForm::StaticClassInfo());
        Form = new TMenuForm(nullptr);
        ReadDescription(*Form, kMenuForm);
    }
    void TearDown() override
    {
        Form->Free();
        Pump();
        EXPECT_EQ(BoundWindowCount(), 0);
    }

    TMenuForm* Form = nullptr;
};

TEST_F(Menus, ADescriptionNestsItemsAndTheFormRunsTheirClicksByCommand)
{
    TMainMenu* menu = Form->MainMenu1;
    ASSERT_EQ(Form->Menu(), menu);
    ASSERT_EQ(menu->Items()->Count(), 2);
    EXPECT_EQ(Form->File1->Parent(), menu->Items());
    ASSERT_EQ(Form->File1->Count(), 3);
    EXPECT_EQ(Form->File1->Items(0), Form->Open1);
    EXPECT_TRUE(Form->File1->Items(1)->IsLine());
    EXPECT_EQ(Form->Open1->GetParentMenu(), menu);
    EXPECT_EQ(Form->Open1->ShortCut(), scCtrl | 'O');

    const HWND wnd = Form->Handle();
    EXPECT_EQ(GetMenu(wnd), menu->Handle());
    const HMENU file = GetSubMenu(menu->Handle(), 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file, Form->File1->Handle());
    EXPECT_EQ(EntryText(file, 0), L"&Open\tCtrl+O");
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(file, 1, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
    EXPECT_EQ(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));

    // Lookups by command and by submenu handle; unique commands.
    EXPECT_EQ(menu->FindItem(Form->Open1->Command(), TFindItemKind::fkCommand), Form->Open1);
    EXPECT_EQ(menu->FindItem(reinterpret_cast<UINT_PTR>(file), TFindItemKind::fkHandle), Form->File1);
    EXPECT_EQ(menu->FindItem(0, TFindItemKind::fkCommand), nullptr);
    EXPECT_NE(Form->Open1->Command(), Form->Exit1->Command());
    EXPECT_EQ(Form->Open1->Handle(), nullptr);

    // A menu command runs the item's handler; a disabled item's does nothing,
    // nor does a control's notification that carries the same number.
    SendMessageW(wnd, WM_COMMAND, Form->Open1->Command(), 0);
    SendMessageW(wnd, WM_COMMAND, Form->Exit1->Command(), 0);
    Form->Exit1->Click();
    SendMessageW(wnd, WM_COMMAND, MAKEWPARAM(Form->Open1->Command(), BN_CLICKED), reinterpret_cast<LPARAM>(wnd));
    EXPECT_EQ(Form->Opens, 1);
    Form->Open1->Click();
    EXPECT_EQ(Form->Opens, 2);

    // Owner-drawn entries get their accelerators from the form (Wine matches
    // them itself from the text the entries keep; Windows asks the owner); a
    // disabled entry is selected, not run, and so is the entry that a letter
    // marking none starts.
    Form->MainMenu1->SetOwnerDraw(true);
    auto menuChar = [&](wchar_t Char) {
        return SendMessageW(wnd, WM_MENUCHAR, MAKEWPARAM(Char, MF_POPUP), reinterpret_cast<LPARAM>(file));
    };
    EXPECT_EQ(menuChar(L'o'), MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_EQ(menuChar(L'x'), MAKELRESULT(2, MNC_SELECT));
    EXPECT_EQ(menuChar(L'E'), MAKELRESULT(2, MNC_SELECT));
    EXPECT_EQ(HIWORD(menuChar(L'q')), MNC_IGNORE);
}

TEST_F(Menus, AnItemAnywhereButInAMenuOrItemIsAReadError)
{
    TForm form(nullptr);
    EXPECT_THROW(ReadDescription(form, "object F: TForm\n  object M: TMenuItem\n  end\nend\n"), EReadError);
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(Menus, ChangesReachTheSameHMENUInPlaceAndTellTheWindow)
{
    const HWND wnd = Form->Handle();
    const HMENU bar = Form->MainMenu1->Handle();
    int changes = 0;
    const TWndMethod old = Form->WindowProc;
    Form->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_MENUCHANGED) ++changes;
        old(m);
    };

    Form->File1->SetCaption("&Datei");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(GetMenu(wnd), bar);
    EXPECT_EQ(EntryText(bar, 0), L"&Datei");
    Form->Open1->SetChecked(true);
    EXPECT_EQ(GetMenuState(Form->File1->Handle(), 0, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(changes, 2);

    // Hidden items leave the HMENU; shown again they come back in place.
    Form->Open1->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(Form->File1->Handle()), 2);
    EXPECT_TRUE(GetMenuState(Form->File1->Handle(), 0, MF_BYPOSITION) & MF_SEPARATOR);
    Form->Open1->SetVisible(true);
    EXPECT_EQ(EntryText(Form->File1->Handle(), 0), L"&Open\tCtrl+O");

    // A plain item that gets a subitem becomes a submenu entry, and a plain
    // entry again when it loses it; its submenu is destroyed then.
    auto* sub = new TMenuItem(Form);
    sub->SetCaption("sub");
    TMenuItem* help = Form->MainMenu1->Items()->Items(1);
    help->Add(sub);
    const HMENU helpMenu = GetSubMenu(bar, 1);
    ASSERT_NE(helpMenu, nullptr);
    EXPECT_EQ(Form->MainMenu1->FindItem(reinterpret_cast<UINT_PTR>(helpMenu), TFindItemKind::fkHandle), help);
    delete sub;
    EXPECT_EQ(GetSubMenu(bar, 1), nullptr);
    EXPECT_FALSE(IsMenu(helpMenu));
    EXPECT_EQ(GetMenu(wnd), bar);

    // Someone (a skin) took the bar out of the window: a change puts it back.
    SetMenu(wnd, nullptr);
    Form->File1->SetEnabled(false);
    EXPECT_EQ(GetMenu(wnd), bar);
    Form->WindowProc = old;

    // The window goes; the menu it showed stays the menu's.
    Form->DestroyHandle();
    EXPECT_TRUE(IsMenu(bar));
    Form->Handle();
    EXPECT_EQ(GetMenu(Form->WindowHandle()), bar);
    // The menu goes first; the window lets go of it.
    delete Form->MainMenu1;
    EXPECT_EQ(Form->Menu(), nullptr);
    EXPECT_EQ(GetMenu(Form->WindowHandle()), nullptr);
    EXPECT_FALSE(IsMenu(bar));
}

// Runs the menu loop that Popup enters: once the popup is up, Steps runs
// (reading the popup window) and then the characters are posted to it.
struct TMenuDriver {
    static TMenuDriver* Current;
    std::function<void(HWND Popup)> Steps;
    std::vector<wchar_t> Chars;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR Id, DWORD)
    {
        const HWND popup = FindWindowW(L"#32768", nullptr);
        if (popup == nullptr || !IsWindowVisible(popup)) return;
        KillTimer(nullptr, Id);
        if (Current->Steps) Current->Steps(popup);
        for (wchar_t c : Current->Chars) PostMessageW(popup, WM_CHAR, c, 0);
    }
    void Start()
    {
        Current = this;
        SetTimer(nullptr, 0, 50, Tick);
    }
};
TMenuDriver* TMenuDriver::Current = nullptr;

TEST_F(Menus, APopupsOwnerWindowRoutesMeasureDrawAndCommandToItsItems)
{
    auto* popup = new TPopupMenu(nullptr);
    popup->SetOwnerDraw(true);
    std::vector<TMenuItem*> items;
    int measured = 0, drawn = 0, clicked = 0;
    bool fontIsMenuFont = false;
    TFont menuFont;
    AssignMenuFont(menuFont);
    // Separators are the menu's to draw too.
    for (const char* caption : {"&one", "&two", "-", "t&hree"}) {
        auto* item = new TMenuItem(popup);
        item->SetCaption(caption);
        item->OnMeasureItem = [&](TObject* Sender, TCanvas&, int& Width, int& Height) {
            ++measured;
            EXPECT_EQ(Width > 0, !static_cast<TMenuItem*>(Sender)->IsLine());
            Height = 30;
        };
        item->OnDrawItem = [&](TObject*, TCanvas& Canvas, const RECT& Rect, bool) {
            ++drawn;
            fontIsMenuFont = Canvas.Font()->Name() == menuFont.Name();
            EXPECT_EQ(Rect.bottom - Rect.top, 30);
        };
        popup->Items()->Add(item);
        items.push_back(item);
    }
    // The chosen item frees the menu from its own click.
    items[1]->OnClick = [&](TObject*) {
        ++clicked;
        delete popup;
    };
    int popupHeight = 0;
    TMenuDriver driver{[&](HWND wnd) {
                           RECT r{};
                           GetClientRect(wnd, &r);
                           popupHeight = r.bottom;
                       },
                       {L'T'}};  // an accelerator chooses the entry
    driver.Start();
    popup->Popup(100, 100);
    EXPECT_EQ(measured, 4);
    EXPECT_GE(drawn, 4);
    EXPECT_TRUE(fontIsMenuFont);
    EXPECT_GE(popupHeight, 120);
    EXPECT_EQ(clicked, 0);  // the command is posted
    Pump();
    EXPECT_EQ(clicked, 1);
}

TEST_F(Menus, ShortCutAndAcceleratorTexts)
{
    EXPECT_TRUE(IsAccel(L'f', "&File"));
    EXPECT_FALSE(IsAccel(L'b', "a&&b"));
    EXPECT_TRUE(IsAccel(L'X', "&&&x"));
    EXPECT_FALSE(IsAccel(L'a', "a&"));

    const struct {
        TShortCut Value;
        const char* Text;
    } kCases[] = {
        {ShortCut('S', ssCtrl), "Ctrl+S"},
        {ShortCut(VK_F4, ssAlt), "Alt+F4"},
        {ShortCut(VK_DELETE, ssShift), "Shift+Del"},
        {ShortCut('1', ssShift | ssCtrl | ssAlt), "Shift+Ctrl+Alt+1"},
        {VK_F12, "F12"},
        {VK_RETURN, "Enter"},
        {0, ""},
        {scCtrl, ""},  // a modifier without a key
    };
    for (const auto& c : kCases) EXPECT_EQ(ShortCutToText(c.Value), c.Text) << c.Value;
}

TEST_F(Menus, ACanvasGivesAForeignDCBackAsItFoundIt)
{
    const HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    const HGDIOBJ font = GetCurrentObject(screen, OBJ_FONT);
    const COLORREF colour = GetTextColor(screen);
    const int mode = GetBkMode(screen);
    {
        TCanvas canvas;
        canvas.SetHandle(screen);
        canvas.Font()->SetHeight(-20);
        canvas.Font()->SetColor(0x0000FF);
        canvas.SetBrushStyle(TBrushStyle::bsClear);
        EXPECT_NE(GetCurrentObject(screen, OBJ_FONT), font);
        EXPECT_EQ(GetTextColor(screen), 0x0000FFu);
        EXPECT_EQ(GetBkMode(screen), TRANSPARENT);
        EXPECT_GT(canvas.TextHeight("Ag"), 15);
    }
    EXPECT_EQ(GetCurrentObject(screen, OBJ_FONT), font);
    EXPECT_EQ(GetTextColor(screen), colour);
    EXPECT_EQ(GetBkMode(screen), mode);
    ReleaseDC(nullptr, screen);
}

TEST_F(Menus, NoMenuOrGdiObjectIsLeft)
{
    TBitmap target;
    target.SetSize(200, 30);
    // A list this menu only uses: the menu's end leaves it alone.
    const HIMAGELIST glyphs = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    ASSERT_NE(glyphs, nullptr);
    {
        TBitmap glyph;
        glyph.SetSize(16, 16);
        ASSERT_EQ(ImageList_AddMasked(glyphs, glyph.Handle(), RGB(255, 0, 255)), 0);
    }
    auto round = [&](std::vector<HMENU>& handles) {
        TForm form(nullptr);
        auto* menu = new TMainMenu(&form);
        auto* popup = new TPopupMenu(&form);
        auto* images = new TImageList(&form);
        images->SetHandle(glyphs, false);
        popup->SetImages(images);
        popup->SetOwnerDraw(true);
        for (TMenu* m : {static_cast<TMenu*>(menu), static_cast<TMenu*>(popup)}) {
            auto* top = new TMenuItem(&form);
            m->Items()->Add(top);
            for (int i = 0; i < 3; ++i) {
                auto* item = new TMenuItem(&form);
                item->SetCaption(i == 1 ? "-" : "item");
                item->SetChecked(i == 2);
                item->SetEnabled(i != 2);
                item->SetImageIndex(0);
                item->SetShortCut(ShortCut('A', ssCtrl));
                top->Add(item);
            }
            handles.push_back(m->Handle());
            handles.push_back(top->Handle());
        }
        form.SetMenu(menu);
        form.HandleNeeded();
        // Drawn (glyphs plain and greyed, a separator) and measured the class
        // library's own way, into a bitmap.
        TMenuItem* top = popup->Items()->Items(0);
        for (int i = 0; i < top->Count(); ++i) {
            const UINT command = top->Items(i)->Command();
            DRAWITEMSTRUCT draw{ODT_MENU, 0, command, ODA_DRAWENTIRE, ODS_SELECTED, nullptr,
                                target.Canvas()->Handle(), {0, 0, 200, 30}, 0};
            EXPECT_TRUE(popup->DispatchDrawItem(draw));
            MEASUREITEMSTRUCT measure{ODT_MENU, 0, command, 0, 0, 0};
            EXPECT_TRUE(popup->DispatchMeasureItem(measure));
            EXPECT_GT(measure.itemHeight, 0u);
        }
        form.DestroyHandle();
        form.DestroyComponents();
    };
    std::vector<HMENU> handles;
    round(handles);
    const int before = GdiObjectCount();
    ASSERT_GE(before, 0) << kNoGdiObjectCount;
    for (int i = 0; i < 50; ++i) round(handles);
    EXPECT_EQ(GdiObjectCount(), before);
    for (HMENU h : handles) EXPECT_FALSE(IsMenu(h));
    EXPECT_EQ(ImageList_GetImageCount(glyphs), 1);  // still a live list
    EXPECT_TRUE(ImageList_Destroy(glyphs));
}

} // namespace
