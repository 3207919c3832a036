// The main window's start-up state and option logic, driven through the
// windows of its controls, in the edition this test program is built for.
#include "Com1Pair.h"
#include "ConsoleTexts.h"
#include "FreaderFixture.h"

#include "classlib/Text.h"

#include <memory>
#include <string>
#include <utility>

namespace {

std::wstring TimeText(int n, const wchar_t* unit)
{
    return std::to_wstring(n) + unit;
}

std::wstring Entry(const TComboBox* box, int index)
{
    return TextToWide(box->Items()->Get(index));
}

} // namespace

TEST_F(FreaderTest, StartsWithTheStoredState)
{
    EXPECT_EQ(Form->Width(), 780);
    EXPECT_EQ(Form->Height(), 631);
    EXPECT_EQ(Form->PageControl1->ActivePage(), Form->TabSheet1);

    for (TBitBtn* off : {Form->BitBtn1, Form->BitBtn2, Form->BitBtn3, Form->BitBtn4, Form->BitBtn7, Form->BitBtn8,
                         Form->BitBtn9, Form->BitBtn10})
        EXPECT_FALSE(IsWindowEnabled(off->Handle())) << off->Name();
    for (TBitBtn* on : {Form->BitBtn5, Form->BitBtn6, Form->BitBtn11, Form->BitBtn12})
        EXPECT_TRUE(IsWindowEnabled(on->Handle())) << on->Name();
    for (TRadioButton* radio : {Form->RadioButton1, Form->RadioButton2, Form->RadioButton3, Form->RadioButton4})
        EXPECT_EQ(SendMessageW(radio->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED) << radio->Name();

    const std::pair<TCheckBox*, bool> checks[] = {
        {Form->CheckBox1, true},  {Form->CheckBox2, false},  {Form->CheckBox3, true},   {Form->CheckBox4, false},
        {Form->CheckBox5, false}, {Form->CheckBox6, true},   {Form->CheckBox7, false},  {Form->CheckBox8, true},
        {Form->CheckBox9, false}, {Form->CheckBox10, true},  {Form->CheckBox11, false}, {Form->CheckBox12, false},
        {Form->CheckBox13, true}, {Form->CheckBox14, false}, {Form->CheckBox15, true},  {Form->CheckBox16, true},
        {Form->CheckBox18, true}};
    for (const auto& [box, checked] : checks)
        EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), checked ? BST_CHECKED : BST_UNCHECKED) << box->Name();

    EXPECT_EQ(Form->ComboBox1->ItemIndex(), 0);
    EXPECT_EQ(Form->ComboBox1->Items()->Count(), 9);
    EXPECT_EQ(Form->ComboBox2->ItemIndex(), -1);
    EXPECT_EQ(WindowText(Form->ComboBox2), L"9600bps");
    EXPECT_EQ(Form->ComboBox3->ItemIndex(), 0);
    EXPECT_EQ(Form->ComboBox4->ItemIndex(), 31);
    EXPECT_EQ(WindowText(Form->ComboBox4), L"32");
    EXPECT_FALSE(IsWindowEnabled(Form->ComboBox5->Handle()));
    EXPECT_FALSE(IsWindowEnabled(Form->ComboBox6->Handle()));
    EXPECT_EQ(Form->ComboBox6->ItemIndex(), 0);
    const std::pair<TComboBox*, int> times[] = {
        {Form->ComboBox5, 20}, {Form->ComboBox7, 10}, {Form->ComboBox8, 0}, {Form->ComboBox9, 0}};
    for (const auto& [box, index] : times) {
        ASSERT_EQ(SendMessageW(box->Handle(), CB_GETCOUNT, 0, 0), 256) << box->Name();
        EXPECT_EQ(Entry(box, 255), TimeText(255, ConsoleTexts::Second)) << box->Name();
        EXPECT_EQ(box->ItemIndex(), index) << box->Name();
        EXPECT_EQ(WindowText(box), TimeText(index, ConsoleTexts::Second)) << box->Name();
    }
    EXPECT_EQ(Form->Edit4->Text(), "01");
    EXPECT_EQ(SendMessageW(Form->Edit4->Handle(), EM_GETLIMITTEXT, 0, 0), 3);
    EXPECT_EQ(Form->Edit6->Text(), "0");
    EXPECT_EQ(Form->Memo1->Lines()->Count(), 0);

    EXPECT_FALSE(Form->Comm->IsOpen());
    EXPECT_EQ(Form->Comm->CommName(), "COM2");
    EXPECT_EQ(Form->Comm->BaudRate(), 19200u);
    EXPECT_EQ(Form->Comm->DcbFlags(), 0x1091u);
    EXPECT_EQ(Form->Comm->XonLimit(), 500);
    EXPECT_EQ(Form->Comm->XoffChar(), 0x13);
    EXPECT_EQ(Form->Comm->ReadIntervalTimeout(), 100u);
    EXPECT_TRUE(static_cast<bool>(Form->Comm->OnReceiveData));
    // Active as stored; the skin component switches it off while it has no skin to load.
    EXPECT_NE(Form->SkinData1, nullptr);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(FreaderTest, LinkChoiceEnablesItsButtons)
{
    Click(Form->RadioButton1);
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn1->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn2->Handle()));
    EXPECT_FALSE(IsWindowEnabled(Form->BitBtn3->Handle()));
    EXPECT_FALSE(IsWindowEnabled(Form->BitBtn4->Handle()));

    Click(Form->RadioButton2);
    EXPECT_FALSE(Form->RadioButton1->Checked());
    EXPECT_FALSE(IsWindowEnabled(Form->BitBtn1->Handle()));
    EXPECT_FALSE(IsWindowEnabled(Form->BitBtn2->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn3->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn4->Handle()));
    Click(Form->BitBtn3);
    Click(Form->BitBtn4);
    EXPECT_FALSE(Form->Comm->IsOpen());

    Click(Form->RadioButton1);
    EXPECT_FALSE(Form->RadioButton2->Checked());
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn1->Handle()));
}

