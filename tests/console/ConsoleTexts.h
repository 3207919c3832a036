// The console's own message texts and the window's caption in the edition
// this test program is built for, written out here rather than taken from
// the program, so that a wrong text in the program shows.
#pragma once

namespace ConsoleTexts {

#ifdef TB_EDITION_ZH
inline constexpr wchar_t Success[] = L"设置成功";
inline constexpr wchar_t Failure[] = L"设置失败";
inline constexpr wchar_t SendFail[] = L"发送失败";
inline constexpr wchar_t SelectWiegand[] = L"选择 韦根输出格式";
inline constexpr wchar_t SelectMode[] = L"选择 读卡模式";
inline constexpr wchar_t Caption[] = L"TagbenchV4.0";
inline constexpr wchar_t Second[] = L"秒";
#else
inline constexpr wchar_t Success[] = L"suss";
inline constexpr wchar_t Failure[] = L"fail";
inline constexpr wchar_t SendFail[] = L"send fail";
inline constexpr wchar_t SelectWiegand[] = L"select WG";
inline constexpr wchar_t SelectMode[] = L"select mode";
inline constexpr wchar_t Caption[] = L"Tagbench V4.0";
inline constexpr wchar_t Second[] = L"second";
#endif

} // namespace ConsoleTexts
