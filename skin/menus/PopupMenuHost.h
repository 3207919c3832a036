// TPopupMenuHost: what a skinned popup menu needs of the skin manager above
// it. It lives with the menus so that they never see the manager's layer;
// the manager (TSkinManage) implements it and sets PopupMenuHost for its life.
#pragma once

class TPopupMenuHost {
public:
    virtual ~TPopupMenuHost() = default;

    // Skinning is on: a popup paints itself from the skin.
    virtual bool Active() const noexcept = 0;
};

// The manager while it exists, else null.
inline TPopupMenuHost* PopupMenuHost = nullptr;
