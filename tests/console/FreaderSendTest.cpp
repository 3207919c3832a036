// Setting, Restore and Send end to end: the window's frames go through TComm
// on COM1 to the simulated reader on the far end, which prints every frame it
// takes and answers; the answers come back as message boxes.
#include "Com1Pair.h"
#include "ConsoleTexts.h"
#include "FreaderFixture.h"
#include "ReaderSimProcess.h"

#include "classlib/Text.h"

#include <memory>
#include <string>
#include <utility>

namespace {

class FreaderSimTest : public FreaderTest {
protected:
    void SetUp() override
    {
        FreaderTest::SetUp();
        Pair = std::make_unique<TCom1Pair>();
        OpenPort();
        Sim = std::make_unique<TReaderSimProcess>(Pair->PeerPath(), "");
    }

    void TearDown() override
    {
        Sim.reset();
        Form->Comm->CloseComm();
        Pair.reset();
        FreaderTest::TearDown();
    }

    // Clicks the button; returns the frame that the reader took and checks
    // that its answer was shown in a box of the class library.
    std::string SendAndAnswer(TBitBtn* Button, const wchar_t* Answer = ConsoleTexts::Success)
    {
        const size_t frames = Sim->Frames().size(), boxes = Boxes.size();
        Click(Button);
        const bool answered = PumpUntil([&] { return Sim->Frames().size() > frames && Boxes.size() > boxes; });
        EXPECT_TRUE(answered) << Button->Name();
        if (!answered) return {};
        EXPECT_EQ(Sim->Frames().size(), frames + 1) << Button->Name();
        EXPECT_EQ(Boxes.size(), boxes + 1) << Button->Name();
        EXPECT_EQ(Boxes.back().Text, Answer) << Button->Name();
        EXPECT_EQ(Boxes.back().Caption, TextToWide(Application->Title()));
        EXPECT_EQ(Boxes.back().Flags, static_cast<UINT>(MB_OK));
        return Sim->Frames().back();
    }

