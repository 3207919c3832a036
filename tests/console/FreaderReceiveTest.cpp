// What the reader sends, end to end: chunks written on the far end of COM1
// (by the test, or by the simulated reader) reach the window's receive handler
// through TComm and become boxes, memo lines, tag numbers and the count.
#include "Com1Pair.h"
#include "ConsoleTexts.h"
#include "FreaderFixture.h"
#include "ReaderSimProcess.h"

#include "classlib/Text.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Longer than the quiet time that ends a chunk (100 ms).
constexpr DWORD kChunkPauseMs = 250;

class FreaderLineTest : public FreaderTest {
protected:
    void SetUp() override
    {
        FreaderTest::SetUp();
        Pair = std::make_unique<TCom1Pair>();
        OpenPort();
        Peer = CreateFileA(Pair->PeerName().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(Peer, INVALID_HANDLE_VALUE);
    }

    void TearDown() override
    {
        if (Peer != INVALID_HANDLE_VALUE) CloseHandle(Peer);
        Form->Comm->CloseComm();
        Pair.reset();
        FreaderTest::TearDown();
    }

    void Write(const std::string& Bytes)
    {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(Peer, Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr));
        ASSERT_EQ(written, Bytes.size());
    }

    // A chunk that adds a Memo1 line: written once the line has been quiet.
    void WriteReport(const std::string& Bytes)
    {
        const int lines = Form->Memo1->Lines()->Count();
        Write(Bytes);
        ASSERT_TRUE(PumpUntil([&] { return Form->Memo1->Lines()->Count() > lines; })) << Bytes;
    }

    // A chunk that shows nothing, then an answer behind it: once the answer's
    // box is up, the chunk before it has been handled.
    void WriteIgnored(const std::string& Bytes)
    {
        Write(Bytes);
        PumpUntil([] { return false; }, kChunkPauseMs);
        const size_t boxes = Boxes.size();
        Write("6");
        ASSERT_TRUE(PumpUntil([&] { return Boxes.size() > boxes; })) << Bytes;
        PumpUntil([] { return false; }, kChunkPauseMs);
    }

    std::vector<std::string> Lines(TMemo* Memo)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < Memo->Lines()->Count(); ++i) lines.push_back(Memo->Lines()->Get(i));
        return lines;
    }

    std::unique_ptr<TCom1Pair> Pair;
    HANDLE Peer = INVALID_HANDLE_VALUE;
};

} // namespace

TEST_F(FreaderLineTest, AnswersShowTheirBoxOnly)
{
    const struct {
        const char* Chunk;
        const wchar_t* Text;
    } cases[] = {{"6", ConsoleTexts::Success}, {"9", ConsoleTexts::Failure}, {"60", ConsoleTexts::Success},
                 {"9 and then 02", ConsoleTexts::Failure}};
    for (const auto& c : cases) {
        const size_t boxes = Boxes.size();
        Write(c.Chunk);
        ASSERT_TRUE(PumpUntil([&] { return Boxes.size() > boxes; })) << c.Chunk;
        EXPECT_EQ(Boxes.back().Text, c.Text) << c.Chunk;
        EXPECT_EQ(Boxes.back().Caption, TextToWide(Application->Title())) << c.Chunk;
        EXPECT_EQ(Boxes.back().Flags, static_cast<UINT>(MB_OK)) << c.Chunk;
        PumpUntil([] { return false; }, kChunkPauseMs);
    }
    EXPECT_EQ(Boxes.size(), std::size(cases));
    EXPECT_EQ(Form->Memo1->Lines()->Count(), 0);
    EXPECT_EQ(Form->Memo2->Lines()->Count(), 0);
    EXPECT_EQ(Form->Edit6->Text(), "0");
}

TEST_F(FreaderLineTest, AnswersWhileABoxIsOpenWaitForItOnceEachAndInOrder)
{
    // The first box stays open while three more answers arrive: its message
    // loop delivers them (as a real box's does).
    int open = 0;
    int most = 0;
    SetMessageBoxHook([&](HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
        Boxes.push_back({owner, text, caption, flags});
        most = std::max(most, ++open);
        if (Boxes.size() == 1) {
            for (const char* answer : {"6", "9", "6"}) {
                Write(answer);
                PumpUntil([] { return false; }, 2 * kChunkPauseMs);
            }
        }
        --open;
        return IDOK;
    });
    Write("6");
    ASSERT_TRUE(PumpUntil([&] { return Boxes.size() >= 3; }));
    PumpUntil([] { return false; }, kChunkPauseMs);
    EXPECT_EQ(most, 1) << "boxes open at once";
    std::vector<std::wstring> texts;
    for (const auto& box : Boxes) texts.push_back(box.Text);
    EXPECT_EQ(texts, (std::vector<std::wstring>{ConsoleTexts::Success, ConsoleTexts::Success, ConsoleTexts::Failure}));
    // The hook above holds this body's counters.
    SetMessageBoxHook([this](HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
        Boxes.push_back({owner, text, caption, flags});
        return IDOK;
    });
}

