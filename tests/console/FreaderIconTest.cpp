// The program's icon: the main window shows it at the system's sizes (the
// skinned title draws what WM_GETICON answers), and the program carries it
// as its first icon group, the one Explorer shows.
#include "FreaderFixture.h"

#include <set>
#include <string>
#include <utility>

namespace {

std::pair<int, int> IconSize(HICON icon)
{
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap{};
    GetObjectW(info.hbmMask, sizeof bitmap, &bitmap);
    // A colour icon's mask is as tall as its image.
    const std::pair<int, int> size(bitmap.bmWidth, info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    return size;
}

BOOL CALLBACK FirstName(HMODULE, LPCWSTR, LPWSTR Name, LONG_PTR Out)
{
    *reinterpret_cast<std::wstring*>(Out) = IS_INTRESOURCE(Name) ? L"#" : Name;
    return FALSE;
}

} // namespace

TEST_F(FreaderTest, ShowsTheProgramIcon)
{
    const HWND wnd = Form->Handle();
    const auto smallIcon = IconSize(reinterpret_cast<HICON>(SendMessageW(wnd, WM_GETICON, ICON_SMALL, 0)));
    const auto bigIcon = IconSize(reinterpret_cast<HICON>(SendMessageW(wnd, WM_GETICON, ICON_BIG, 0)));
    EXPECT_EQ(smallIcon, std::pair(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)));
    EXPECT_EQ(bigIcon, std::pair(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));

    const HMODULE module = GetModuleHandleW(nullptr);
    std::wstring first;
    EnumResourceNamesW(module, RT_GROUP_ICON, FirstName, reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, L"MAINICON");
    const HRSRC group = FindResourceW(module, L"MAINICON", RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    // The group's directory: three words, then 14 bytes per image starting
    // with its width and height.
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(bytes, nullptr);
    const int count = bytes[4] | bytes[5] << 8;
    ASSERT_LE(6u + 14u * count, SizeofResource(module, group));
    std::set<int> sizes;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = bytes + 6 + 14 * i;
        EXPECT_EQ(entry[0], entry[1]) << "square images";
        EXPECT_EQ(entry[6] | entry[7] << 8, 32) << "32 bits with alpha";
        sizes.insert(entry[0]);
    }
    for (int size : {16, 32, 48}) EXPECT_TRUE(sizes.count(size)) << size;
}