    bool IsChecked(TCheckBox* Box) { return SendMessageW(Box->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    std::unique_ptr<TCom1Pair> Pair;
    std::unique_ptr<TReaderSimProcess> Sim;
};

} // namespace

TEST_F(FreaderSimTest, StoredValuesArriveByteExact)
{
    const struct {
        TRadioButton* Group;
        TBitBtn* Button;
        const char* Frame;
    } cases[] = {
        {nullptr, Form->BitBtn5, "08 01 01 01 00 20 1A 01 01"},
        {nullptr, Form->BitBtn6, "08 01 01 01 00 20 1A 01 01"},
        {Form->RadioButton3, Form->BitBtn7, "05 02 01 14 00 00"},
        {nullptr, Form->BitBtn8, "05 02 01 00 00 00"},
        {Form->RadioButton4, Form->BitBtn9, "06 03 01 01 0A 00 00"},
        {nullptr, Form->BitBtn10, "06 03 01 01 0A 00 00"},
    };
    for (const auto& c : cases) {
        if (c.Group != nullptr) Click(c.Group);
        EXPECT_EQ(SendAndAnswer(c.Button), c.Frame) << c.Button->Name();
    }
}

TEST_F(FreaderSimTest, ChangedBaseParametersArriveAndRestorePutsThemBack)
{
    Type(Form->Edit4, L"999");
    Focus(Form->Edit5);
    Form->ComboBox3->SetItemIndex(4);
    Click(Form->CheckBox2);
    Form->ComboBox4->SetItemIndex(4);
    Click(Form->CheckBox4);
    Click(Form->CheckBox7);
    Click(Form->CheckBox9);
    EXPECT_EQ(SendAndAnswer(Form->BitBtn5), "08 01 E7 05 01 05 22 00 00");

    EXPECT_EQ(SendAndAnswer(Form->BitBtn6), "08 01 01 01 00 20 1A 01 01");
    EXPECT_EQ(WindowText(Form->Edit4), L"01");
    EXPECT_EQ(Form->ComboBox3->ItemIndex(), 0);
    EXPECT_EQ(Form->ComboBox4->ItemIndex(), 31);
    const std::pair<TCheckBox*, bool> restored[] = {
        {Form->CheckBox1, true}, {Form->CheckBox2, false}, {Form->CheckBox3, true},
        {Form->CheckBox4, false}, {Form->CheckBox5, false}, {Form->CheckBox6, true},
        {Form->CheckBox7, false}, {Form->CheckBox8, true}, {Form->CheckBox9, false}};
    for (const auto& [box, checked] : restored) EXPECT_EQ(IsChecked(box), checked) << box->Name();

    // Back to the knob: level 32 is sent and shown whatever was picked.
    Click(Form->CheckBox2);
    Form->ComboBox4->SetItemIndex(0);
    Click(Form->CheckBox1);
    Click(Form->CheckBox5);
    EXPECT_EQ(SendAndAnswer(Form->BitBtn5), "08 01 01 01 00 20 00 01 01");
    EXPECT_EQ(Form->ComboBox4->ItemIndex(), 31);

}

TEST_F(FreaderSimTest, TypedBoxTextCountsAsItsEntryOrIsRefusedByName)
{
    // Refused: the box is named and nothing goes out. The next frame that the
    // reader takes is the one sent after the text was made an entry.
    const auto refused = [&](TBitBtn* Button, const wchar_t* Message) {
        const size_t boxes = Boxes.size();
        Click(Button);
        ASSERT_EQ(Boxes.size(), boxes + 1) << Button->Name();
        EXPECT_EQ(Boxes.back().Text, Message) << Button->Name();
        EXPECT_EQ(Boxes.back().Caption, TextToWide(Application->Title()));
    };
    Type(Form->ComboBox3, L"4800");
    ASSERT_EQ(Form->ComboBox3->ItemIndex(), -1);
    refused(Form->BitBtn5, ConsoleTexts::UnlistedReaderRate);
    Type(Form->ComboBox3, L"38400bps");
    Click(Form->CheckBox2);
    Type(Form->ComboBox4, L"33");
    refused(Form->BitBtn5, ConsoleTexts::UnlistedPowerLevel);
    Type(Form->ComboBox4, L"7");
    ASSERT_EQ(Form->ComboBox4->ItemIndex(), -1);
    EXPECT_EQ(SendAndAnswer(Form->BitBtn5), "08 01 01 03 01 07 1A 01 01");

    Click(Form->RadioButton3);
    Click(Form->CheckBox11);
    Type(Form->ComboBox5, L"7");
    refused(Form->BitBtn7, ConsoleTexts::UnlistedTimeSpan);
    Type(Form->ComboBox5, L"7" + std::wstring(ConsoleTexts::Second));
    EXPECT_EQ(SendAndAnswer(Form->BitBtn7), "05 02 02 07 00 00");
    // Typing into the unit refills the time span and selects its entry 20.
    Type(Form->ComboBox6, L"x");
    refused(Form->BitBtn7, ConsoleTexts::UnlistedTimeUnit);
    Type(Form->ComboBox6, ConsoleTexts::Minute);
    EXPECT_EQ(SendAndAnswer(Form->BitBtn7), "05 02 02 14 01 00");

    Click(Form->RadioButton4);
    Type(Form->ComboBox9, L"-1");
    refused(Form->BitBtn9, ConsoleTexts::UnlistedFiltration);
    Type(Form->ComboBox9, L"3" + std::wstring(ConsoleTexts::Second));
    EXPECT_EQ(SendAndAnswer(Form->BitBtn9), "06 03 01 01 0A 00 03");
    EXPECT_EQ(Sim->Frames().size(), 4u);
}

TEST_F(FreaderSimTest, ChangedModeAndLockArriveAndRestorePutsThemBack)
{
    Click(Form->RadioButton3);
    Click(Form->CheckBox12);
    Key(Form->ComboBox6, VK_DOWN);
    ASSERT_EQ(Form->ComboBox6->ItemIndex(), 1);
    Form->ComboBox5->SetItemIndex(30);
    Click(Form->CheckBox14);
    EXPECT_EQ(SendAndAnswer(Form->BitBtn7), "05 02 03 1E 01 01");

    // The factory frame carries time 0 though the box shows its entry 20.
    EXPECT_EQ(SendAndAnswer(Form->BitBtn8), "05 02 01 00 00 00");
    EXPECT_TRUE(IsChecked(Form->CheckBox10));
    EXPECT_FALSE(IsChecked(Form->CheckBox12));
    EXPECT_TRUE(IsChecked(Form->CheckBox13));
    EXPECT_FALSE(IsChecked(Form->CheckBox14));
    EXPECT_EQ(Form->ComboBox6->ItemIndex(), 0);
    EXPECT_EQ(Form->ComboBox5->ItemIndex(), 20);
    EXPECT_EQ(WindowText(Form->ComboBox5), std::wstring(L"20") + ConsoleTexts::Second);
    EXPECT_FALSE(IsWindowEnabled(Form->ComboBox5->Handle()));

    Click(Form->RadioButton4);
    Click(Form->CheckBox15);
    Form->ComboBox7->SetItemIndex(255);
    Form->ComboBox8->SetItemIndex(3);
    Form->ComboBox9->SetItemIndex(7);
    EXPECT_EQ(SendAndAnswer(Form->BitBtn9), "06 03 00 01 FF 03 07");
    EXPECT_EQ(SendAndAnswer(Form->BitBtn10), "06 03 01 01 0A 00 00");
    EXPECT_TRUE(IsChecked(Form->CheckBox15));
    EXPECT_TRUE(IsChecked(Form->CheckBox16));
    EXPECT_EQ(Form->ComboBox7->ItemIndex(), 10);
    EXPECT_EQ(Form->ComboBox8->ItemIndex(), 0);
    EXPECT_EQ(Form->ComboBox9->ItemIndex(), 0);
}

TEST_F(FreaderSimTest, RawSendGoesOutAsTyped)
{
    Type(Form->Edit5, L"050201140000");
    EXPECT_EQ(SendAndAnswer(Form->BitBtn11), "05 02 01 14 00 00");
    // Command 0A is unknown to the reader.
    Type(Form->Edit5, L"02 0a ff");
    EXPECT_EQ(SendAndAnswer(Form->BitBtn11, ConsoleTexts::Failure), "02 0A FF");
}

TEST_F(FreaderSimTest, MissingChoiceOrAddressSendsNothing)
{
    Click(Form->CheckBox3);
    Click(Form->BitBtn5);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, ConsoleTexts::SelectWiegand);
    EXPECT_EQ(Boxes[0].Caption, TextToWide(Application->Title()));
    EXPECT_TRUE(IsChecked(Form->CheckBox3));

