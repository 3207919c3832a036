// TFreader: start-up state, option logic, the address field and opening and
// closing the port. Sending and receiving live in UreaderComm.cpp.
#include "Ureader.h"

#include "EditionTexts.h"
#include "console/portable/Frames.h"
#include "classlib/portable/TypInfo.h"

#include <string>

TFreader* Freader = nullptr;

namespace {

constexpr int kTimeCount = 256;
constexpr int kDefaultTimeSpan = 20;
constexpr int kDefaultLockTime = 10;
constexpr char kAutoPort[] = "AUTO";
constexpr char kAutoPortName[] = "COM1";

// The PC-side rate from the entry of the rate box.
uint32_t PortBaudRate(int index)
{
    switch (index) {
    case 1: return 19200;
    case 2: return 38400;
    case 3: return 57600;
    case 4: return 115200;
    default: return 9600;
    }
}

} // namespace

const TClassInfo& TFreader::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TFreader>("TFreader", TForm::StaticClassInfo())
            .Creatable()
            .Field("PageControl1", &TFreader::PageControl1)
            .Field("TabSheet1", &TFreader::TabSheet1)
            .Field("TabSheet3", &TFreader::TabSheet3)
            .Field("GroupBox1", &TFreader::GroupBox1)
            .Field("GroupBox2", &TFreader::GroupBox2)
            .Field("GroupBox3", &TFreader::GroupBox3)
            .Field("GroupBox4", &TFreader::GroupBox4)
            .Field("GroupBox5", &TFreader::GroupBox5)
            .Field("GroupBox6", &TFreader::GroupBox6)
            .Field("GroupBox7", &TFreader::GroupBox7)
            .Field("RadioButton1", &TFreader::RadioButton1)
            .Field("RadioButton2", &TFreader::RadioButton2)
            .Field("RadioButton3", &TFreader::RadioButton3)
            .Field("RadioButton4", &TFreader::RadioButton4)
            .Field("Label1", &TFreader::Label1)
            .Field("Label2", &TFreader::Label2)
            .Field("Label3", &TFreader::Label3)
            .Field("Label4", &TFreader::Label4)
            .Field("Label5", &TFreader::Label5)
            .Field("Label6", &TFreader::Label6)
            .Field("Label7", &TFreader::Label7)
            .Field("Label8", &TFreader::Label8)
            .Field("Label9", &TFreader::Label9)
            .Field("Label10", &TFreader::Label10)
            .Field("Label11", &TFreader::Label11)
            .Field("Label12", &TFreader::Label12)
            .Field("Label13", &TFreader::Label13)
            .Field("Label14", &TFreader::Label14)
            .Field("Label15", &TFreader::Label15)
#ifdef TB_EDITION_ZH
            .Field("Label16", &TFreader::Label16)
