// The class library's 8-bit texts are GB2312 (code page 936) in both editions;
// windows are Unicode windows. These convert at that boundary, independent of
// the machine's ANSI code page.
#pragma once

#include <string>
#include <string_view>

constexpr unsigned kTextCodePage = 936;

std::wstring TextToWide(std::string_view text);
std::string WideToText(std::wstring_view text);
