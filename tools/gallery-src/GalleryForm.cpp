// The skin gallery's window (GalleryForm.h): its controls, built in code on
// the form read from its stored description, and its menus.
#include "GalleryForm.h"

#include "GalleryControls.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Handles.h"
#include "classlib/StdCtrls.h"
#include "classlib/Text.h"
#include "classlib/portable/TypInfo.h"
#include "skin/adapters/SkinList.h"
#include "skin/adapters/SkinScrollbar.h"
#include "tools/skinpack-src/SkinInvert.h"

#include <cstdio>
#include <exception>
#include <fstream>

namespace {

constexpr int kListRows = 1000;
// A page control whose tabs carry close boxes.
constexpr intptr_t kCloseBoxTag = 7777;

template <class T>
T* Put(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, const std::string& Caption = {})
{
    auto* control = new T(Owner);
    control->SetParent(Parent);
    control->SetBounds(X, Y, W, H);
    if (!Caption.empty()) control->SetCaption(Caption);
    return control;
}

// A label of a fixed size whose text wraps within it.
TLabel* Note(TComponent* Owner, TWinControl* Parent, int X, int Y, int W, int H, const std::string& Text)
{
    auto* label = new TLabel(Owner);
    label->SetParent(Parent);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetBounds(X, Y, W, H);
    label->SetCaption(Text);
    return label;
}

TMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const std::string& Caption, TNotifyEvent OnClick = {})
{
    auto* item = new TMenuItem(Owner);
    item->SetCaption(Caption);
    item->OnClick = std::move(OnClick);
    Parent->Add(item);
    return item;
}

// A 16 x 16 glyph: a green disc on a white ground, which the button leaves
// out (the colour of its lower-left pixel).
void DrawGlyph(TBitmap& Glyph)
{
    Glyph.SetPixelFormat(TPixelFormat::pf24bit);
    Glyph.SetSize(16, 16);
    const HDC dc = Glyph.Canvas()->Handle();
    const RECT all{0, 0, 16, 16};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    const TGdiObject brush(::CreateSolidBrush(RGB(30, 150, 60)));
    const TSelectObject fill(dc, static_cast<HBRUSH>(brush.Get()));
    const TSelectObject pen(dc, ::GetStockObject(NULL_PEN));
    ::Ellipse(dc, 2, 2, 15, 15);
}

}  // namespace

const TClassInfo& TGalleryForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TGalleryForm>("TGalleryForm", TForm::StaticClassInfo())
                                       .Creatable()
                                       .Field("SkinData1", &TGalleryForm::SkinData1)
                                       .Build();
    return info;
}

TGalleryForm::TGalleryForm(TComponent* AOwner) : TForm(AOwner)
{
    MakeMenu();
    MakeStatusBar();
    MakeButtons();
    MakeEdits();
    MakeRanges();
    MakePages();
}

TGalleryForm::~TGalleryForm()
{
    DestroyHandle();
    DestroyComponents();
    for (const std::string& file : {FDefaultFile, FInvertedFile})
        if (!file.empty()) std::remove(file.c_str());
}

void TGalleryForm::Loaded()
{
    TForm::Loaded();
    if (SkinData1 == nullptr) return;
    FDefaultSkin = SkinData1->SkinStream();
    ShowSkinName("default");
    // No class rule takes speed buttons, track bars, progress bars or
    // date-time pickers: the skin component's list of classes names them.
    for (const char* line : {"TSpeedButton=speedbutton", "TTrackBar=trackbar", "TProgressBar=progress",
                             "TDateTimePicker=datetimepicker"})
        SkinData1->Skin3rd()->Add(line);
    // List views (with their header) and scroll-bar controls only when the
    // application hands their adapter over.
    SkinData1->OnSkinControl = [](TComponent*, TSkinData*, TControl*, TControl* Control, const std::string& Class,
                                  TComponent*& Skinned) {
        if (Class == "TLISTVIEW") Skinned = new TSkinListView(Control);
        else if (Class == "TSCROLLBAR") Skinned = new TSkinScControl(Control);
    };
}

// --- menus