#endif
            .Field("Label17", &TFreader::Label17)
            .Field("Label18", &TFreader::Label18)
            .Field("Label19", &TFreader::Label19)
            .Field("Label20", &TFreader::Label20)
            .Field("Label21", &TFreader::Label21)
            .Field("Label22", &TFreader::Label22)
            .Field("Label23", &TFreader::Label23)
            .Field("Label24", &TFreader::Label24)
            .Field("Label25", &TFreader::Label25)
            .Field("Label26", &TFreader::Label26)
            .Field("ComboBox1", &TFreader::ComboBox1)
            .Field("ComboBox2", &TFreader::ComboBox2)
            .Field("ComboBox3", &TFreader::ComboBox3)
            .Field("ComboBox4", &TFreader::ComboBox4)
            .Field("ComboBox5", &TFreader::ComboBox5)
            .Field("ComboBox6", &TFreader::ComboBox6)
            .Field("ComboBox7", &TFreader::ComboBox7)
            .Field("ComboBox8", &TFreader::ComboBox8)
            .Field("ComboBox9", &TFreader::ComboBox9)
            .Field("Edit1", &TFreader::Edit1)
            .Field("Edit2", &TFreader::Edit2)
            .Field("Edit3", &TFreader::Edit3)
            .Field("Edit4", &TFreader::Edit4)
            .Field("Edit5", &TFreader::Edit5)
            .Field("Edit6", &TFreader::Edit6)
            .Field("BitBtn1", &TFreader::BitBtn1)
            .Field("BitBtn2", &TFreader::BitBtn2)
            .Field("BitBtn3", &TFreader::BitBtn3)
            .Field("BitBtn4", &TFreader::BitBtn4)
            .Field("BitBtn5", &TFreader::BitBtn5)
            .Field("BitBtn6", &TFreader::BitBtn6)
            .Field("BitBtn7", &TFreader::BitBtn7)
            .Field("BitBtn8", &TFreader::BitBtn8)
            .Field("BitBtn9", &TFreader::BitBtn9)
            .Field("BitBtn10", &TFreader::BitBtn10)
            .Field("BitBtn11", &TFreader::BitBtn11)
            .Field("BitBtn12", &TFreader::BitBtn12)
            .Field("CheckBox1", &TFreader::CheckBox1)
            .Field("CheckBox2", &TFreader::CheckBox2)
            .Field("CheckBox3", &TFreader::CheckBox3)
            .Field("CheckBox4", &TFreader::CheckBox4)
            .Field("CheckBox5", &TFreader::CheckBox5)
            .Field("CheckBox6", &TFreader::CheckBox6)
            .Field("CheckBox7", &TFreader::CheckBox7)
            .Field("CheckBox8", &TFreader::CheckBox8)
            .Field("CheckBox9", &TFreader::CheckBox9)
            .Field("CheckBox10", &TFreader::CheckBox10)
            .Field("CheckBox11", &TFreader::CheckBox11)
            .Field("CheckBox12", &TFreader::CheckBox12)
            .Field("CheckBox13", &TFreader::CheckBox13)
            .Field("CheckBox14", &TFreader::CheckBox14)
            .Field("CheckBox15", &TFreader::CheckBox15)
            .Field("CheckBox16", &TFreader::CheckBox16)
            .Field("CheckBox18", &TFreader::CheckBox18)
            .Field("Memo1", &TFreader::Memo1)
            .Field("Memo2", &TFreader::Memo2)
            .Field("StatusBar1", &TFreader::StatusBar1)
            .Field("Comm", &TFreader::Comm)
            .Field("SkinData1", &TFreader::SkinData1)
            .Method("FormShow", &TFreader::FormShow)
            .Method("RadioButton1Click", &TFreader::RadioButton1Click)
            .Method("RadioButton2Click", &TFreader::RadioButton2Click)
            .Method("RadioButton3Click", &TFreader::RadioButton3Click)
            .Method("RadioButton4Click", &TFreader::RadioButton4Click)
            .Method("CheckBox1Click", &TFreader::CheckBox1Click)
            .Method("CheckBox2Click", &TFreader::CheckBox2Click)
            .Method("CheckBox3Click", &TFreader::CheckBox3Click)
            .Method("CheckBox4Click", &TFreader::CheckBox4Click)
            .Method("CheckBox5Click", &TFreader::CheckBox5Click)
            .Method("CheckBox6Click", &TFreader::CheckBox6Click)
            .Method("CheckBox7Click", &TFreader::CheckBox7Click)
            .Method("CheckBox8Click", &TFreader::CheckBox8Click)
            .Method("CheckBox9Click", &TFreader::CheckBox9Click)
            .Method("CheckBox10Click", &TFreader::CheckBox10Click)
            .Method("CheckBox11Click", &TFreader::CheckBox11Click)
            .Method("CheckBox12Click", &TFreader::CheckBox12Click)
            .Method("CheckBox13Click", &TFreader::CheckBox13Click)
            .Method("CheckBox14Click", &TFreader::CheckBox14Click)
            .Method("ComboBox6Change", &TFreader::ComboBox6Change)
            .Method("Edit4KeyPress", &TFreader::Edit4KeyPress)
            .Method("Edit4Exit", &TFreader::Edit4Exit)
            .Method("BitBtn1Click", &TFreader::BitBtn1Click)
            .Method("BitBtn2Click", &TFreader::BitBtn2Click)
            .Method("BitBtn5Click", &TFreader::BitBtn5Click)
            .Method("BitBtn6Click", &TFreader::BitBtn6Click)
            .Method("BitBtn7Click", &TFreader::BitBtn7Click)
            .Method("BitBtn8Click", &TFreader::BitBtn8Click)
            .Method("BitBtn9Click", &TFreader::BitBtn9Click)
            .Method("BitBtn10Click", &TFreader::BitBtn10Click)
            .Method("BitBtn11Click", &TFreader::BitBtn11Click)
            .Method("BitBtn12Click", &TFreader::BitBtn12Click)
            .Method("CommReceiveData", &TFreader::CommReceiveData)
            .Build();
    return info;
}