TEST_F(FreaderTest, GroupChoiceExcludesTheOtherGroup)
{
    Click(Form->RadioButton3);
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn7->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn8->Handle()));
    EXPECT_FALSE(IsWindowEnabled(Form->BitBtn9->Handle()));

    Click(Form->RadioButton4);
    EXPECT_EQ(SendMessageW(Form->RadioButton3->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowEnabled(Form->BitBtn7->Handle()));
    EXPECT_FALSE(IsWindowEnabled(Form->BitBtn8->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn9->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn10->Handle()));

    Click(Form->RadioButton3);
    EXPECT_EQ(SendMessageW(Form->RadioButton4->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn7->Handle()));
    EXPECT_FALSE(IsWindowEnabled(Form->BitBtn10->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn5->Handle()));
}

TEST_F(FreaderTest, PairsKeepExactlyOneChecked)
{
    const std::pair<TCheckBox*, TCheckBox*> pairs[] = {{Form->CheckBox1, Form->CheckBox2},
                                                      {Form->CheckBox6, Form->CheckBox7},
                                                      {Form->CheckBox8, Form->CheckBox9},
                                                      {Form->CheckBox13, Form->CheckBox14}};
    for (const auto& [first, second] : pairs) {
        // Clicking the checked one unchecks it and checks its partner.
        Click(first);
        EXPECT_FALSE(first->Checked()) << first->Name();
        EXPECT_TRUE(second->Checked()) << second->Name();
        Click(first);
        EXPECT_TRUE(first->Checked()) << first->Name();
        EXPECT_FALSE(second->Checked()) << second->Name();
        Click(second);
        EXPECT_EQ(SendMessageW(first->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED) << first->Name();
        EXPECT_EQ(SendMessageW(second->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED) << second->Name();
    }
}

TEST_F(FreaderTest, TriplesKeepAtMostOneChecked)
{
    TCheckBox* const triples[][3] = {{Form->CheckBox3, Form->CheckBox4, Form->CheckBox5},
                                     {Form->CheckBox10, Form->CheckBox11, Form->CheckBox12}};
    for (auto& triple : triples) {
        Click(triple[1]);
        EXPECT_FALSE(triple[0]->Checked()) << triple[0]->Name();
        EXPECT_TRUE(triple[1]->Checked()) << triple[1]->Name();
        EXPECT_FALSE(triple[2]->Checked()) << triple[2]->Name();
        // Unchecking the only checked box leaves none.
        Click(triple[1]);
        for (TCheckBox* box : triple) EXPECT_FALSE(box->Checked()) << box->Name();
        Click(triple[2]);
        EXPECT_FALSE(triple[0]->Checked()) << triple[0]->Name();
        EXPECT_FALSE(triple[1]->Checked()) << triple[1]->Name();
        EXPECT_TRUE(triple[2]->Checked()) << triple[2]->Name();
    }
}

TEST_F(FreaderTest, ReadingModeEnablesTheTimeBoxes)
{
    auto timeBoxesEnabled = [this] {
        const bool span = IsWindowEnabled(Form->ComboBox5->Handle()) != FALSE;
        EXPECT_EQ(span, IsWindowEnabled(Form->ComboBox6->Handle()) != FALSE);
        return span;
    };
    Click(Form->CheckBox11);
    EXPECT_TRUE(timeBoxesEnabled());
    Click(Form->CheckBox11);  // unchecked: the boxes stay as they are
    EXPECT_TRUE(timeBoxesEnabled());
    Click(Form->CheckBox10);
    EXPECT_FALSE(timeBoxesEnabled());
    Click(Form->CheckBox10);
    EXPECT_FALSE(timeBoxesEnabled());
    Click(Form->CheckBox12);
    EXPECT_TRUE(timeBoxesEnabled());
    Click(Form->CheckBox10);
    EXPECT_FALSE(timeBoxesEnabled());
    EXPECT_FALSE(Form->CheckBox12->Checked());
}

TEST_F(FreaderTest, TimeUnitRefillsTheTimeSpan)
{
    Click(Form->CheckBox11);
    Key(Form->ComboBox6, VK_DOWN);
    ASSERT_EQ(Form->ComboBox6->ItemIndex(), 1);
    ASSERT_EQ(Form->ComboBox5->Items()->Count(), 256);
    EXPECT_EQ(Entry(Form->ComboBox5, 0), TimeText(0, ConsoleTexts::Minute));
    EXPECT_EQ(Entry(Form->ComboBox5, 255), TimeText(255, ConsoleTexts::Minute));
    EXPECT_EQ(Form->ComboBox5->ItemIndex(), 20);
    EXPECT_EQ(WindowText(Form->ComboBox5), TimeText(20, ConsoleTexts::Minute));

    Key(Form->ComboBox6, VK_UP);
    ASSERT_EQ(Form->ComboBox6->ItemIndex(), 0);
    EXPECT_EQ(Entry(Form->ComboBox5, 7), TimeText(7, ConsoleTexts::Second));
    EXPECT_EQ(WindowText(Form->ComboBox5), TimeText(20, ConsoleTexts::Second));

    // Typed text that matches no entry counts as minutes; typed text equal
    // to an entry counts as that entry.
    Form->ComboBox5->SetItemIndex(3);
    Type(Form->ComboBox6, L"x");
    EXPECT_EQ(Form->ComboBox6->ItemIndex(), -1);
    EXPECT_EQ(Entry(Form->ComboBox5, 1), TimeText(1, ConsoleTexts::Minute));
    EXPECT_EQ(Form->ComboBox5->ItemIndex(), 20);
    Type(Form->ComboBox6, ConsoleTexts::Second);
    EXPECT_EQ(Form->ComboBox6->ItemIndex(), -1);
    EXPECT_EQ(Entry(Form->ComboBox5, 1), TimeText(1, ConsoleTexts::Second));
}

TEST_F(FreaderTest, AddressFieldConvertsOnlyWhatWasTypedSinceTheLastConversion)
{
    Type(Form->Edit4, L"1a-2");
    EXPECT_EQ(WindowText(Form->Edit4), L"12");
    Focus(Form->Edit5);
    EXPECT_EQ(WindowText(Form->Edit4), L"0C");

    // Entering and leaving again, twice, keeps the hexadecimal text: it is
    // not read as decimal a second time ("10" would drift to "0A").
    Type(Form->Edit4, L"16");
    Focus(Form->Edit5);
    for (int again = 0; again < 2; ++again) {
        Focus(Form->Edit4);
        Focus(Form->Edit5);
        EXPECT_EQ(WindowText(Form->Edit4), L"10") << again;
    }
    EXPECT_TRUE(Boxes.empty());

    const std::pair<std::wstring, std::wstring> conversions[] = {
        {L"1", L"01"}, {L"10", L"0A"}, {L"255", L"FF"}, {L"999", L"3E7"}, {L"0", L"00"}, {L"01", L"01"}};
    for (const auto& [typed, shown] : conversions) {
        Type(Form->Edit4, typed);
        Focus(Form->Edit5);
        EXPECT_EQ(WindowText(Form->Edit4), shown) << typed;
    }

    // Emptied by the user: no number, so the conversion error is shown and
    // the field stays as typed, also on the next leave.
    Type(Form->Edit4, L"\b");
    Focus(Form->Edit5);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(WindowText(Form->Edit4), L"");
    Focus(Form->Edit4);
    Focus(Form->Edit5);
    EXPECT_EQ(Boxes.size(), 2u);

    // At most three characters.
    Type(Form->Edit4, L"12345");
    EXPECT_EQ(WindowText(Form->Edit4), L"123");
}

TEST_F(FreaderTest, OpensCom1ForAutoAndClosesIt)
{
    TCom1Pair pair;
    Click(Form->RadioButton1);
    Click(Form->BitBtn1);
    ASSERT_TRUE(Form->Comm->IsOpen());
    EXPECT_EQ(Form->Comm->CommName(), "COM1");
    // No rate picked: the box shows "9600bps" as text only.
    EXPECT_EQ(Form->Comm->BaudRate(), 9600u);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(Form->Comm->Handle(), &dcb));
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_FALSE(IsWindowEnabled(Form->BitBtn1->Handle()));

    // The far end hears what the port sends.
    HANDLE peer = CreateFileA(pair.PeerName().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(peer, INVALID_HANDLE_VALUE);
    COMMTIMEOUTS timeouts{0, 0, 2000, 0, 0};
    SetCommTimeouts(peer, &timeouts);
    const char sent[] = {0x05, 0x02};
    ASSERT_TRUE(Form->Comm->SendCommData(sent, sizeof sent));
    char heard[2] = {};
    DWORD count = 0;
    EXPECT_TRUE(ReadFile(peer, heard, sizeof heard, &count, nullptr));
    EXPECT_EQ(count, 2u);
    CloseHandle(peer);

    Click(Form->BitBtn2);
    EXPECT_FALSE(Form->Comm->IsOpen());
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn1->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn2->Handle()));
    Click(Form->BitBtn2);  // closing a closed port does nothing
    EXPECT_FALSE(Form->Comm->IsOpen());
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(FreaderTest, OpensATypedPortAtThePickedRate)
{
    TCom1Pair pair;
    Click(Form->RadioButton1);
    Type(Form->ComboBox1, std::wstring(pair.PeerName().begin(), pair.PeerName().end()));
    Key(Form->ComboBox2, VK_DOWN);  // the first entry
    Key(Form->ComboBox2, VK_DOWN);
    Key(Form->ComboBox2, VK_DOWN);
    ASSERT_EQ(Form->ComboBox2->ItemIndex(), 2);
    Click(Form->BitBtn1);
    ASSERT_TRUE(Form->Comm->IsOpen());
    EXPECT_EQ(Form->Comm->CommName(), pair.PeerName());
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(Form->Comm->Handle(), &dcb));
    EXPECT_EQ(dcb.BaudRate, 38400u);
    Click(Form->BitBtn2);
}