void TGalleryForm::MakeMenu()
{
    auto* menu = new TMainMenu(this);
    TMenuItem* skin = AddItem(this, menu->Items(), "&Skin");
    DefaultSkinItem = AddItem(this, skin, "&Default skin", [this](TObject*) { UseDefaultSkin(); });
    DefaultSkinItem->SetDefault(true);
    InvertedSkinItem = AddItem(this, skin, "&Inverted skin", [this](TObject*) { UseInvertedSkin(); });
    AddItem(this, skin, "-");
    TMenuItem* checked = AddItem(this, skin, "&Checked item");
    checked->SetChecked(true);
    checked->OnClick = [checked](TObject*) { checked->SetChecked(!checked->Checked()); };
    AddItem(this, skin, "Disabled item")->SetEnabled(false);
    TMenuItem* pages = AddItem(this, skin, "&Pages");
    AddItem(this, pages, "&First pages", [this](TObject*) { ShowPages(false); });
    AddItem(this, pages, "&Last pages", [this](TObject*) { ShowPages(true); });
    AddItem(this, skin, "-");
    // The class library leaves shortcuts to the system: Alt+F4 closes the window.
    AddItem(this, skin, "E&xit", [this](TObject*) { Close(); })->SetShortCut(ShortCut(VK_F4, ssAlt));

    TMenuItem* help = AddItem(this, menu->Items(), "&Help");
    AddItem(this, help, "&About", [this](TObject*) {
        AppMessageBox(Handle(),
                      "Skin gallery: a control of every kind the skin engine has an adapter for, "
                      "skinned by the default skin or its inverted copy.",
                      "About the skin gallery", MB_OK | MB_ICONINFORMATION);
    });
    SetMenu(menu);
}

void TGalleryForm::ShowMemoMenu(POINT At)
{
    if (FMemoMenu == nullptr) {
        FMemoMenu = new TPopupMenu(this);
        TMenuItem* items = FMemoMenu->Items();
        AddItem(this, items, "Select &all", [this](TObject*) { FMemo->SelectAll(); });
        AddItem(this, items, "&Copy", [this](TObject*) { ::SendMessageW(FMemo->Handle(), WM_COPY, 0, 0); });
        AddItem(this, items, "-");
        AddItem(this, items, "Add a &line", [this](TObject*) {
            FMemo->Lines()->Add("A line added from the memo's own menu.");
        });
        AddItem(this, items, "C&lear", [this](TObject*) { FMemo->Lines()->Clear(); });
    }
    if (At.x == -1 && At.y == -1) At = FMemo->ClientToScreen({8, 8});
    FMemoMenu->Popup(At.x, At.y);
}

// --- controls

void TGalleryForm::MakeStatusBar()
{
    FStatusBar = new TStatusBar(this);
    FStatusBar->SetParent(this);
    FStatusBar->SetAlign(TAlign::alBottom);
    FStatusBar->SetHeight(22);
    for (const auto& [text, width] : {std::pair{"Skin: default", 260}, {"1,000 rows in the list view", 200},
                                      {"Right-click the memo for its menu", 260}}) {
        TStatusPanel* panel = FStatusBar->Panels()->Add();
        panel->SetText(text);
        panel->SetWidth(width);
    }
}

void TGalleryForm::ShowSkinName(const std::string& Name)
{
    FStatusBar->Panels()->Items(0)->SetText("Skin: " + Name);
    DefaultSkinItem->SetChecked(Name == "default");
    InvertedSkinItem->SetChecked(Name == "inverted");
}

