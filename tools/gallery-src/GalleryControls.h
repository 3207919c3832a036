// Controls the class library does not have, made for the skin gallery the
// way the adapter tests make theirs: a system control (or one that paints
// itself) under the class name the skin engine's dispatch knows, and the few
// class-library controls the gallery needs a little more of.
#pragma once

#include "classlib/ComCtrls.h"
#include "classlib/Controls.h"
#include "classlib/StdCtrls.h"
#include "tests/support/TestListView.h"

#include <functional>
#include <string>
#include <vector>

// "TListBox": the system list box with its vertical scroll bar, which is
// what the dispatch skins it by.
class TGalleryListBox : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TGalleryListBox(TComponent* AOwner);

    // The lines the window is filled with when it is made.
    std::vector<std::wstring> Items;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
};

// "TMediaPlayer": a row of push buttons that only show themselves, with the
// button sets the media-player adapter reads by name.
class TGalleryMediaPlayer : public TCustomControl {
public:
    DECLARE_CLASS_INFO()
    explicit TGalleryMediaPlayer(TComponent* AOwner);

    std::string VisibleButtons = "[btPlay,btPause,btStop,btNext,btPrev]";
    std::string EnabledButtons = "[btPlay,btStop,btNext,btPrev]";
    std::string ColoredButtons = "[]";

protected:
    void Paint() override;
};

// A page control with its tabs on the left or on the right side (the class
// library's page control has them on top or at the bottom only).
class TSidePageControl : public TPageControl {
public:
    TSidePageControl(TComponent* AOwner, bool Right) : TPageControl(AOwner), FRight(Right) {}

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    bool FRight;
};

// A memo that hands its context-menu request (screen point; -1, -1 from the
// keyboard) to the form instead of showing the system's edit menu.
class TGalleryMemo : public TMemo {
public:
    using TMemo::TMemo;
    std::function<void(POINT At)> OnContextMenu;

protected:
    void WndProc(TMessage& Message) override;
};

// The report-style list view with three columns and Rows rows, filled
// whenever its window is made.
class TGalleryListView : public TTestListView {
public:
    TGalleryListView(TComponent* AOwner, int Rows) : TTestListView(AOwner), FRows(Rows) {}

protected:
    void CreateWnd() override;

private:
    int FRows;
};
