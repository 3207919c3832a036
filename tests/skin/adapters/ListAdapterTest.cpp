// The header and list-view adapters with injected input in a Wine virtual
// desktop: header cells normal and hot until the mouse leaves, alignment, an
// image-only column, long titles, the list's scroll-bar cover, and the header
// adapter through the death of its window and the list view made anew.
#include "tests/skin/support/AdapterFixture.h"

#include "classlib/Handles.h"
#include "skin/SkinApi.h"
#include "skin/adapters/SkinList.h"
#include "tests/support/TestListView.h"

#include <string>
#include <utility>

namespace frametest {
namespace {

using frameharness::TWindowCapture;

class ListAdapterTest : public AdapterTest {
protected:
    // A form whose skin component gives list views their adapter.
    TSkinnedForm MakeListForm(int Width = 500)
    {
        const TSkinnedForm made = MakeForm();
        made.Form->SetBounds(20, 20, Width, 360);
        made.Data->OnSkinControl = [](TComponent*, TSkinData*, TControl*, TControl* Control, const std::string& Class,
                                      TComponent*& Skinned) {
            if (Class == "TLISTVIEW") Skinned = AdapterMaker(TAdapterKind::akListView)(Control, {});
        };
        return made;
    }
    static TTestListView* MakeList(TForm* Form, RECT Bounds, int Rows)
    {
        auto* list = PlaceAt<TTestListView>(Form, Bounds);
        list->AddRows(Rows);
        return list;
    }
    static TSkinListView* AdapterOf(TTestListView* List)
    {
        return dynamic_cast<TSkinListView*>(FindSkinObject(List->WindowHandle()));
    }
    static RECT ItemRect(HWND Header, int Index)
    {
        RECT r{};
        ::SendMessageW(Header, HDM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static TWindowCapture ShownHeader(HWND Header)
    {
        ::RedrawWindow(Header, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return TWindowCapture::Take(Header);
    }
    // Row 1 of a Headerbar cell, and of an item as shown: the face above any text.
    static COLORREF Face(TSkinData* Data, int Cell)
    {
        TDataSkinObject& bar = *Data->FHeaderbar;
        return CellPixel(*bar.FBitmap, Cell, bar.FFrame, false, bar.FBitmap->Width() / bar.FFrame / 2, 1);
    }
    static COLORREF FaceAt(HWND Header, int Index)
    {
        const RECT r = ItemRect(Header, Index);
        return ShownHeader(Header).Pixel((r.left + r.right) / 2, 1);
    }
    static void MoveOver(HWND Header, int X)
    {
        POINT p{X, ItemRect(Header, 0).bottom / 2};
        ::ClientToScreen(Header, &p);
        frameharness::MouseMoveTo(p);
        Pump();
    }
    // The first and last columns of Item holding dark (text) pixels.
    static std::pair<int, int> InkSpan(const TWindowCapture& Shot, const RECT& Item)
    {
        int first = -1, last = -1;
        for (int x = Item.left; x < Item.right; ++x)
            for (int y = Item.top + 2; y < Item.bottom - 2; ++y) {
                const COLORREF c = Shot.Pixel(x, y);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) >= 300) continue;
                if (first < 0) first = x;
                last = x;
                break;
            }
        return {first, last};
    }
};

TEST_F(ListAdapterTest, HeaderCellsAreNormalAndHotUntilTheMouseLeavesAndTheListsBarIsCovered)
{
    const TSkinnedForm made = MakeListForm();
    TTestListView* list = MakeList(made.Form, {10, 10, 460, 300}, 1000);
    for (const wchar_t* title : {L"Tag", L"Time", L"Count"}) ASSERT_TRUE(list->AddColumn(title, 100));
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    TSkinListView* adapter = AdapterOf(list);
    ASSERT_NE(adapter, nullptr);
    const HWND header = list->Header();
    TSkinHeader* skinned = adapter->Header();
    ASSERT_NE(skinned, nullptr);
    EXPECT_EQ(FindSkinObject(header), skinned);

    const COLORREF normal = Face(made.Data, 1), hot = Face(made.Data, 2);
    ASSERT_NE(normal, hot);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(FaceAt(header, i), normal) << i;
    const TWindowCapture shot = ShownHeader(header);
    EXPECT_EQ(shot.Pixel(shot.Width() - 20, 1), normal);  // right of the last item

    MoveOver(header, 150);
    EXPECT_EQ(skinned->HotIndex(), 1);
    EXPECT_EQ(FaceAt(header, 1), hot);
    MoveOver(header, 50);
    EXPECT_EQ(skinned->HotIndex(), 0);
    EXPECT_EQ(FaceAt(header, 0), hot);
    EXPECT_EQ(FaceAt(header, 1), normal);
    // Right of the last item the hot item stays; leaving the header clears it.
    MoveOver(header, ItemRect(header, 2).right + 30);
    EXPECT_EQ(skinned->HotIndex(), 0);
    frameharness::MouseMoveTo(list->ClientToScreen({200, 150}));
    ASSERT_TRUE(PumpUntil([&] { return skinned->HotIndex() == -1; }));
    EXPECT_EQ(FaceAt(header, 0), normal);

    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(SkinGetScrollBarInfo(list->WindowHandle(), OBJID_VSCROLL, &info));
    RECT cover{};
    ::GetWindowRect(adapter->VertBar()->Handle(), &cover);
    EXPECT_TRUE(::IsWindowVisible(adapter->VertBar()->Handle()));
    EXPECT_TRUE(::EqualRect(&cover, &info.rcScrollBar));
}

TEST_F(ListAdapterTest, TitlesAreAlignedAnImageAloneIsDrawnAndLongTitlesAreReadTo200Characters)
{
    const TSkinnedForm made = MakeListForm(1000);
    TTestListView* list = MakeList(made.Form, {10, 10, 460, 150}, 3);
    for (int format : {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT}) ASSERT_TRUE(list->AddColumn(L"Title", 110, format));
    ASSERT_TRUE(list->AddColumn(L"", 60));
    // A 250-character title and its first 200 characters alone: the rest,
    // wider than the item, would end the text in an ellipsis.
    const std::wstring head(200, L'.');
    TTestListView* longList = MakeList(made.Form, {10, 160, 960, 220}, 0);
    ASSERT_TRUE(longList->AddColumn(head + std::wstring(50, L'W'), 900));
    TTestListView* headList = MakeList(made.Form, {10, 230, 960, 290}, 0);
    ASSERT_TRUE(headList->AddColumn(head, 900));

    // The last column: a red image and no text.
    const HWND header = list->Header();
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 0);
    ASSERT_NE(images, nullptr);
    {
        const TWindowDC screen(nullptr, ::GetDC(nullptr));
        const TGdiObject red(::CreateCompatibleBitmap(screen.Get(), 16, 16));
        const TMemoryDC dc(::CreateCompatibleDC(screen.Get()));
        const TGdiObject brush(::CreateSolidBrush(RGB(255, 0, 0)));
        {
            const TSelectObject into(dc.Get(), red.Get());
            const RECT all{0, 0, 16, 16};
            ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(brush.Get()));
        }
        ASSERT_EQ(ImageList_Add(images, static_cast<HBITMAP>(red.Get()), nullptr), 0);
    }
    ::SendMessageW(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt = HDF_IMAGE | HDF_LEFT;
    ASSERT_TRUE(::SendMessageW(header, HDM_SETITEMW, 3, reinterpret_cast<LPARAM>(&item)));

    ASSERT_NE(ShowSkinned(made.Form), nullptr);
    ASSERT_NE(AdapterOf(list), nullptr);
    const TWindowCapture shot = ShownHeader(header);
    const RECT left = ItemRect(header, 0), centre = ItemRect(header, 1), right = ItemRect(header, 2);
    const auto [l0, l1] = InkSpan(shot, left);
    const auto [c0, c1] = InkSpan(shot, centre);
    const auto [r0, r1] = InkSpan(shot, right);
    ASSERT_TRUE(l0 >= 0 && c0 >= 0 && r0 >= 0);
    EXPECT_LE(l0 - left.left, 6);
    EXPECT_NEAR((c0 + c1) / 2, (centre.left + centre.right) / 2, 3);
    EXPECT_LE(right.right - r1, 6);

    const RECT icon = ItemRect(header, 3);
    int reds = 0;
    for (int x = icon.left; x < icon.right; ++x)
        for (int y = icon.top; y < icon.bottom; ++y) reds += shot.Pixel(x, y) == RGB(255, 0, 0) ? 1 : 0;
    EXPECT_GT(reds, 100);

    const TWindowCapture longShot = ShownHeader(longList->Header()), headShot = ShownHeader(headList->Header());
    ASSERT_EQ(longShot.Width(), headShot.Width());
    ASSERT_GE(InkSpan(headShot, ItemRect(headList->Header(), 0)).first, 0);
    int differing = 0;
    for (int x = 0; x < longShot.Width(); ++x)
        for (int y = 0; y < longShot.Height(); ++y) differing += longShot.Pixel(x, y) != headShot.Pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
    ImageList_Destroy(images);
}

TEST_F(ListAdapterTest, TheHeaderAdapterGoesWithItsWindowAndWithTheListViewsAdapter)
{
    const TSkinnedForm made = MakeListForm();
    TTestListView* list = MakeList(made.Form, {10, 10, 460, 300}, 200);
    ASSERT_TRUE(list->AddColumn(L"Tag", 100));
    TWinSkinForm* frame = ShowSkinned(made.Form);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(AdapterOf(list), nullptr);

    // Made anew: a new list view adapter with a header adapter of its own,
    // the old header adapter gone with the old list view adapter.
    const HWND oldHeader = list->Header();
    list->RecreateWnd();
    ASSERT_TRUE(PumpUntil([&] { return AdapterOf(list) != nullptr; }));
    TSkinListView* adapter = AdapterOf(list);
    ASSERT_NE(list->Header(), oldHeader);
    ASSERT_NE(adapter->Header(), nullptr);
    EXPECT_EQ(FindSkinObject(list->Header()), adapter->Header());
    EXPECT_EQ(frame->ControlCount(), 2);

    // The header's window dies alone: its adapter is no longer handed out,
    // and unskinning and freeing everything touches nothing freed.
    ::DestroyWindow(list->Header());
    EXPECT_EQ(adapter->Header(), nullptr);
    RunAction(made.Data, saUnskinAll);
    Pump();
    EXPECT_EQ(FindSkinObject(list->WindowHandle()), nullptr);
    delete list;
    Pump();
}

}  // namespace
}  // namespace frametest
