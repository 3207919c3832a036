// TSkinData: the skin component placed on the main window. For now it only
// carries its Active switch, so that stored descriptions can create it.
#pragma once

#include "classlib/portable/Classes.h"

class TSkinData : public TComponent {
public:
    DECLARE_CLASS_INFO()

    explicit TSkinData(TComponent* AOwner);

    bool Active() const noexcept { return FActive; }
    void SetActive(bool value) noexcept { FActive = value; }

private:
    bool FActive = false;
};