void TGalleryForm::MakeButtons()
{
    auto* box = Put<TGroupBox>(this, this, 8, 8, 240, 196, "Buttons");
    Put<TButton>(this, box, 12, 20, 104, 25, "&Button");
    Put<TButton>(this, box, 124, 20, 104, 25, "Disabled")->SetEnabled(false);
    auto* bit = Put<TBitBtn>(this, box, 12, 52, 104, 30, "Bit b&utton");
    DrawGlyph(*bit->Glyph());
    auto* bitOff = Put<TBitBtn>(this, box, 124, 52, 104, 30, "Disabled");
    DrawGlyph(*bitOff->Glyph());
    bitOff->SetEnabled(false);
    Put<TCheckBox>(this, box, 12, 92, 104, 17, "&Check box")->SetChecked(true);
    auto* grayed = Put<TCheckBox>(this, box, 124, 92, 104, 17, "Grayed");
    grayed->SetAllowGrayed(true);
    grayed->SetState(TCheckBoxState::cbGrayed);
    Put<TCheckBox>(this, box, 12, 114, 17, 17)->SetChecked(true);
    Put<TCheckBox>(this, box, 36, 114, 17, 17);
    Note(this, box, 60, 115, 150, 15, "check boxes without caption");
    Put<TRadioButton>(this, box, 12, 140, 104, 17, "&Radio button")->SetChecked(true);
    Put<TRadioButton>(this, box, 124, 140, 104, 17, "Another");
    Put<TRadioButton>(this, box, 12, 164, 17, 17);
    Note(this, box, 36, 165, 150, 15, "radio without caption");

    auto* panel = Put<TPanel>(this, this, 8, 212, 240, 64);
    for (const auto& [x, caption] : {std::pair{8, "Left"}, {62, "Middle"}, {116, "Right"}}) {
        auto* speed = Put<TSpeedButton>(this, panel, x, 8, 54, 25, caption);
        speed->SetGroupIndex(1);
        speed->SetDown(x == 8);
        SpeedButtons.push_back(speed);
    }
    auto* flat = Put<TSpeedButton>(this, panel, 178, 8, 54, 25, "Flat");
    flat->SetFlat(true);
    SpeedButtons.push_back(flat);
    Note(this, panel, 8, 40, 220, 15, "speed buttons in a group on a panel");

    Note(this, this, 8, 284, 200, 15, "Media player:");
    Put<TGalleryMediaPlayer>(this, this, 8, 300, 240, 30);
}

void TGalleryForm::MakeEdits()
{
    auto* box = Put<TGroupBox>(this, this, 256, 8, 250, 360, "Edits and lists");
    Put<TEdit>(this, box, 12, 20, 226, 21, "Edit box");
    Put<TEdit>(this, box, 12, 48, 104, 21, "Disabled")->SetEnabled(false);
    Put<TEdit>(this, box, 124, 48, 96, 21, "42");
    auto* spin = Put<TUpDown>(this, box, 220, 48, 17, 21);
    spin->SetPosition(42);
    const struct {
        TComboBoxStyle Style;
        int Height;
        const char* Text;
    } combos[] = {{TComboBoxStyle::csDropDown, 21, "Drop-down"},
                  {TComboBoxStyle::csDropDownList, 21, "Drop-down list"},
                  {TComboBoxStyle::csSimple, 72, "Simple"}};
    int y = 76;
    for (const auto& c : combos) {
        auto* combo = Put<TComboBox>(this, box, 12, y, 226, c.Height);
        combo->SetStyle(c.Style);
        combo->Items()->Add(c.Text);
        for (int i = 1; i <= 12; ++i) combo->Items()->Add(std::string(c.Text) + " item " + std::to_string(i));
        combo->SetItemIndex(0);
        combo->SetText(c.Text);  // an editable box shows its text, not its choice
        y += c.Height + 7;
    }
    Put<TDateTimePicker>(this, box, 12, y, 226, 21);
    auto* list = Put<TGalleryListBox>(this, box, 12, y + 28, 226, 360 - y - 40);
    for (int i = 1; i <= 40; ++i) list->Items.push_back(L"List box line " + std::to_wstring(i));

    FMemo = Put<TGalleryMemo>(this, this, 256, 376, 250, 236);
    FMemo->SetScrollBars(TScrollStyle::ssBoth);
    for (int i = 1; i <= 40; ++i)
        FMemo->Lines()->Add("Memo line " + std::to_string(i) +
                            ": long enough to need the horizontal scroll bar as well as the vertical one");
    FMemo->OnContextMenu = [this](POINT At) { ShowMemoMenu(At); };
}

void TGalleryForm::MakeRanges()
{
    auto* track = Put<TTrackBar>(this, this, 8, 338, 240, 36);
    track->SetPosition(3);
    auto* progress = Put<TProgressBar>(this, this, 8, 382, 240, 16);
    progress->SetPosition(40);
    auto* ranged = Put<TProgressBar>(this, this, 8, 406, 240, 16);
    ranged->SetRange(50, 150);
    ranged->SetPosition(120);
    auto* bar = Put<TScrollBar>(this, this, 8, 430, 240, 17);
    bar->SetPageSize(20);
    bar->SetPosition(30);

    auto* vtrack = Put<TTrackBar>(this, this, 8, 456, 36, 156);
    vtrack->SetOrientation(TRangeOrientation::roVertical);
    vtrack->SetPosition(7);
    auto* vprogress = Put<TProgressBar>(this, this, 52, 456, 16, 156);
    vprogress->SetOrientation(TRangeOrientation::roVertical);
    vprogress->SetPosition(60);
    auto* vbar = Put<TScrollBar>(this, this, 76, 456, 17, 156);
    vbar->SetKind(TScrollBarKind::sbVertical);
    vbar->SetPageSize(10);
    Note(this, this, 104, 456, 140, 60, "track bars, progress bars (one from 50 to 150) and scroll bars");
}

