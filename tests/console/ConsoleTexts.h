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
inline constexpr wchar_t Minute[] = L"分";
inline constexpr wchar_t UnlistedPortRate[] = L"请从列表中选择串口波特率";
inline constexpr wchar_t UnlistedReaderRate[] = L"请从列表中选择读写器波特率";
inline constexpr wchar_t UnlistedPowerLevel[] = L"请从列表中选择读卡距离等级";
inline constexpr wchar_t UnlistedTimeSpan[] = L"请从列表中选择时间值";
inline constexpr wchar_t UnlistedTimeUnit[] = L"请从列表中选择单位";
inline constexpr wchar_t UnlistedFiltration[] = L"请从列表中选择单张标签过滤时间";
#else
inline constexpr wchar_t Success[] = L"suss";
inline constexpr wchar_t Failure[] = L"fail";
inline constexpr wchar_t SendFail[] = L"send fail";
inline constexpr wchar_t SelectWiegand[] = L"select WG";
inline constexpr wchar_t SelectMode[] = L"select mode";
inline constexpr wchar_t Caption[] = L"Tagbench V4.0";
inline constexpr wchar_t Second[] = L"second";
inline constexpr wchar_t Minute[] = L"minute";
inline constexpr wchar_t UnlistedPortRate[] = L"Pick the PC baudrate from the list";
inline constexpr wchar_t UnlistedReaderRate[] = L"Pick the reader baudrate from the list";
inline constexpr wchar_t UnlistedPowerLevel[] = L"Pick the power level from the list";
inline constexpr wchar_t UnlistedTimeSpan[] = L"Pick the time span from the list";
inline constexpr wchar_t UnlistedTimeUnit[] = L"Pick the time unit from the list";
inline constexpr wchar_t UnlistedFiltration[] = L"Pick the filtration time from the list";
#endif

} // namespace ConsoleTexts
