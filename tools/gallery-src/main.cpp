// tagbench-gallery [--skin FILE] [--inverted] [--unskinned]: the skin
// gallery (GalleryForm.h). --skin loads FILE through the skin component's
// SkinFile before the window shows, --inverted the inverted default skin as
// its "Skin" menu does; --unskinned runs without the skin manager, so that
// nothing is skinned. Exit status 2 for a skin that cannot be loaded.
#include "GalleryForm.h"
#include "classlib/Text.h"
#include "skin/manager/WinSkinDlg.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::wstring skinFile;
    bool inverted = false, unskinned = false;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--skin") == 0 && i + 1 < argc) skinFile = argv[++i];
        else if (std::wcscmp(argv[i], L"--inverted") == 0) inverted = true;
        else if (std::wcscmp(argv[i], L"--unskinned") == 0) unskinned = true;
        else {
            std::fprintf(stderr, "usage: tagbench-gallery [--skin FILE] [--inverted] [--unskinned]\n");
            return 2;
        }
    }
    ::LocalFree(argv);

    if (!unskinned) InitSkinManagerUnit();
    Application->Initialize();
    RegisterGalleryClasses();
    TGalleryForm* gallery = nullptr;
    try {
        gallery = CreateGallery();
    } catch (const std::exception&) {
        Application->ShowException(std::current_exception());
        return 1;
    }
    const bool loaded = !skinFile.empty() ? gallery->UseSkinFile(WideToText(skinFile))
                        : inverted        ? gallery->UseInvertedSkin()
                                          : true;
    if (!loaded) {
        std::fprintf(stderr, "tagbench-gallery: the skin cannot be loaded: %s\n", gallery->SkinData1->LoadError().c_str());
        return 2;
    }
    Application->Run();
    return 0;
}
