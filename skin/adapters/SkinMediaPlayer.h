// The media-player adapter. TSkinMP lays a panel of its own, TWMediaPlayer,
// exactly over the player and keeps it on the player's place and visibility;
// the panel draws the player's visible buttons from the skin's [Buttons]
// strip, each with its image from the program's bitmap resources when there
// is one (this program holds none), and passes the left mouse button on to
// the player at the same point while the player is enabled (a release after
// a press it took, always). While the skin has no strip the panel hides and
// the player shows itself. The panel belongs to the adapter: it goes with
// it, with the player's window and when unskinned, and never reads a player
// that is gone.
#pragma once

#include "classlib/Canvas.h"
#include "classlib/ExtCtrls.h"
#include "skin/adapters/SkinControl.h"

#include <array>

// The player's buttons, in the order its button sets name them.
enum class TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
constexpr int kMPButtonCount = 9;
// No button (a hit between or beyond them).
constexpr int kMPNoButton = kMPButtonCount;
// A button's images: enabled, disabled, coloured.
constexpr int kMPImageCount = 3;

class TSkinMP;

class TWMediaPlayer : public TCustomPanel, public TSkinObject {
public:
    DECLARE_CLASS_INFO()
    TWMediaPlayer();

    // Lays the panel over Player (same parent, same bounds, its visibility),
    // out of reach of the form's child skinning.
    void Attach(TWinControl& Player, TSkinData& SkinData);
    // Forgets the player and hides: nothing of it is read from now on.
    void Detach();
    // The player's bounds and visibility again (hidden without a strip).
    void FollowPlayer();
    // The skin has a strip to draw the buttons from.
    bool HasStrip() const;

    // The visible button under X (client coordinates), the left one on a
    // shared edge; kMPNoButton for none.
    int ButtonAt(int X);
    int VisibleCount() const noexcept { return FVisibleCount; }
    int ButtonWidth() const noexcept { return FButtonWidth; }

protected:
    void PaintWindow(HDC DC) override;

private:
    struct TButtonState {
        bool IsVisible = false;
        bool IsEnabled = false;
        bool IsColored = false;
    };
    // The player's three button sets, read by name, and the button width.
    void ReadButtons();
    // The bitmap resources "EN_MPPLAY" ... "CL_MPEJECT"; a missing one stays empty.
    void LoadImages();
    // Button Index's image by its state, centred on Rect (one pixel right and
    // down when pressed), olive left out.
    void DrawImage(HDC DC, const RECT& Rect, int Index, bool Pressed);
    // The panel's messages come through the kernel, as every skinned window's.
    void HandleMessage(TMessage& Message);
    void MouseButton(TMessage& Message);

    // Each button's look is its own, not the panel's: pressed while the
    // press on it lasts, disabled by the player's set.
    std::array<TButtonState, kMPButtonCount> FButtons{};
    std::array<std::array<TBitmap, kMPImageCount>, kMPButtonCount> FImages;
    int FVisibleCount = 0;
    int FButtonWidth = 0;
    TSkinData* FSkinData = nullptr;
    bool FPressed = false;
    int FPressedIndex = kMPNoButton;
    int FHitIndex = kMPNoButton;
    TWinControl* FMediaPlayer = nullptr;
    TBitmap FImage;  // the buttons composed before one copy; kept while the size stays
    TWindowProcHook FHook;
};

class TSkinMP : public TSkinControl {
public:
    explicit TSkinMP(TComponent* AOwner) : TSkinControl(AOwner) {}
    ~TSkinMP() override;

    bool InitSkin(TAdapterHost* Form, TSkinData* SkinData, bool ChangeColor) override;
    void Unskin() override;
    // The panel too is drawn from the new skin.
    void UpdateSkin() override;
    // The overlay panel, or null.
    TWMediaPlayer* Player() const noexcept { return FPlayer; }

protected:
    bool BeforeProc(TMessage& Message) override;
    void AfterProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The player paints itself, under the panel that draws the skin's buttons.
    TPaintWay PaintWay() const override { return pwNative; }

private:
    // Lets go of the panel: detached at once, freed when its messages end.
    void ReleasePanel();

    TWMediaPlayer* FPlayer = nullptr;
};
