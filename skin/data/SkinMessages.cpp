// Message boxes of the skin engine.
#include "skin/data/SkinMessages.h"

#include <windows.h>

void ShowSkinMessage(const std::string& Text)
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string caption = path;
    caption = caption.substr(caption.find_last_of("\\/") + 1);
    caption = caption.substr(0, caption.rfind('.'));
    ::MessageBoxA(::GetActiveWindow(), Text.c_str(), caption.c_str(), MB_OK);
}