    Click(Form->RadioButton3);
    Click(Form->CheckBox11);
    Click(Form->CheckBox11);
    Click(Form->BitBtn7);
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[1].Text, ConsoleTexts::SelectMode);
    EXPECT_TRUE(IsChecked(Form->CheckBox10));
    EXPECT_FALSE(IsWindowEnabled(Form->ComboBox5->Handle()));

    // No hexadecimal address: the conversion error is shown, nothing is sent.
    Form->Edit4->SetText("");
    Click(Form->BitBtn5);
    ASSERT_EQ(Boxes.size(), 3u);
    EXPECT_EQ(Boxes[2].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));

    // The first frame that the reader takes is the one sent now.
    Form->Edit4->SetText("01");
    EXPECT_EQ(SendAndAnswer(Form->BitBtn7), "05 02 01 14 00 00");
    EXPECT_EQ(Sim->Frames().size(), 1u);
}

TEST_F(FreaderSimTest, NothingToSendOrTooMuchShowsSendFail)
{
    for (const char* text : {"", "xyz -"}) {
        Form->Edit5->SetText(text);
        const size_t boxes = Boxes.size();
        Click(Form->BitBtn11);
        ASSERT_EQ(Boxes.size(), boxes + 1) << text;
        EXPECT_EQ(Boxes.back().Text, ConsoleTexts::SendFail) << text;
    }
    // More than a 16-bit count: refused as a whole. Cut to 16 bits it would
    // be 9 bytes, a frame that the reader would print.
    Form->SendFrame(TBytes(65536 + 9, 0x06));
    ASSERT_EQ(Boxes.size(), 3u);
    EXPECT_EQ(Boxes.back().Text, ConsoleTexts::SendFail);

    EXPECT_EQ(SendAndAnswer(Form->BitBtn5), "08 01 01 01 00 20 1A 01 01");
    EXPECT_EQ(Sim->Frames().size(), 1u);
}

TEST_F(FreaderTest, SendWhileClosedShowsSendFail)
{
    const struct {
        TRadioButton* Group;
        TBitBtn* Button;
    } cases[] = {{nullptr, Form->BitBtn5},          {nullptr, Form->BitBtn6},  {Form->RadioButton3, Form->BitBtn7},
                 {nullptr, Form->BitBtn8},          {Form->RadioButton4, Form->BitBtn9}, {nullptr, Form->BitBtn10},
                 {nullptr, Form->BitBtn11}};
    Form->Edit5->SetText("01");
    Form->ComboBox7->SetItemIndex(3);
    for (const auto& c : cases) {
        if (c.Group != nullptr) Click(c.Group);
        const size_t boxes = Boxes.size();
        Click(c.Button);
        ASSERT_EQ(Boxes.size(), boxes + 1) << c.Button->Name();
        const TShownBox& box = Boxes.back();
        EXPECT_EQ(box.Owner, Form->Handle()) << c.Button->Name();
        EXPECT_EQ(box.Text, ConsoleTexts::SendFail) << c.Button->Name();
        EXPECT_EQ(box.Caption, ConsoleTexts::Caption) << c.Button->Name();
        EXPECT_EQ(box.Flags, static_cast<UINT>(MB_OK | MB_ICONWARNING)) << c.Button->Name();
    }
    // A Restore puts its controls back even when the send fails.
    EXPECT_EQ(Form->ComboBox7->ItemIndex(), 10);
}
