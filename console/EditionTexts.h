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
#else
inline constexpr char Second[] = "second";
inline constexpr char Minute[] = "minute";
inline constexpr char Success[] = "suss";
inline constexpr char Failure[] = "fail";
inline constexpr char SendFail[] = "send fail";
inline constexpr char SelectWiegand[] = "select WG";
inline constexpr char SelectMode[] = "select mode";
#endif

} // namespace EditionTexts
