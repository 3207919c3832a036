// TFreader: the reader's command frames going out (Setting, Restore, Send) and
// its answers and tag reports coming in. The frames, the hexadecimal text and
// the decoding are portable code; this file only reads controls and shows.
#include "Ureader.h"

#include "EditionTexts.h"
#include "console/portable/Reports.h"

#include <windows.h>

#include <algorithm>

namespace {

// Each chunk waits this long on the GUI thread before it is decoded.
constexpr DWORD kReceiveWaitMs = 100;

} // namespace

// --- Reading and showing the parameter groups

int TFreader::ShownEntry(const TComboBox* Box)
{
    const int picked = Box->ItemIndex();
    return picked >= 0 ? picked : Box->Items()->IndexOf(Box->Text());
}

bool TFreader::RefuseUnlisted(const TComboBox* Box, const char* Message)
{
    if (ShownEntry(Box) >= 0) return false;
    ShowMessage(Message);
    return true;
}

bool TFreader::RefuseUnlistedBase() const
{
    // The knob sets the level itself, whatever its box holds.
    return RefuseUnlisted(ComboBox3, EditionTexts::UnlistedReaderRate) ||
           (!CheckBox1->Checked() && RefuseUnlisted(ComboBox4, EditionTexts::UnlistedPowerLevel));
}

bool TFreader::RefuseUnlistedMode() const
{
    return RefuseUnlisted(ComboBox5, EditionTexts::UnlistedTimeSpan) ||
           RefuseUnlisted(ComboBox6, EditionTexts::UnlistedTimeUnit);
}

bool TFreader::RefuseUnlistedLock() const
{
    return RefuseUnlisted(ComboBox7, EditionTexts::UnlistedLockTime) ||
           RefuseUnlisted(ComboBox8, EditionTexts::UnlistedTriggerDelay) ||
           RefuseUnlisted(ComboBox9, EditionTexts::UnlistedFiltration);
}

TBaseSettings TFreader::ReadBaseSettings() const
{
    TBaseSettings s;
    s.Address = Edit4->Text();
    s.BaudIndex = ShownEntry(ComboBox3);
    s.Knob = CheckBox1->Checked();
    s.PowerIndex = ShownEntry(ComboBox4);
    s.Wg26 = CheckBox3->Checked();
    s.Wg34 = CheckBox4->Checked();
    s.WgClose = CheckBox5->Checked();
    s.Rs232 = CheckBox6->Checked();
    s.RelayEnable = CheckBox8->Checked();
    return s;
}

TModeSettings TFreader::ReadModeSettings() const
{
    TModeSettings s;
    s.Continuous = CheckBox10->Checked();
    s.Interval = CheckBox11->Checked();
    s.Reentry = CheckBox12->Checked();
    s.TimeIndex = ShownEntry(ComboBox5);
    s.UnitIndex = ShownEntry(ComboBox6);
    s.Active = CheckBox13->Checked();
    return s;
}

TLockSettings TFreader::ReadLockSettings() const
{
    TLockSettings s;
    s.Wireless = CheckBox15->Checked();
    s.Preread = CheckBox16->Checked();
    s.LockTimeIndex = ShownEntry(ComboBox7);
    s.TriggerDelayIndex = ShownEntry(ComboBox8);
    s.FilterIndex = ShownEntry(ComboBox9);
    return s;
}

// The check box handlers keep pairs and triples consistent, so a box is set
// to true before its partners are set to false.
void TFreader::ShowBaseSettings(const TBaseSettings& Settings)
{
    Edit4->SetText(Settings.Address);
    ComboBox3->SetItemIndex(Settings.BaudIndex);
    CheckBox1->SetChecked(Settings.Knob);
    CheckBox2->SetChecked(!Settings.Knob);
    ComboBox4->SetItemIndex(Settings.PowerIndex);
    CheckBox3->SetChecked(Settings.Wg26);
    CheckBox4->SetChecked(Settings.Wg34);
    CheckBox5->SetChecked(Settings.WgClose);
    CheckBox6->SetChecked(Settings.Rs232);
    CheckBox7->SetChecked(!Settings.Rs232);
    CheckBox8->SetChecked(Settings.RelayEnable);
    CheckBox9->SetChecked(!Settings.RelayEnable);
}

void TFreader::ShowModeSettings(const TModeSettings& Settings)
{
    CheckBox10->SetChecked(Settings.Continuous);
    CheckBox11->SetChecked(Settings.Interval);
    CheckBox12->SetChecked(Settings.Reentry);
    ComboBox5->SetItemIndex(Settings.TimeIndex);
    ComboBox6->SetItemIndex(Settings.UnitIndex);
    // Refills the time box in the unit shown and selects its default entry.
    ComboBox6Change(ComboBox6);
    CheckBox13->SetChecked(Settings.Active);
    CheckBox14->SetChecked(!Settings.Active);
}

