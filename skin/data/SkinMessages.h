// The skin engine's own message boxes (an unusable skin container).
#pragma once

#include <string>

// A modal box with the program's name as its caption; assigned to a
// reader's OnVersionMessage by the program (tests and tools leave it unset).
void ShowSkinMessage(const std::string& Text);