void RegisterConsoleClasses()
{
    RegisterComponentClass(TFreader::StaticClassInfo());
    RegisterComponentClass(TComm::StaticClassInfo());
    RegisterComponentClass(TSkinData::StaticClassInfo());
}

TFreader::TFreader(TComponent* AOwner) : TForm(AOwner) {}

void TFreader::FillTimes(TComboBox* Box, const char* Unit)
{
    TStrings* items = Box->Items();
    const TStringsUpdate update(*items);
    items->Clear();
    for (int n = 0; n < kTimeCount; ++n) items->Add(std::to_string(n) + Unit);
}

void TFreader::FormShow(TObject*)
{
    for (TComboBox* box : {ComboBox5, ComboBox7, ComboBox8, ComboBox9}) FillTimes(box, EditionTexts::Second);
    ComboBox5->SetItemIndex(kDefaultTimeSpan);
    ComboBox7->SetItemIndex(kDefaultLockTime);
    ComboBox8->SetItemIndex(0);
    ComboBox9->SetItemIndex(0);
    TabSheet1->Show();
}

// --- Link and group choice

void TFreader::RadioButton1Click(TObject*)
{
    BitBtn1->SetEnabled(true);
    BitBtn2->SetEnabled(true);
    BitBtn3->SetEnabled(false);
    BitBtn4->SetEnabled(false);
}

void TFreader::RadioButton2Click(TObject*)
{
    BitBtn1->SetEnabled(false);
    BitBtn2->SetEnabled(false);
    BitBtn3->SetEnabled(true);
    BitBtn4->SetEnabled(true);
}

void TFreader::RadioButton3Click(TObject*)
{
    RadioButton4->SetChecked(false);
    BitBtn9->SetEnabled(false);
    BitBtn10->SetEnabled(false);
    BitBtn7->SetEnabled(true);
    BitBtn8->SetEnabled(true);
}

void TFreader::RadioButton4Click(TObject*)
{
    RadioButton3->SetChecked(false);
    BitBtn7->SetEnabled(false);
    BitBtn8->SetEnabled(false);
    BitBtn9->SetEnabled(true);
    BitBtn10->SetEnabled(true);
}

// --- Pairs and triples of check boxes

void TFreader::KeepPair(const TCheckBox* Clicked, TCheckBox* Partner)
{
    // Setting the partner fires its handler, which then finds the pair
    // consistent: no change, no further click.
    if (Partner->Checked() == Clicked->Checked()) Partner->SetChecked(!Clicked->Checked());
}

void TFreader::KeepTriple(const TCheckBox* Clicked, TCheckBox* Other1, TCheckBox* Other2)
{
    if (!Clicked->Checked()) return;
    Other1->SetChecked(false);
    Other2->SetChecked(false);
}