void TGalleryForm::MakePages()
{
    const struct {
        int X, Y, W, H;
        int Side;  // 0 top, 1 bottom, 2 left, 3 right
        TTabStyle Style;
        intptr_t Tag;
        const char* Title;
    } rows[] = {{514, 8, 230, 110, 0, TTabStyle::tsTabs, 0, "Tabs on top"},
                {752, 8, 230, 110, 1, TTabStyle::tsTabs, 0, "Tabs at the bottom"},
                {514, 126, 230, 110, 2, TTabStyle::tsTabs, 0, "Tabs on the left"},
                {752, 126, 230, 110, 3, TTabStyle::tsTabs, 0, "Tabs on the right"},
                {514, 244, 230, 90, 0, TTabStyle::tsTabs, kCloseBoxTag, "Close boxes"},
                {752, 244, 230, 90, 0, TTabStyle::tsButtons, 0, "Button tabs"}};
    for (const auto& row : rows) {
        TPageControl* pages = row.Side >= 2 ? new TSidePageControl(this, row.Side == 3) : new TPageControl(this);
        pages->SetParent(this);
        pages->SetBounds(row.X, row.Y, row.W, row.H);
        pages->SetTabPosition(row.Side == 1 ? TTabPosition::tpBottom : TTabPosition::tpTop);
        pages->SetStyle(row.Style);
        pages->SetTag(row.Tag);
        for (const char* caption : {"One", "Two", "Three"}) {
            auto* page = new TTabSheet(this);
            page->SetParent(pages);
            page->SetCaption(caption);
            Note(this, page, 8, 8, 180, 15, std::string(row.Title) + ": page " + caption);
        }
        FPageControls.push_back(pages);
    }
    auto* list = new TGalleryListView(this, kListRows);
    list->SetParent(this);
    list->SetBounds(514, 342, 468, 270);
}

void TGalleryForm::ShowPages(bool Last)
{
    for (TPageControl* pages : FPageControls)
        if (pages->PageCount() > 0) pages->SetActivePage(pages->Pages(Last ? pages->PageCount() - 1 : 0));
}

// --- skins

std::string TGalleryForm::WriteTempSkin(const std::vector<uint8_t>& Bytes)
{
    wchar_t dir[MAX_PATH] = {}, path[MAX_PATH] = {};
    if (::GetTempPathW(MAX_PATH, dir) == 0 || ::GetTempFileNameW(dir, L"skn", 0, path) == 0) return {};
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    return out ? WideToText(path) : std::string{};
}

bool TGalleryForm::UseSkinFile(const std::string& Name)
{
    SkinData1->SetSkinFile(Name);
    if (SkinData1->LastLoadResult() != TSkinLoadResult::lrLoaded) return false;
    ShowSkinName(Name == FDefaultFile ? "default" : Name == FInvertedFile ? "inverted" : Name);
    return true;
}

bool TGalleryForm::UseDefaultSkin()
{
    if (FDefaultFile.empty()) FDefaultFile = WriteTempSkin(FDefaultSkin);
    return UseSkinFile(FDefaultFile);
}

bool TGalleryForm::UseInvertedSkin()
{
    if (FInvertedFile.empty()) {
        try {
            FInvertedFile = WriteTempSkin(InvertedSkin(SkinEntriesOf(FDefaultSkin)));
        } catch (const std::exception&) {
            return false;
        }
    }
    return UseSkinFile(FInvertedFile);
}

void RegisterGalleryClasses()
{
    RegisterComponentClass(TGalleryForm::StaticClassInfo());
    RegisterComponentClass(TSkinData::StaticClassInfo());
}

TGalleryForm* CreateGallery()
{
    TGalleryForm* form = nullptr;
    Application->CreateForm(form);
    return form;
}
