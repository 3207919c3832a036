// The kinds of control adapter the child-control dispatch chooses, and the
// one table from kind to maker (AdapterTable.cpp). A family of adapters adds
// its rows there; a kind without a maker leaves its controls their own look.
#pragma once

class TComponent;
class TSkinControl;

enum class TAdapterKind {
    akNone,
    akTab,            // tab controls and page controls with tabs
    akTabBtn,         // page controls with button-style tabs
    akTab31,          // the older tab set
    akTabSheet,       // a page of a page control
    akAdvPage,        // page controls of other libraries with bitmap properties
    akCheckBox,
    akRadioButton,
    akUpDown,
    akMediaPlayer,
    akBox,            // panels and containers: recoloured
    akObjImage,       // other libraries' check and radio buttons with glyph strips
    akGroupBox,
    akStatusBar,
    akComboBox,
    akScrollbar,      // controls with scroll bars of their own
    akBitButton,
    akMenuButton,
    akButton,
    akEdit,
    akTrackBar,
    akDateTime,
    akProgress,
    akSpeedButton,
    akSizer,          // raw size boxes and size grips
    akBoxH,           // raw dialog windows inside a skinned window
    akListView,       // list views, only when OnSkinControl asks (no class rule)
};

// A kind's own choice of what its adapter does; its maker turns it into the
// family's own terms. avNone for every kind that has no choice.
enum class TAdapterVariant {
    avNone,
    avCheckGlyphs,     // akObjImage: a check box taking a glyph strip
    avRadioGlyphs,     // akObjImage: a radio button taking one
    avPropertyGlyphs,  // akObjImage: the third library's, taking a glyph property
    avTabImages,       // akAdvPage: the page control that takes tab images
    avPngGlyph,        // akBitButton: its glyph is the graphic property "PngImage"
};

// What the dispatch asks of a maker. The adapter's Mode (a family's own
// enum: a single scroll bar, a tab control that is no page control) is set
// by the dispatch before attaching; an adapter whose attach differs from the
// base's overrides InitSkin.
struct TAdapterRequest {
    TAdapterKind Kind = TAdapterKind::akNone;
    TAdapterVariant Variant = TAdapterVariant::avNone;
};

// A new adapter owned by Owner (freed with it), not attached yet.
using TAdapterMaker = TSkinControl* (*)(TComponent* Owner, const TAdapterRequest& Request);

// The maker of Kind, or null when that kind has none.
TAdapterMaker AdapterMaker(TAdapterKind Kind);
const char* AdapterKindName(TAdapterKind Kind);

// Tests: every kind made by Maker until the guard goes.
class TAdapterMakerOverride {
public:
    explicit TAdapterMakerOverride(TAdapterMaker Maker);
    ~TAdapterMakerOverride();
    TAdapterMakerOverride(const TAdapterMakerOverride&) = delete;
    TAdapterMakerOverride& operator=(const TAdapterMakerOverride&) = delete;

private:
    TAdapterMaker FPrevious;
};

// The maker of an adapter class that needs nothing of the request.
template <class T>
TSkinControl* MakeAdapter(TComponent* Owner, const TAdapterRequest&)
{
    return new T(Owner);
}