void TFreader::EnableTimeBoxes(bool Enabled)
{
    ComboBox5->SetEnabled(Enabled);
    ComboBox6->SetEnabled(Enabled);
}

void TFreader::CheckBox1Click(TObject*) { KeepPair(CheckBox1, CheckBox2); }
void TFreader::CheckBox2Click(TObject*) { KeepPair(CheckBox2, CheckBox1); }
void TFreader::CheckBox3Click(TObject*) { KeepTriple(CheckBox3, CheckBox4, CheckBox5); }
void TFreader::CheckBox4Click(TObject*) { KeepTriple(CheckBox4, CheckBox3, CheckBox5); }
void TFreader::CheckBox5Click(TObject*) { KeepTriple(CheckBox5, CheckBox3, CheckBox4); }
void TFreader::CheckBox6Click(TObject*) { KeepPair(CheckBox6, CheckBox7); }
void TFreader::CheckBox7Click(TObject*) { KeepPair(CheckBox7, CheckBox6); }
void TFreader::CheckBox8Click(TObject*) { KeepPair(CheckBox8, CheckBox9); }
void TFreader::CheckBox9Click(TObject*) { KeepPair(CheckBox9, CheckBox8); }

void TFreader::CheckBox10Click(TObject*)
{
    KeepTriple(CheckBox10, CheckBox11, CheckBox12);
    // Continuous reading has no time span.
    if (CheckBox10->Checked()) EnableTimeBoxes(false);
}

void TFreader::CheckBox11Click(TObject*)
{
    KeepTriple(CheckBox11, CheckBox10, CheckBox12);
    if (CheckBox11->Checked()) EnableTimeBoxes(true);
}

void TFreader::CheckBox12Click(TObject*)
{
    KeepTriple(CheckBox12, CheckBox10, CheckBox11);
    if (CheckBox12->Checked()) EnableTimeBoxes(true);
}

void TFreader::CheckBox13Click(TObject*) { KeepPair(CheckBox13, CheckBox14); }
void TFreader::CheckBox14Click(TObject*) { KeepPair(CheckBox14, CheckBox13); }

void TFreader::ComboBox6Change(TObject*)
{
    // Typed text that is no entry counts as minutes, like the second entry.
    FillTimes(ComboBox5, ShownEntry(ComboBox6) == 0 ? EditionTexts::Second : EditionTexts::Minute);
    ComboBox5->SetItemIndex(kDefaultTimeSpan);
}

// --- Reader address: typed in decimal, shown in hexadecimal

void TFreader::Edit4KeyPress(TObject*, char& Key)
{
    Key = FilterAddressKey(Key);
}

void TFreader::Edit4Exit(TObject*)
{
    // Only what the user typed since the last conversion is decimal: the text
    // this handler left (or a Restore put) is hexadecimal already.
    if (!Edit4->Modified()) return;
    // Typed text that is no number (the field emptied) raises to the
    // application's error box; it stays, and is read again on the next leave.
    Edit4->SetText(AddressDecimalToHex(Edit4->Text()));
    Edit4->SetModified(false);
}

// --- Port

void TFreader::BitBtn1Click(TObject*)
{
    if (RefuseUnlisted(ComboBox2, EditionTexts::UnlistedPortRate)) return;
    try {
        const std::string name = ComboBox1->Text();
        Comm->SetCommName(name == kAutoPort ? kAutoPortName : name);
        Comm->SetBaudRate(PortBaudRate(ShownEntry(ComboBox2)));
        Comm->OpenComm();
        BitBtn1->SetEnabled(false);
    } catch (const std::exception&) {
        // A port that is missing or busy: "open" stays available, nothing is shown.
        BitBtn1->SetEnabled(true);
    }
}

void TFreader::BitBtn2Click(TObject*)
{
    Comm->CloseComm();
    BitBtn1->SetEnabled(true);
}
