// Common controls: TPageControl (superclass of the system tab control) with
// its TTabSheet pages, and TStatusBar with its panels. Pages are child
// windows of the page control; only the active page is shown. Page controls
// and their sheets take their parent's colour, so a form recoloured (by a
// skin) is so on every page.
#pragma once

#include "Canvas.h"
#include "Controls.h"

#include <memory>
#include <vector>

class TTabSheet;

enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };
extern const TEnumInfo kTabStyleInfo;
enum class TTabPosition { tpTop, tpBottom };
extern const TEnumInfo kTabPositionInfo;

class TCustomTabControl : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomTabControl(TComponent* AOwner);

    TTabStyle Style() const noexcept { return FStyle; }
    void SetStyle(TTabStyle value) { FStyle = value; }
    TTabPosition TabPosition() const noexcept { return FTabPosition; }
    void SetTabPosition(TTabPosition value) { FTabPosition = value; }

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    TTabStyle FStyle = TTabStyle::tsTabs;
    TTabPosition FTabPosition = TTabPosition::tpTop;
};

class TPageControl : public TCustomTabControl {
public:
    DECLARE_CLASS_INFO()
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const noexcept { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int Index) const { return FPages.at(static_cast<size_t>(Index)); }
    TTabSheet* ActivePage() const noexcept { return FActivePage; }
    // A page of another page control, or none, is refused with EInvalidOperation.
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const noexcept;
    // The next page (the previous one with GoForward false), round the end,
    // as a click on its tab would make it: OnChange follows.
    void SelectNextPage(bool GoForward);
    void ShowControl(TControl* AControl) override;

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void AlignControls(RECT& Rect) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void UpdateTab(TTabSheet* Page);
    void ShowActivePage();
    bool HasFocusWithin() const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

class TTabSheet : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const noexcept { return FPageControl; }
    int PageIndex() const;
    void SetParent(TWinControl* AParent) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
};

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
extern const TEnumInfo kAlignmentInfo;
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };
extern const TEnumInfo kStatusPanelBevelInfo;
// psOwnerDraw panels are drawn by the bar's OnDrawPanel.
enum class TStatusPanelStyle { psText, psOwnerDraw };
extern const TEnumInfo kStatusPanelStyleInfo;

class TCustomStatusBar;

// One part of a status bar; a change shows at once.
class TStatusPanel : public TPersistent {
public:
    DECLARE_CLASS_INFO()
    TStatusPanel(TCustomStatusBar& Bar, int Index) : FBar(&Bar), FIndex(Index) {}

    int Index() const noexcept { return FIndex; }
    const std::string& Text() const noexcept { return FText; }
    void SetText(const std::string& Value);
    int32_t Width() const noexcept { return FWidth; }
    void SetWidth(int32_t Value);
    TAlignment Alignment() const noexcept { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TStatusPanelBevel Bevel() const noexcept { return FBevel; }
    void SetBevel(TStatusPanelBevel Value);
    TStatusPanelStyle Style() const noexcept { return FStyle; }
    void SetStyle(TStatusPanelStyle Value);
    TBiDiMode BiDiMode() const noexcept { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value) noexcept { FBiDiMode = Value; }

private:
    void Changed();

    TCustomStatusBar* FBar;
    int FIndex;
    std::string FText;
    int32_t FWidth = 50;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TStatusPanelBevel FBevel = TStatusPanelBevel::pbLowered;
    TStatusPanelStyle FStyle = TStatusPanelStyle::psText;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
};

class TStatusPanels {
public:
    explicit TStatusPanels(TCustomStatusBar& Bar) : FBar(Bar) {}

    int Count() const noexcept { return static_cast<int>(FItems.size()); }
    // Raises ERangeError for an index out of range.
    TStatusPanel* Items(int Index) const;
    TStatusPanel* Add();
    void Clear();

private:
    TCustomStatusBar& FBar;
    std::vector<std::unique_ptr<TStatusPanel>> FItems;
};

// Rect is the panel's inside, in the coordinates of the bar's Canvas.
using TDrawPanelEvent = std::function<void(TCustomStatusBar* StatusBar, TStatusPanel* Panel, const RECT& Rect)>;

class TCustomStatusBar : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomStatusBar(TComponent* AOwner);
    ~TCustomStatusBar() override;

