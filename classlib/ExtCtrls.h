// TPanel: a raised box with a centred caption that holds other controls.
#pragma once

#include "Controls.h"

class TCustomPanel : public TWinControl {
public:
    DECLARE_CLASS_INFO()
    explicit TCustomPanel(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
};

class TPanel : public TCustomPanel {
public:
    DECLARE_CLASS_INFO()
    using TCustomPanel::TCustomPanel;
};

void RegisterExtControls();
