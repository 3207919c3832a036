// TGalleryForm: the skin gallery's window, a test tool that shows at least
// one control of every kind the skin engine has an adapter for, skinned by
// its own skin component (SkinData1, the default skin streamed into its
// stored description as the program's main window has it). Kinds that the
// engine reaches only through the skin component's OnSkinControl or a
// Skin3rd line are reached that way. Its "Skin" menu switches between the
// default skin and an inverted copy of it, each loaded through SkinFile.
#pragma once

#include "classlib/Buttons.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "skin/data/WinSkinData.h"

#include <cstdint>
#include <string>
#include <vector>

class TGalleryMemo;
class TPageControl;
class TStatusBar;

class TGalleryForm : public TForm {
public:
    DECLARE_CLASS_INFO()

    explicit TGalleryForm(TComponent* AOwner);
    // Takes the window and the components apart first (they call back into
    // this form), then removes the skin files it wrote.
    ~TGalleryForm() override;

    TSkinData* SkinData1 = nullptr;

    // The menu bar's "Skin" items that switch skins.
    TMenuItem* DefaultSkinItem = nullptr;
    TMenuItem* InvertedSkinItem = nullptr;
    // The windowless controls (skinned through their adapter, not a window).
    std::vector<TSpeedButton*> SpeedButtons;

    // Loads a skin file through SkinFile; false (the skin in use kept) when
    // it cannot be read or loaded.
    bool UseSkinFile(const std::string& Name);
    // The default skin, or its inverted copy, through SkinFile from a file
    // written to the temporary folder on first use.
    bool UseDefaultSkin();
    bool UseInvertedSkin();

protected:
    // The skin component is read: it is told the kinds it reaches only
    // through OnSkinControl and Skin3rd, and its skin is kept as the default.
    void Loaded() override;

private:
    void MakeMenu();
    void MakeButtons();
    void MakeEdits();
    void MakeRanges();
    void MakePages();
    void MakeStatusBar();
    void ShowMemoMenu(POINT At);
    void ShowPages(bool Last);
    void ShowSkinName(const std::string& Name);
    static std::string WriteTempSkin(const std::vector<uint8_t>& Bytes);

    TStatusBar* FStatusBar = nullptr;
    TGalleryMemo* FMemo = nullptr;
    TPopupMenu* FMemoMenu = nullptr;  // made on its first use, after the form is skinned
    std::vector<TPageControl*> FPageControls;
    std::vector<uint8_t> FDefaultSkin;  // the stored skin's container
    std::string FDefaultFile, FInvertedFile;
};

// Makes the gallery's classes known to stored descriptions.
void RegisterGalleryClasses();

// The gallery read from its stored description (resource "TGALLERYFORM"),
// owned by the application; not shown yet.
TGalleryForm* CreateGallery();
