// Every text of the main window, read back as UTF-16 from the windows (labels,
// which have none, through their caption's conversion), equals the edition's
// text: GB2312 descriptions must not arrive garbled on a non-Chinese system.
#include "FreaderFixture.h"

#include "classlib/Text.h"

#include <commctrl.h>

#include <string>

namespace {

#ifdef TB_EDITION_ZH
constexpr bool kChinese = true;
#else
constexpr bool kChinese = false;
#endif

struct TExpectedText {
    const char* Name;
    const wchar_t* English;
    const wchar_t* Chinese;  // null: the same as English
};

const TExpectedText kTexts[] = {
    {"RadioButton1", L"COM", L"串口"},
    {"RadioButton2", L"network", L"网口"},
    {"GroupBox1", L"communication", L"通讯"},
    {"GroupBox2", L"RS232", L"串口通讯"},
    {"Label1", L"COM：", L"端口："},
    {"ComboBox1", L"AUTO", nullptr},
    {"Label3", L"Baudrate：", L"波特率："},
    {"ComboBox2", L"9600bps", nullptr},
    {"BitBtn1", L"open", L"打开端口"},
    {"BitBtn2", L"close", L"关闭"},
    {"GroupBox3", L"network", L"网络通讯"},
    {"Label2", L"COM：", L"端口："},
    {"Edit1", L"0001", nullptr},
    {"Label4", L"IP：", nullptr},
    {"Edit2", L"192.168.1.1", nullptr},
    {"Label5", L"ID：", L"读写器地址："},
    {"Edit3", L"00", nullptr},
    {"BitBtn3", L"open", L"打开"},
    {"BitBtn4", L"close", L"关闭"},
    {"GroupBox4", L"Base parameter", L"设置读写器基本参数"},
    {"Label6", L"Address（HEX）：", L"ID地址（HEX）："},
    {"Edit4", L"01", nullptr},
    {"Label7", L"Baudrate：", L"波特率："},
    {"ComboBox3", L"9600bps", nullptr},
    {"Label8", L"Power control：", L"读卡距离设置："},
    {"CheckBox1", L"Knob setting", L"外部设置"},
    {"CheckBox2", L"Soft setting", L"软件设定："},
    {"ComboBox4", L"32", nullptr},
    {"Label9", L"Wiegand：", L"韦根输出格式："},
    {"CheckBox3", L"WG26", L"WG26 格式"},
    {"CheckBox4", L"WG34", L"WG34格式"},
    {"CheckBox5", L"WG close", L"WG输出禁止"},
    {"Label10", L"Serial port：", L"串口输出格式："},
    {"CheckBox6", L"RS232/RS485", nullptr},
    {"CheckBox7", L"TAVIR485", nullptr},
    {"Label11", L"Relay output：", L"继电器输出："},
    {"CheckBox8", L"Enable", L"允许"},
    {"CheckBox9", L"Disable", L"禁止"},
    {"BitBtn5", L"Setting", L"设置参数"},
    {"BitBtn6", L"Restore", L"恢复出场参数"},
    {"GroupBox5", L"General mode", L"设置为通用模式"},
    {"RadioButton3", L"", nullptr},
    {"Label12", L"Continuty：", L"连续读卡："},
    {"CheckBox10", L"", nullptr},
    {"Label13", L"Invertal：", L"间隔读卡："},
    {"CheckBox11", L"", nullptr},
    {"Label14", L"Circulate：", L"重返读卡："},
    {"CheckBox12", L"", nullptr},
    {"Label15", L"Time span：", L"时间值："},
    {"ComboBox5", L"20second", L"20秒"},
    {"ComboBox6", L"second", L"秒"},
    {"Label17", L"Active：", L"数据主动发送："},
    {"CheckBox13", L"", nullptr},
    {"Label18", L"Response：", L"应答模式："},
    {"CheckBox14", L"", nullptr},
    {"BitBtn7", L"Setting", L"设置参数"},
    {"BitBtn8", L"Restore", L"恢复出场参数"},
    {"GroupBox6", L"Lock mode", L"设置为互锁模式"},
    {"RadioButton4", L"", nullptr},
    {"Label19", L"wireless：", L"无线互锁（WiFi）："},
    {"CheckBox15", L"", nullptr},
    {"Label20", L"Preread：", L"互锁预读模式："},
    {"CheckBox16", L"", nullptr},
    {"Label21", L"caging time：", L"互锁时间："},
    {"ComboBox7", L"10second", L"10秒"},
    {"Label22", L"Trigger delay：", L"触发延时："},
    {"ComboBox8", L"0second", L"0秒"},
    {"Label23", L"Filtration：", L"单张标签过滤时间："},
    {"ComboBox9", L"0second", L"0秒"},
    {"BitBtn9", L"Setting", L"设置参数"},
    {"BitBtn10", L"Restore", L"恢复出场参数"},
    {"Edit5", L"", nullptr},
    {"BitBtn11", L"Send", L"发 送"},
    {"Label24", L"Serial port data（HEX）", L"串口接收数据（HEX）"},
    {"Memo1", L"", nullptr},
    {"Label25", L"Tag NC.", L"标签卡号"},
    {"CheckBox18", L"HEX", nullptr},
    {"Memo2", L"", nullptr},
    {"Edit6", L"0", nullptr},
    {"BitBtn12", L"Reset", L"清 零"},
    {"GroupBox7", L"Operate fact sheet", L"操作说明"},
};

std::wstring Expected(const TExpectedText& t)
{
    return kChinese && t.Chinese != nullptr ? t.Chinese : t.English;
}

std::wstring TabText(TPageControl* Pages, int Index)
{
    wchar_t buffer[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 64;
    SendMessageW(Pages->Handle(), TCM_GETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

// Splits the operating sheet at its paragraph separators.
std::vector<std::wstring> Paragraphs(const std::wstring& sheet, const std::wstring& separator)
{
    std::vector<std::wstring> result;
    size_t start = 0;
    for (size_t at; (at = sheet.find(separator, start)) != std::wstring::npos; start = at + separator.size())
        result.push_back(sheet.substr(start, at - start));
    result.push_back(sheet.substr(start));
    return result;
}

} // namespace

TEST_F(FreaderTest, EveryControlShowsItsEditionText)
{
    int checked = 0;
    for (const TExpectedText& t : kTexts) {
        TComponent* c = Form->FindComponent(t.Name);
        ASSERT_NE(c, nullptr) << t.Name;
        std::wstring shown;
        if (auto* windowed = dynamic_cast<TWinControl*>(c)) shown = WindowText(windowed);
        else shown = TextToWide(static_cast<TControl*>(c)->Caption());
        EXPECT_EQ(shown, Expected(t)) << t.Name;
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(std::size(kTexts)));

    EXPECT_EQ(WindowText(Form), kChinese ? L"TagbenchV4.0" : L"Tagbench V4.0");
    EXPECT_EQ(TabText(Form->PageControl1, 0), kChinese ? L"读写器参数设置" : L"parameter  setting");
    EXPECT_EQ(TabText(Form->PageControl1, 1), kChinese ? L"帮助(H)" : L"help(H)");
    TComponent* unitLabel = Form->FindComponent("Label16");
    if (kChinese) {
        ASSERT_NE(unitLabel, nullptr);
        EXPECT_EQ(TextToWide(static_cast<TControl*>(unitLabel)->Caption()), L"单位：");
    } else {
        EXPECT_EQ(unitLabel, nullptr);
    }
}

TEST_F(FreaderTest, ListEntriesShowTheirEditionText)
{
    auto entry = [](TComboBox* box, int index) {
        wchar_t buffer[32] = {};
        SendMessageW(box->Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
        return std::wstring(buffer);
    };
    EXPECT_EQ(entry(Form->ComboBox6, 1), kChinese ? L"分" : L"minute");
    EXPECT_EQ(entry(Form->ComboBox7, 255), kChinese ? L"255秒" : L"255second");
    EXPECT_EQ(entry(Form->ComboBox1, 8), L"COM8");
    EXPECT_EQ(entry(Form->ComboBox2, 4), L"115200bps");
    EXPECT_EQ(entry(Form->ComboBox4, 0), L"1");
}

TEST_F(FreaderTest, OperatingSheetHasNineParagraphs)
{
    const std::wstring sheet = TextToWide(Form->Label26->Caption());
    ASSERT_GE(sheet.size(), 2u);
    EXPECT_EQ(sheet.substr(sheet.size() - 2), L"\r\n");
    EXPECT_NE(sheet.substr(sheet.size() - 4), L"\r\n\r\n");
    const std::vector<std::wstring> paragraphs =
        Paragraphs(sheet.substr(0, sheet.size() - 2), kChinese ? L"\r\n\r\n\r\n" : L"\r\n\r\n");
    ASSERT_EQ(paragraphs.size(), 9u);
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        EXPECT_EQ(paragraphs[i].find(L"\r\n"), std::wstring::npos) << i + 1;
        EXPECT_EQ(paragraphs[i][0], static_cast<wchar_t>(L'1' + i)) << i + 1;
    }
    if (kChinese) {
        EXPECT_EQ(paragraphs[0], L"1.请将读写器RS232接口接入PC机串口，并向读写器接入12V直流电源。");
        EXPECT_EQ(paragraphs[7].substr(0, 6), L"8．触发延时");
    } else {
        EXPECT_EQ(paragraphs[0], L"1.please connect the READ RS232 to the COM of the PC, and supply  12V DC power to the READ");
        EXPECT_EQ(paragraphs[2], L"3.When using the interface debugging ,The default IP is 192.168.1.1 ");
        EXPECT_NE(paragraphs[3].find(L"READ's"), std::wstring::npos);
    }
}
