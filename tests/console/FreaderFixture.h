// A TFreader read from the program's own resource and shown, with helpers
// that drive its controls through their windows the way a user does, and a
// record of the message boxes shown meanwhile.
#pragma once

#include "console/Ureader.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

struct TShownBox {
    HWND Owner;
    std::wstring Text;
    std::wstring Caption;
    UINT Flags;
};

class FreaderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static void Pump();
    // Delivers messages until Done answers true; false when the time is up.
    static bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs = 5000);
    // A mouse click on a button, check box or radio button.
    static void Click(TWinControl* Control);
    // Keyboard focus moves to the control (the previous one is left).
    static void Focus(TWinControl* Control);
    // Characters typed into the focused edit or combo box, after selecting
    // what it holds so that they replace it.
    static void Type(TWinControl* Control, const std::wstring& Text);
    static void Key(TWinControl* Control, UINT VirtualKey);
    static std::wstring WindowText(TWinControl* Control);
    // "COM" and "open" with the port box as it is (AUTO: COM1).
    void OpenPort();

    TFreader* Form = nullptr;
    std::vector<TShownBox> Boxes;
};
