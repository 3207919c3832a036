// The texts the console's code uses, for the edition being built: the Chinese
// one when TB_EDITION_ZH is defined, the English one otherwise. GB2312 bytes,
// like the texts of the window's stored description.
#pragma once

namespace EditionTexts {

#ifdef TB_EDITION_ZH
inline constexpr char Second[] = "\xc3\xeb";                  // 秒
inline constexpr char Minute[] = "\xb7\xd6";                  // 分
inline constexpr char Success[] = "\xc9\xe8\xd6\xc3\xb3\xc9\xb9\xa6"; // 设置成功
inline constexpr char Failure[] = "\xc9\xe8\xd6\xc3\xca\xa7\xb0\xdc"; // 设置失败
inline constexpr char SendFail[] = "\xb7\xa2\xcb\xcd\xca\xa7\xb0\xdc"; // 发送失败
inline constexpr char SelectWiegand[] = "\xd1\xa1\xd4\xf1 \xce\xa4\xb8\xf9\xca\xe4\xb3\xf6\xb8\xf1\xca\xbd"; // 选择 韦根输出格式
inline constexpr char SelectMode[] = "\xd1\xa1\xd4\xf1 \xb6\xc1\xbf\xa8\xc4\xa3\xca\xbd"; // 选择 读卡模式
// A box holding typed text that is none of its entries, named when refused.
inline constexpr char UnlistedPortRate[] = "\xc7\xeb\xb4\xd3\xc1\xd0\xb1\xed\xd6\xd0\xd1\xa1\xd4\xf1\xb4\xae\xbf\xda\xb2\xa8\xcc\xd8\xc2\xca"; // 请从列表中选择串口波特率
inline constexpr char UnlistedReaderRate[] = "\xc7\xeb\xb4\xd3\xc1\xd0\xb1\xed\xd6\xd0\xd1\xa1\xd4\xf1\xb6\xc1\xd0\xb4\xc6\xf7\xb2\xa8\xcc\xd8\xc2\xca"; // 请从列表中选择读写器波特率
inline constexpr char UnlistedPowerLevel[] = "\xc7\xeb\xb4\xd3\xc1\xd0\xb1\xed\xd6\xd0\xd1\xa1\xd4\xf1\xb6\xc1\xbf\xa8\xbe\xe0\xc0\xeb\xb5\xc8\xbc\xb6"; // 请从列表中选择读卡距离等级
inline constexpr char UnlistedTimeSpan[] = "\xc7\xeb\xb4\xd3\xc1\xd0\xb1\xed\xd6\xd0\xd1\xa1\xd4\xf1\xca\xb1\xbc\xe4\xd6\xb5"; // 请从列表中选择时间值
inline constexpr char UnlistedTimeUnit[] = "\xc7\xeb\xb4\xd3\xc1\xd0\xb1\xed\xd6\xd0\xd1\xa1\xd4\xf1\xb5\xa5\xce\xbb"; // 请从列表中选择单位
inline constexpr char UnlistedLockTime[] = "\xc7\xeb\xb4\xd3\xc1\xd0\xb1\xed\xd6\xd0\xd1\xa1\xd4\xf1\xbb\xa5\xcb\xf8\xca\xb1\xbc\xe4"; // 请从列表中选择互锁时间
inline constexpr char UnlistedTriggerDelay[] = "\xc7\xeb\xb4\xd3\xc1\xd0\xb1\xed\xd6\xd0\xd1\xa1\xd4\xf1\xb4\xa5\xb7\xa2\xd1\xd3\xca\xb1"; // 请从列表中选择触发延时
inline constexpr char UnlistedFiltration[] = "\xc7\xeb\xb4\xd3\xc1\xd0\xb1\xed\xd6\xd0\xd1\xa1\xd4\xf1\xb5\xa5\xd5\xc5\xb1\xea\xc7\xa9\xb9\xfd\xc2\xcb\xca\xb1\xbc\xe4"; // 请从列表中选择单张标签过滤时间
#else
inline constexpr char Second[] = "second";
inline constexpr char Minute[] = "minute";
inline constexpr char Success[] = "suss";
inline constexpr char Failure[] = "fail";
inline constexpr char SendFail[] = "send fail";
inline constexpr char SelectWiegand[] = "select WG";
inline constexpr char SelectMode[] = "select mode";
inline constexpr char UnlistedPortRate[] = "Pick the PC baudrate from the list";
inline constexpr char UnlistedReaderRate[] = "Pick the reader baudrate from the list";
inline constexpr char UnlistedPowerLevel[] = "Pick the power level from the list";
inline constexpr char UnlistedTimeSpan[] = "Pick the time span from the list";
inline constexpr char UnlistedTimeUnit[] = "Pick the time unit from the list";
inline constexpr char UnlistedLockTime[] = "Pick the caging time from the list";
inline constexpr char UnlistedTriggerDelay[] = "Pick the trigger delay from the list";
inline constexpr char UnlistedFiltration[] = "Pick the filtration time from the list";
#endif

} // namespace EditionTexts