TEST_F(FreaderLineTest, ReportsGiveLineTagNumberAndCount)
{
    const struct {
        std::string Chunk;
        bool Hex;
        std::optional<std::string> TagNumber;  // none: not counted
    } cases[] = {
        {"02A10000BC614E\r\n", true, "0000BC614E"},
        {"02A10000BC614E\r\n", false, "0012345678"},
        {"02A100FFFFFFFF\r\n", false, "4294967295"},
        {"02A10000000001", false, "0000000001"},
        {"02A1FFFFFFFFFF\r\n", false, std::nullopt},
        {"02a1-bc-61-4e\r\n", true, "bc614e"},
        {"02a1-bc-61-4e\r\n", false, "0012345678"},
        {"02A", true, ""},
        {"02A", false, std::nullopt},
        {"02" + std::string(298, 'c'), true, "cccccccccc"},
    };
    std::vector<std::string> tagNumbers;
    int count = 0;
    for (const auto& c : cases) {
        Form->CheckBox18->SetChecked(c.Hex);
        WriteReport(c.Chunk);
        const std::string line = Form->Memo1->Lines()->Get(Form->Memo1->Lines()->Count() - 1);
        EXPECT_EQ(line.size(), c.Chunk.size() * 3 - 1) << c.Chunk;
        if (c.TagNumber) {
            tagNumbers.push_back(*c.TagNumber);
            ++count;
        }
        EXPECT_EQ(Lines(Form->Memo2), tagNumbers) << c.Chunk;
        EXPECT_EQ(Form->Edit6->Text(), std::to_string(count)) << c.Chunk;
    }
    EXPECT_EQ(Form->Memo1->Lines()->Get(0), "30 32 41 31 30 30 30 30 42 43 36 31 34 45 0D 0A");
    EXPECT_EQ(Form->Memo1->Lines()->Count(), static_cast<int>(std::size(cases)));
    EXPECT_TRUE(Boxes.empty());

    Click(Form->BitBtn12);
    EXPECT_EQ(Form->Memo1->Lines()->Count(), 0);
    EXPECT_EQ(Form->Memo2->Lines()->Count(), 0);
    EXPECT_EQ(WindowText(Form->Edit6), L"0");

    // A count that is no number stays as typed; the lines still come.
    Type(Form->Edit6, L"x");
    WriteReport("02A10000BC614E\r\n");
    EXPECT_EQ(Lines(Form->Memo2), std::vector<std::string>{"0000BC614E"});
    EXPECT_EQ(WindowText(Form->Edit6), L"x");
}

TEST_F(FreaderLineTest, OtherChunksAreIgnored)
{
    for (const char* chunk : {"0", "2", "20A10000BC614E", "\r\n", " 02A1"}) WriteIgnored(chunk);
    EXPECT_EQ(Form->Memo1->Lines()->Count(), 0);
    EXPECT_EQ(Form->Memo2->Lines()->Count(), 0);
    EXPECT_EQ(Form->Edit6->Text(), "0");
}

TEST_F(FreaderLineTest, ReportSplitByAPauseIsDecodedChunkByChunk)
{
    WriteReport("02A10000");
    EXPECT_EQ(Lines(Form->Memo1), std::vector<std::string>{"30 32 41 31 30 30 30 30"});
    EXPECT_EQ(Lines(Form->Memo2), std::vector<std::string>{"0000"});
    PumpUntil([] { return false; }, kChunkPauseMs);
    // The rest does not begin like anything that the window knows.
    WriteIgnored("BC614E\r\n");
    EXPECT_EQ(Form->Memo1->Lines()->Count(), 1);

    // A rest that begins like a report is one of its own.
    WriteReport("02A1");
    PumpUntil([] { return false; }, kChunkPauseMs);
    WriteReport("0200000001\r\n");
    EXPECT_EQ(Lines(Form->Memo2), (std::vector<std::string>{"0000", "", "000001"}));
    EXPECT_EQ(Form->Edit6->Text(), "3");
}

TEST_F(FreaderLineTest, SimulatedReaderReportsReachBothMemos)
{
    {
        TReaderSimProcess sim(Pair->PeerPath(), "--tags BC614E --count 1");
        ASSERT_TRUE(PumpUntil([&] { return Form->Memo1->Lines()->Count() == 1; }));
    }
    EXPECT_EQ(Lines(Form->Memo1), std::vector<std::string>{"30 32 30 31 30 30 30 30 42 43 36 31 34 45 0D 0A"});
    EXPECT_EQ(Lines(Form->Memo2), std::vector<std::string>{"0000BC614E"});
    EXPECT_EQ(Form->Edit6->Text(), "1");

    Click(Form->CheckBox18);
    {
        TReaderSimProcess sim(Pair->PeerPath(), "--tags FFFFFFFF,FFFFFFFFFF,1 --rate 200ms --count 3");
        ASSERT_TRUE(PumpUntil([&] { return Form->Memo1->Lines()->Count() == 4; }));
    }
    EXPECT_EQ(Lines(Form->Memo2), (std::vector<std::string>{"0000BC614E", "4294967295", "0000000001"}));
    EXPECT_EQ(Form->Edit6->Text(), "3");
    EXPECT_TRUE(Boxes.empty());
}