TEST_F(FreaderTest, MissingPortLeavesOpenEnabledSilently)
{
    Click(Form->RadioButton1);
    for (const wchar_t* name : {L"COM77", L"auto"}) {
        Type(Form->ComboBox1, name);
        Click(Form->BitBtn1);
        EXPECT_FALSE(Form->Comm->IsOpen()) << name;
        EXPECT_TRUE(IsWindowEnabled(Form->BitBtn1->Handle())) << name;
    }
    EXPECT_EQ(Form->Comm->CommName(), "auto");
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(FreaderTest, BaudRateFollowsTheEntryOfTheRateBox)
{
    TCom1Pair pair;
    Click(Form->RadioButton1);
    const std::pair<int, DWORD> rates[] = {{-1, 9600}, {0, 9600}, {1, 19200}, {2, 38400}, {3, 57600}, {4, 115200}};
    for (const auto& [index, rate] : rates) {
        Form->ComboBox2->SetItemIndex(index);
        Click(Form->BitBtn1);
        ASSERT_TRUE(Form->Comm->IsOpen()) << index;
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        GetCommState(Form->Comm->Handle(), &dcb);
        EXPECT_EQ(dcb.BaudRate, rate) << index;
        Click(Form->BitBtn2);
    }

    // Typed: the entry's text opens at its rate, other text opens nothing.
    Type(Form->ComboBox2, L"4800");
    Click(Form->BitBtn1);
    EXPECT_FALSE(Form->Comm->IsOpen());
    EXPECT_TRUE(IsWindowEnabled(Form->BitBtn1->Handle()));
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, ConsoleTexts::UnlistedPortRate);
    Type(Form->ComboBox2, L"57600bps");
    ASSERT_EQ(Form->ComboBox2->ItemIndex(), -1);
    Click(Form->BitBtn1);
    ASSERT_TRUE(Form->Comm->IsOpen());
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(Form->Comm->Handle(), &dcb);
    EXPECT_EQ(dcb.BaudRate, 57600u);
    Click(Form->BitBtn2);
}