void TFreader::ShowLockSettings(const TLockSettings& Settings)
{
    CheckBox15->SetChecked(Settings.Wireless);
    CheckBox16->SetChecked(Settings.Preread);
    ComboBox7->SetItemIndex(Settings.LockTimeIndex);
    ComboBox8->SetItemIndex(Settings.TriggerDelayIndex);
    ComboBox9->SetItemIndex(Settings.FilterIndex);
}

// --- Sending

void TFreader::SendFrame(const TBytes& Bytes)
{
    if (Bytes.size() <= MaxSendLength &&
        Comm->SendCommData(Bytes.data(), static_cast<uint16_t>(Bytes.size())))
        return;
    AppMessageBox(Handle(), EditionTexts::SendFail, Caption(), MB_OK | MB_ICONWARNING);
}

void TFreader::BitBtn5Click(TObject*)
{
    if (RefuseUnlistedBase()) return;
    TBaseSettings settings = ReadBaseSettings();
    // An address that is not hexadecimal raises here, before anything is sent.
    const std::optional<TBytes> frame = BuildBaseFrame(settings);
    if (!frame) {
        ShowMessage(EditionTexts::SelectWiegand);
        CheckBox3->SetChecked(settings.Wg26);
        return;
    }
    if (settings.Knob) ComboBox4->SetItemIndex(settings.PowerIndex);
    SendFrame(FrameForSending(*frame));
}

void TFreader::BitBtn6Click(TObject*)
{
    ShowBaseSettings(RestoredBaseSettings());
    SendFrame(FrameForSending(RestoreBaseFrame()));
}

void TFreader::BitBtn7Click(TObject*)
{
    if (RefuseUnlistedMode()) return;
    TModeSettings settings = ReadModeSettings();
    const std::optional<TBytes> frame = BuildModeFrame(settings);
    if (!frame) {
        ShowMessage(EditionTexts::SelectMode);
        CheckBox10->SetChecked(settings.Continuous);
        return;
    }
    SendFrame(FrameForSending(*frame));
}

void TFreader::BitBtn8Click(TObject*)
{
    ShowModeSettings(RestoredModeSettings());
    SendFrame(FrameForSending(RestoreModeFrame()));
}

void TFreader::BitBtn9Click(TObject*)
{
    if (RefuseUnlistedLock()) return;
    SendFrame(FrameForSending(BuildLockFrame(ReadLockSettings())));
}

void TFreader::BitBtn10Click(TObject*)
{
    ShowLockSettings(RestoredLockSettings());
    SendFrame(FrameForSending(RestoreLockFrame()));
}

void TFreader::BitBtn11Click(TObject*)
{
    SendFrame(HexTextToBytes(Edit5->Text()));
}

// --- Receiving

void TFreader::BitBtn12Click(TObject*)
{
    Memo1->Lines()->Clear();
    Memo2->Lines()->Clear();
    Edit6->SetText("0");
}

void TFreader::CommReceiveData(TObject*, const void* Buffer, uint16_t BufferLength)
{
    try {
        Sleep(kReceiveWaitMs);
        const TChunkInfo chunk = DecodeChunk(static_cast<const uint8_t*>(Buffer), BufferLength);
        switch (chunk.Kind) {
        case TChunkKind::Success: ShowAnswer(EditionTexts::Success); return;
        case TChunkKind::Failure: ShowAnswer(EditionTexts::Failure); return;
        case TChunkKind::Other: return;
        case TChunkKind::Report: break;
        }
        Memo1->Lines()->Add(chunk.Line);
        // A tag number that cannot be shown in decimal leaves the report uncounted.
        const std::optional<std::string> tag = TagNumberText(chunk, CheckBox18->Checked());
        if (!tag) return;
        Memo2->Lines()->Add(*tag);
        if (const std::optional<std::string> count = NextReportCount(Edit6->Text())) Edit6->SetText(*count);
    } catch (const std::exception&) {
        // What the reader sends is never worth a message box of its own.
    }
}

void TFreader::ShowAnswer(const char* Text)
{
    // The box's own message loop delivers further chunks, and so answers:
    // they wait here instead of opening boxes over it.
    if (FAnswerShown) {
        if (std::find(FWaitingAnswers.begin(), FWaitingAnswers.end(), Text) == FWaitingAnswers.end())
            FWaitingAnswers.push_back(Text);
        return;
    }
    FAnswerShown = true;
    struct TShown {
        bool& Flag;
        ~TShown() { Flag = false; }
    } shown{FAnswerShown};
    ShowMessage(Text);
    while (!FWaitingAnswers.empty()) {
        const char* next = FWaitingAnswers.front();
        FWaitingAnswers.erase(FWaitingAnswers.begin());
        ShowMessage(next);
    }
}
