// The default skin and the skin engine's bitmaps as an edition carries them:
// the main window read from its resource starts with SkinData1 loaded from
// the skin packed at build time, and TORVELMENU, TRACK and TRACKVERT are
// found by the skin component.
#include "console/Ureader.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinDraw.h"
#include "tests/skin/support/SkinTestData.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

const std::filesystem::path SourceDir(TB_SOURCE_DIR);

class TApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        Application->Initialize();
        RegisterConsoleClasses();
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

std::vector<uint8_t> ReadFile(const std::filesystem::path& Path)
{
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Same size and the same colour at every pixel.
::testing::AssertionResult SamePixels(TBitmap& A, TBitmap& B)
{
    if (A.Width() != B.Width() || A.Height() != B.Height())
        return ::testing::AssertionFailure() << A.Width() << "x" << A.Height() << " against " << B.Width() << "x"
                                             << B.Height();
    const TImageView a = PixelsOf(A), b = PixelsOf(B);
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x) {
            const uint8_t* p = a.Row(y) + x * a.BytesPerPixel;
            const uint8_t* q = b.Row(y) + x * b.BytesPerPixel;
            if (std::memcmp(p, q, 3) != 0)
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
        }
    return ::testing::AssertionSuccess();
}

class TEditionSkinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = std::make_unique<TFreader>(Application);
        ReadFormResource(*Form);
        ASSERT_NE(Form->SkinData1, nullptr);
    }

    std::unique_ptr<TFreader> Form;
};

TEST_F(TEditionSkinTest, StartsWithTheDefaultSkinLoaded)
{
    TSkinData& skin = *Form->SkinData1;
    EXPECT_FALSE(skin.NotLoaded()) << skin.LoadError();
    EXPECT_EQ(skin.LastLoadResult(), TSkinLoadResult::lrLoaded);
    EXPECT_TRUE(skin.Active());
    EXPECT_EQ(skin.FSkinName, "Tagbench Slate");
    ASSERT_TRUE(skin.FBorderTop && skin.FBorderTop->FBitmap);
    EXPECT_FALSE(skin.FBorderTop->FBitmap->Empty());
    EXPECT_TRUE(skin.FButtons->FCheckButton && !skin.FButtons->FCheckButton->Empty());
}

TEST_F(TEditionSkinTest, CarriesTheSkinFolderAsItIsNow)
{
    std::vector<std::string> skipped;
    const std::vector<uint8_t> packed = PackSkin(CollectSkinFolder(SourceDir / "skins" / "default", skipped));
    ASSERT_FALSE(packed.empty());
    EXPECT_TRUE(Form->SkinData1->SkinStream() == packed)
        << "the description holds " << Form->SkinData1->SkinStream().size() << " bytes, the folder packs to "
        << packed.size();
}

TEST(SkinResourceTest, TheProgramCarriesTheEngineBitmaps)
{
    for (const auto& [name, file] : {std::pair{"TORVELMENU", "torvelmenu.bmp"}, std::pair{"TRACK", "track.bmp"},
                                     std::pair{"TRACKVERT", "trackvert.bmp"}}) {
        SCOPED_TRACE(name);
        TBitmap resource, expected;
        ASSERT_TRUE(LoadBitmapResource(name, resource));
        ASSERT_TRUE(LoadBitmapFromBmp(ReadFile(SourceDir / "skins" / "resources" / file), expected));
        EXPECT_TRUE(SamePixels(resource, expected));
    }
}

TEST(SkinResourceTest, TheComponentTakesItsSystemMenuGlyphs)
{
    TSkinData data(nullptr);
    ASSERT_NE(data.FMenuImages, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(data.FMenuImages), 4);
}

// A skin that names no track channels is given the program's own.
TEST(SkinResourceTest, ASkinWithoutTrackChannelsFallsBackToTheResources)
{
    const std::string ini = "[TitlebarSkin]\r\nSkinName=Bare\r\n[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n";
    const std::vector<uint8_t> packed =
        PackSkin({{"skin.ini", skintest::Bytes(ini)}, {"top.bmp", skintest::MakeBmp24(40, 20, 3)}});
    TBytes stored;
    skintest::PutLE(stored, static_cast<uint32_t>(packed.size()), 4);
    stored.insert(stored.end(), packed.begin(), packed.end());
    TSkinData data(nullptr);
    data.SetSkinStreamBytes(stored);
    ASSERT_FALSE(data.NotLoaded()) << data.LoadError();

    for (const auto& [element, name] :
         {std::pair{data.FTrack.get(), "TRACK"}, std::pair{data.FTrackVert.get(), "TRACKVERT"}}) {
        SCOPED_TRACE(name);
        ASSERT_NE(element, nullptr);
        TBitmap resource;
        ASSERT_TRUE(LoadBitmapResource(name, resource));
        EXPECT_TRUE(SamePixels(*element->FBitmap, resource));
    }
}

} // namespace
