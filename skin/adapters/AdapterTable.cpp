// The table from adapter kind to maker: one line per kind that has an
// adapter. Each adapter family includes its header here and adds its lines.
#include "skin/adapters/AdapterTable.h"

#include "skin/adapters/SkinBoxes.h"
#include "skin/adapters/SkinButton.h"
#include "skin/adapters/SkinCheck.h"
#include "skin/adapters/SkinControl.h"
#include "skin/adapters/SkinEdit.h"
#include "skin/adapters/SkinList.h"
#include "skin/adapters/SkinRange.h"
#include "skin/adapters/SkinScrollbar.h"
#include "skin/adapters/SkinMediaPlayer.h"
#include "skin/adapters/SkinSpeedButton.h"
#include "skin/adapters/SkinTab.h"

namespace {

TAdapterMaker gOverride = nullptr;

TSkinControl* MakeAdvPage(TComponent* Owner, const TAdapterRequest& Request)
{
    return new TSkinAdvPage(Owner, Request.Variant == TAdapterVariant::avTabImages ? pkTabImages : pkOther);
}

TSkinControl* MakeObjImage(TComponent* Owner, const TAdapterRequest& Request)
{
    switch (Request.Variant) {
    case TAdapterVariant::avCheckGlyphs: return new TSkinObjImage(Owner, gkCheckBox);
    case TAdapterVariant::avRadioGlyphs: return new TSkinObjImage(Owner, gkRadioButton);
    case TAdapterVariant::avPropertyGlyphs: return new TSkinObjImage(Owner, gkGlyphProperty);
    default: return new TSkinObjImage(Owner, 0);  // a kind it does not know: it hands over no glyphs
    }
}

TSkinControl* MakeBitButton(TComponent* Owner, const TAdapterRequest& Request)
{
    return new TSkinBitButton(Owner, Request.Variant == TAdapterVariant::avPngGlyph ? gsPngImage : gsGlyph);
}

}  // namespace

TAdapterMaker AdapterMaker(TAdapterKind Kind)
{
    if (gOverride != nullptr) return Kind == TAdapterKind::akNone ? nullptr : gOverride;
    switch (Kind) {
    case TAdapterKind::akTab: return &MakeAdapter<TSkinTab>;
    case TAdapterKind::akTabBtn: return &MakeAdapter<TSkinTabBtn>;
    case TAdapterKind::akTab31: return &MakeAdapter<TSkinTab31>;
    case TAdapterKind::akAdvPage: return &MakeAdvPage;
    case TAdapterKind::akStatusBar: return &MakeAdapter<TSkinStatusBar>;
    case TAdapterKind::akGroupBox: return &MakeAdapter<TSkinGroupBox>;
    case TAdapterKind::akBox: return &MakeAdapter<TSkinBox>;
    case TAdapterKind::akTabSheet: return &MakeAdapter<TSkinTabSheet>;
    case TAdapterKind::akSizer: return &MakeAdapter<TSkinSizer>;
    case TAdapterKind::akBoxH: return &MakeAdapter<TSkinBoxH>;
    case TAdapterKind::akObjImage: return &MakeObjImage;
    // buttons, check boxes, radio buttons
    case TAdapterKind::akButton: return &MakeAdapter<TSkinButton>;
    case TAdapterKind::akBitButton: return &MakeBitButton;
    case TAdapterKind::akMenuButton: return &MakeAdapter<TSkinMenuButton>;
    case TAdapterKind::akCheckBox: return &MakeAdapter<TSkinCheckBox>;
    case TAdapterKind::akRadioButton: return &MakeAdapter<TSkinRadioButton>;
    // speed buttons, media players
    case TAdapterKind::akSpeedButton: return &MakeAdapter<TSkinSpeedButton>;
    case TAdapterKind::akMediaPlayer: return &MakeAdapter<TSkinMP>;
    // scroll bars
    case TAdapterKind::akScrollbar: return &MakeAdapter<TSkinScrollbar>;
    // range controls, edits, combo boxes, date-time pickers
    case TAdapterKind::akTrackBar: return &MakeAdapter<TSkinTrackBar>;
    case TAdapterKind::akUpDown: return &MakeAdapter<TSkinUpDown>;
    case TAdapterKind::akProgress: return &MakeAdapter<TSkinProgress>;
    case TAdapterKind::akEdit: return &MakeAdapter<TSkinEdit>;
    case TAdapterKind::akComboBox: return &MakeAdapter<TSkinComBox>;
    case TAdapterKind::akDateTime: return &MakeAdapter<TSkinDateTime>;
    // list views (their headers are attached by the list view's adapter)
    case TAdapterKind::akListView: return &MakeAdapter<TSkinListView>;
    default:
        return nullptr;
    }
}

const char* AdapterKindName(TAdapterKind Kind)
{
    switch (Kind) {
    case TAdapterKind::akNone: return "none";
    case TAdapterKind::akTab: return "tab";
    case TAdapterKind::akTabBtn: return "tabbtn";
    case TAdapterKind::akTab31: return "tab31";
    case TAdapterKind::akTabSheet: return "tabsheet";
    case TAdapterKind::akAdvPage: return "advpage";
    case TAdapterKind::akCheckBox: return "checkbox";
    case TAdapterKind::akRadioButton: return "radiobutton";
    case TAdapterKind::akUpDown: return "updown";
    case TAdapterKind::akMediaPlayer: return "mediaplayer";
    case TAdapterKind::akBox: return "box";
    case TAdapterKind::akObjImage: return "objimage";
    case TAdapterKind::akGroupBox: return "groupbox";
    case TAdapterKind::akStatusBar: return "statusbar";
    case TAdapterKind::akComboBox: return "combobox";
    case TAdapterKind::akScrollbar: return "scrollbar";
    case TAdapterKind::akBitButton: return "bitbutton";
    case TAdapterKind::akMenuButton: return "menubutton";
    case TAdapterKind::akButton: return "button";
    case TAdapterKind::akEdit: return "edit";
    case TAdapterKind::akTrackBar: return "trackbar";
    case TAdapterKind::akDateTime: return "datetime";
    case TAdapterKind::akProgress: return "progress";
    case TAdapterKind::akSpeedButton: return "speedbutton";
    case TAdapterKind::akSizer: return "sizer";
    case TAdapterKind::akBoxH: return "boxh";
    case TAdapterKind::akListView: return "listview";
    }
    return "?";
}

TAdapterMakerOverride::TAdapterMakerOverride(TAdapterMaker Maker) : FPrevious(gOverride)
{
    gOverride = Maker;
}

TAdapterMakerOverride::~TAdapterMakerOverride()
{
    gOverride = FPrevious;
}
