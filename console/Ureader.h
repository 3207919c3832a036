// TFreader: the program's main window. Its controls are published fields and
// its behaviour published handlers, both bound by name from the stored
// description of the edition being built.
#pragma once

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "console/portable/Frames.h"
#include "serial/Comm.h"
#include "skin/data/WinSkinData.h"

#include <cstdint>
#include <vector>

class TFreader : public TForm {
public:
    DECLARE_CLASS_INFO()

    explicit TFreader(TComponent* AOwner);

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet3 = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    TGroupBox* GroupBox3 = nullptr;
    TGroupBox* GroupBox4 = nullptr;
    TGroupBox* GroupBox5 = nullptr;
    TGroupBox* GroupBox6 = nullptr;
    TGroupBox* GroupBox7 = nullptr;
    TRadioButton* RadioButton1 = nullptr;
    TRadioButton* RadioButton2 = nullptr;
    TRadioButton* RadioButton3 = nullptr;
    TRadioButton* RadioButton4 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label9 = nullptr;
    TLabel* Label10 = nullptr;
    TLabel* Label11 = nullptr;
    TLabel* Label12 = nullptr;
    TLabel* Label13 = nullptr;
    TLabel* Label14 = nullptr;
    TLabel* Label15 = nullptr;
#ifdef TB_EDITION_ZH
    TLabel* Label16 = nullptr;  // the time unit's label; the English window has none
#endif
    TLabel* Label17 = nullptr;
    TLabel* Label18 = nullptr;
    TLabel* Label19 = nullptr;
    TLabel* Label20 = nullptr;
    TLabel* Label21 = nullptr;
    TLabel* Label22 = nullptr;
    TLabel* Label23 = nullptr;
    TLabel* Label24 = nullptr;
    TLabel* Label25 = nullptr;
    TLabel* Label26 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TComboBox* ComboBox2 = nullptr;
    TComboBox* ComboBox3 = nullptr;
    TComboBox* ComboBox4 = nullptr;
    TComboBox* ComboBox5 = nullptr;
    TComboBox* ComboBox6 = nullptr;
    TComboBox* ComboBox7 = nullptr;
    TComboBox* ComboBox8 = nullptr;
    TComboBox* ComboBox9 = nullptr;
    TEdit* Edit1 = nullptr;
    TEdit* Edit2 = nullptr;
    TEdit* Edit3 = nullptr;
    TEdit* Edit4 = nullptr;
    TEdit* Edit5 = nullptr;
    TEdit* Edit6 = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;
    TBitBtn* BitBtn3 = nullptr;
    TBitBtn* BitBtn4 = nullptr;
    TBitBtn* BitBtn5 = nullptr;
    TBitBtn* BitBtn6 = nullptr;
    TBitBtn* BitBtn7 = nullptr;
    TBitBtn* BitBtn8 = nullptr;
    TBitBtn* BitBtn9 = nullptr;
    TBitBtn* BitBtn10 = nullptr;
    TBitBtn* BitBtn11 = nullptr;
    TBitBtn* BitBtn12 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TCheckBox* CheckBox2 = nullptr;
    TCheckBox* CheckBox3 = nullptr;
    TCheckBox* CheckBox4 = nullptr;
    TCheckBox* CheckBox5 = nullptr;
    TCheckBox* CheckBox6 = nullptr;
    TCheckBox* CheckBox7 = nullptr;
    TCheckBox* CheckBox8 = nullptr;
    TCheckBox* CheckBox9 = nullptr;
    TCheckBox* CheckBox10 = nullptr;
    TCheckBox* CheckBox11 = nullptr;
    TCheckBox* CheckBox12 = nullptr;
    TCheckBox* CheckBox13 = nullptr;
    TCheckBox* CheckBox14 = nullptr;
    TCheckBox* CheckBox15 = nullptr;
    TCheckBox* CheckBox16 = nullptr;
    TCheckBox* CheckBox18 = nullptr;
    TMemo* Memo1 = nullptr;
    TMemo* Memo2 = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TComm* Comm = nullptr;
    TSkinData* SkinData1 = nullptr;

    void FormShow(TObject* Sender);
    // Link choice: serial port or network.
    void RadioButton1Click(TObject* Sender);
    void RadioButton2Click(TObject* Sender);
    // Which of the general-mode and lock-mode groups may send.
    void RadioButton3Click(TObject* Sender);
    void RadioButton4Click(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
    void CheckBox3Click(TObject* Sender);
    void CheckBox4Click(TObject* Sender);
    void CheckBox5Click(TObject* Sender);
    void CheckBox6Click(TObject* Sender);
    void CheckBox7Click(TObject* Sender);
    void CheckBox8Click(TObject* Sender);
    void CheckBox9Click(TObject* Sender);
    void CheckBox10Click(TObject* Sender);
    void CheckBox11Click(TObject* Sender);
    void CheckBox12Click(TObject* Sender);
    void CheckBox13Click(TObject* Sender);
    void CheckBox14Click(TObject* Sender);
    void ComboBox6Change(TObject* Sender);
    void Edit4KeyPress(TObject* Sender, char& Key);
    void Edit4Exit(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);

    // Setting and Restore of the three parameter groups, the raw "Send", and
    // what comes back from the reader (UreaderComm.cpp).
    void BitBtn5Click(TObject* Sender);
    void BitBtn6Click(TObject* Sender);
    void BitBtn7Click(TObject* Sender);
    void BitBtn8Click(TObject* Sender);
    void BitBtn9Click(TObject* Sender);
    void BitBtn10Click(TObject* Sender);
    void BitBtn11Click(TObject* Sender);
    void BitBtn12Click(TObject* Sender);
    void CommReceiveData(TObject* Sender, const void* Buffer, uint16_t BufferLength);

    // Hands the bytes to Comm; a refusal shows "send fail", owned by this window.
    void SendFrame(const TBytes& Bytes);

private:
    // Shows an answer's box, one at a time: an answer that comes while a box
    // is open waits for it to close, and of each text one waits at most.
    void ShowAnswer(const char* Text);

    bool FAnswerShown = false;
    std::vector<const char*> FWaitingAnswers;

    // A pair of which exactly one is checked: the partner takes the opposite state.
    static void KeepPair(const TCheckBox* Clicked, TCheckBox* Partner);
    // A triple of which at most one is checked.
    static void KeepTriple(const TCheckBox* Clicked, TCheckBox* Other1, TCheckBox* Other2);
    void EnableTimeBoxes(bool Enabled);
    // Refills a time box with 0 to 255 followed by the unit.
    static void FillTimes(TComboBox* Box, const char* Unit);

    // The entry a box shows: the one picked or the one whose text was typed;
    // -1 for typed text that is none of its entries.
    static int ShownEntry(const TComboBox* Box);
    // Shows Message and answers true when Box holds typed text that is none
    // of its entries: such text has no value to send.
    static bool RefuseUnlisted(const TComboBox* Box, const char* Message);
    bool RefuseUnlistedBase() const;
    bool RefuseUnlistedMode() const;
    bool RefuseUnlistedLock() const;

    TBaseSettings ReadBaseSettings() const;
    TModeSettings ReadModeSettings() const;
    TLockSettings ReadLockSettings() const;
    void ShowBaseSettings(const TBaseSettings& Settings);
    void ShowModeSettings(const TModeSettings& Settings);
    void ShowLockSettings(const TLockSettings& Settings);
};

// Makes the console's own component classes known to stored descriptions.
void RegisterConsoleClasses();

extern TFreader* Freader;