    TStatusPanels* Panels() const noexcept { return FPanels.get(); }
    // One text over the whole bar instead of the panels.
    bool SimplePanel() const noexcept { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const std::string& SimpleText() const noexcept { return FSimpleText; }
    void SetSimpleText(const std::string& Value);
    // The DC of a panel being drawn (OnDrawPanel); without one otherwise.
    TCanvas* Canvas() const noexcept { return FCanvas.get(); }
    // OnDrawPanel for Panel with Canvas on DC; Rect in DC's coordinates.
    void DrawPanel(HDC DC, TStatusPanel* Panel, const RECT& Rect);

    TDrawPanelEvent OnDrawPanel;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;

private:
    friend class TStatusPanel;
    friend class TStatusPanels;
    // The window's parts, texts and mode as the panels say.
    void UpdatePanels();
    void UpdatePanel(const TStatusPanel& Panel);
    // The size grip's part of the bar, and the window it sizes (null while
    // that cannot be sized: no sizing frame, maximized or minimized).
    bool OverSizeGrip(LPARAM ScreenPoint) const;
    HWND SizedWindow() const;

    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    std::string FSimpleText;
    // Shared with a drawing under way: a handler may free the bar.
    std::shared_ptr<TCanvas> FCanvas;
};

class TStatusBar : public TCustomStatusBar {
public:
    DECLARE_CLASS_INFO()
    using TCustomStatusBar::TCustomStatusBar;
};

enum class TRangeOrientation { roHorizontal, roVertical };
extern const TEnumInfo kRangeOrientationInfo;

// A control showing Position within Min..Max (a track bar, an up-down, a
// progress bar); the window keeps the position once it exists.
class TRangeControl : public TWinControl {
public:
    DECLARE_CLASS_INFO()

    int32_t Min() const noexcept { return FMin; }
    int32_t Max() const noexcept { return FMax; }
    void SetRange(int32_t AMin, int32_t AMax);
    void SetMin(int32_t value) { SetRange(value, FMax); }
    void SetMax(int32_t value) { SetRange(FMin, value); }
    int32_t Position() const;
    void SetPosition(int32_t value);
    TRangeOrientation Orientation() const noexcept { return FOrientation; }
    // Takes effect when the window is made.
    void SetOrientation(TRangeOrientation value) { FOrientation = value; }

protected:
    TRangeControl(TComponent* AOwner, int32_t AMax);
    void CreateWnd() override;
    // The window's own messages for the range and the position.
    virtual void SendRange(HWND Window) const = 0;
    virtual void SendPosition(HWND Window, int32_t Value) const = 0;
    virtual int32_t ReadPosition(HWND Window) const = 0;

private:
    int32_t FMin = 0, FMax;
    int32_t FPosition = 0;
    TRangeOrientation FOrientation = TRangeOrientation::roHorizontal;
};

#define RANGE_CONTROL(Class)                                                  \
    class Class : public TRangeControl {                                      \
    public:                                                                   \
        DECLARE_CLASS_INFO()                                                  \
        explicit Class(TComponent* AOwner);                                   \
                                                                              \
    protected:                                                                \
        void CreateParams(TCreateParams& Params) override;                    \
        void SendRange(HWND Window) const override;                           \
        void SendPosition(HWND Window, int32_t Value) const override;         \
        int32_t ReadPosition(HWND Window) const override;                     \
    };
RANGE_CONTROL(TTrackBar)
RANGE_CONTROL(TUpDown)
RANGE_CONTROL(TProgressBar)
#undef RANGE_CONTROL

// The system date-time picker: a date field with a drop button that opens a calendar.
class TDateTimePicker : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TDateTimePicker(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
};

void RegisterComControls();
