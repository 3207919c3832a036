// Tagbench's start-up: the application object, the main window from its
// stored description, and the message loop until the window closes.
#include "Ureader.h"
#include "skin/manager/WinSkinDlg.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    InitSkinManagerUnit();
    Application->Initialize();
    RegisterConsoleClasses();
    try {
        Application->CreateForm(Freader);
    } catch (const std::exception&) {
        Application->ShowException(std::current_exception());
        return 1;
    }
    Application->Run();
    return 0;
}
