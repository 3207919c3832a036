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

// What the dispatch asks of a maker. Variant carries the kind's own choice:
// the glyph kind of akObjImage (1 check, 2 radio, 3 the third library's),
// the page kind of akAdvPage (4), 1 for akBitButton whose glyph is the
// "PngImage" property. The adapter's Mode (a single scroll bar: 1, a tab
// control that is no page control: 2) is set by the dispatch before attaching;
// an adapter whose attach differs from the base's overrides InitSkin.
struct TAdapterRequest {
    TAdapterKind Kind = TAdapterKind::akNone;
    int Variant = 0;
};

// A new adapter owned by Owner (freed with it), not attached yet.
using TAdapterMaker = TSkinControl* (*)(TComponent* Owner, const TAdapterRequest& Request);

// The maker of Kind, or null when that kind has none (yet).
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
