// The GDI object count follows each object made and deleted, of every kind
// the leak checks rely on.
#include "tests/support/GdiObjectCount.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

TEST(GdiObjectCount, RisesByEachObjectMadeAndFallsBackWhenDeleted)
{
    // The first DC makes objects the process keeps for good.
    ::DeleteDC(::CreateCompatibleDC(nullptr));
    const int start = GdiObjectCount();
    ASSERT_GE(start, 0) << kNoGdiObjectCount;
    constexpr int n = 40;
    std::vector<HGDIOBJ> made;
    for (int i = 0; i < n; ++i) made.push_back(::CreateSolidBrush(RGB(i, 0, 0)));
    EXPECT_EQ(GdiObjectCount(), start + n) << "brushes";
    for (int i = 0; i < n; ++i) made.push_back(::CreateRectRgn(0, 0, i + 1, 2));
    EXPECT_EQ(GdiObjectCount(), start + 2 * n) << "regions";
    for (int i = 0; i < n; ++i) made.push_back(::CreateBitmap(i + 1, 2, 1, 32, nullptr));
    EXPECT_EQ(GdiObjectCount(), start + 3 * n) << "bitmaps";
    const HDC dc = ::CreateCompatibleDC(nullptr);
    EXPECT_EQ(GdiObjectCount(), start + 3 * n + 1) << "a memory DC";
    ::DeleteDC(dc);
    for (HGDIOBJ o : made) EXPECT_NE(o, nullptr);
    for (size_t i = 0; i < made.size(); ++i) {
        ::DeleteObject(made[i]);
        if (i + 1 == n) {
            EXPECT_EQ(GdiObjectCount(), start + 2 * n) << "brushes deleted";
        }
    }
    EXPECT_EQ(GdiObjectCount(), start);
    ::GetStockObject(GRAY_BRUSH);
    EXPECT_EQ(GdiObjectCount(), start) << "stock objects are there from the start";
}
