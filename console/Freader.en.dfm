object Freader: TFreader
  Width = 780
  Height = 631
  BorderIcons = [biSystemMenu]
  Caption = 'Tagbench V4.0'
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = '宋体'
  Position = poScreenCenter
  OnShow = FormShow
  object PageControl1: TPageControl
    Align = alClient
    ActivePage = TabSheet1
    object TabSheet1: TTabSheet
      Caption = 'parameter  setting'
      object GroupBox1: TGroupBox
        Left = 8
        Top = 8
        Width = 137
        Height = 401
        Caption = 'communication'
        object RadioButton1: TRadioButton
          Left = 12
          Top = 17
          Width = 110
          Height = 17
          Caption = 'COM'
          OnClick = RadioButton1Click
        end
        object RadioButton2: TRadioButton
          Left = 12
          Top = 35
          Width = 110
          Height = 17
          Caption = 'network'
          OnClick = RadioButton2Click
        end
        object GroupBox2: TGroupBox
          Left = 8
          Top = 55
          Width = 122
          Height = 158
          Caption = 'RS232'
          object Label1: TLabel
            Left = 6
            Top = 24
            Width = 36
            Height = 13
            Caption = 'COM：'
          end
          object ComboBox1: TComboBox
            Left = 44
            Top = 20
            Width = 72
            Height = 21
            Items.Strings = (
              'AUTO'
              'COM1'
              'COM2'
              'COM3'
              'COM4'
              'COM5'
              'COM6'
              'COM7'
              'COM8')
            ItemIndex = 0
            Text = 'AUTO'
          end
          object Label3: TLabel
            Left = 6
            Top = 50
            Width = 70
            Height = 13
            Caption = 'Baudrate：'
          end
          object ComboBox2: TComboBox
            Left = 6
            Top = 68
            Width = 110
            Height = 21
            Items.Strings = (
              '9600bps'
              '19200bps'
              '38400bps'
              '57600bps'
              '115200bps')
            Text = '9600bps'
          end
          object BitBtn1: TBitBtn
            Left = 10
            Top = 96
            Width = 101
            Height = 25
            Caption = 'open'
            Enabled = False
            OnClick = BitBtn1Click
          end
          object BitBtn2: TBitBtn
            Left = 10
            Top = 126
            Width = 101
            Height = 25
            Caption = 'close'
            Enabled = False
            OnClick = BitBtn2Click
          end
        end
        object GroupBox3: TGroupBox
          Left = 8
          Top = 223
          Width = 122
          Height = 166
          Caption = 'network'
          object Label2: TLabel
            Left = 6
            Top = 24
            Width = 34
            Height = 13
            Caption = 'COM：'
          end
          object Edit1: TEdit
            Left = 42
            Top = 20
            Width = 74
            Height = 21
            Text = '0001'
          end
          object Label4: TLabel
            Left = 6
            Top = 50
            Width = 34
            Height = 13
            Caption = 'IP：'
          end
          object Edit2: TEdit
            Left = 42
            Top = 46
            Width = 74
            Height = 21
            Text = '192.168.1.1'
          end
          object Label5: TLabel
            Left = 6
            Top = 76
            Width = 34
            Height = 13
            Caption = 'ID：'
          end
          object Edit3: TEdit
            Left = 42
            Top = 72
            Width = 74
            Height = 21
            Text = '00'
          end
          object BitBtn3: TBitBtn
            Left = 13
            Top = 104
            Width = 95
            Height = 25
            Caption = 'open'
            Enabled = False
          end
          object BitBtn4: TBitBtn
            Left = 13
            Top = 134
            Width = 95
            Height = 25
            Caption = 'close'
            Enabled = False
          end
        end
      end
      object GroupBox4: TGroupBox
        Left = 152
        Top = 11
        Width = 601
        Height = 158
        Caption = 'Base parameter'
        object Label6: TLabel
          Left = 10
          Top = 24
          Width = 108
          Height = 13
          Caption = 'Address（HEX）：'
        end
        object Edit4: TEdit
          Left = 120
          Top = 20
          Width = 40
          Height = 21
          Text = '01'
          MaxLength = 3
          OnExit = Edit4Exit
          OnKeyPress = Edit4KeyPress
        end
        object Label7: TLabel
          Left = 200
          Top = 24
          Width = 70
          Height = 13
          Caption = 'Baudrate：'
        end
        object ComboBox3: TComboBox
          Left = 270
          Top = 20
          Width = 100
          Height = 21
          Items.Strings = (
            '9600bps'
            '19200bps'
            '38400bps'
            '57600bps'
            '115200bps')
          ItemIndex = 0
          Text = '9600bps'
        end
        object Label8: TLabel
          Left = 10
          Top = 51
          Width = 108
          Height = 13
          Caption = 'Power control：'
        end
        object CheckBox1: TCheckBox
          Left = 120
          Top = 49
          Width = 100
          Height = 17
          Caption = 'Knob setting'
          Checked = True
          OnClick = CheckBox1Click
        end
        object CheckBox2: TCheckBox
          Left = 224
          Top = 49
          Width = 100
          Height = 17
          Caption = 'Soft setting'
          OnClick = CheckBox2Click
        end
        object ComboBox4: TComboBox
          Left = 330
          Top = 47
          Width = 50
          Height = 21
          Items.Strings = (
            '1'
            '2'
            '3'
            '4'
            '5'
            '6'
            '7'
            '8'
            '9'
            '10'
            '11'
            '12'
            '13'
            '14'
            '15'
            '16'
            '17'
            '18'
            '19'
            '20'
            '21'
            '22'
            '23'
            '24'
            '25'
            '26'
            '27'
            '28'
            '29'
            '30'
            '31'
            '32')
          ItemIndex = 31
          Text = '32'
        end
        object Label9: TLabel
          Left = 10
          Top = 77
          Width = 108
          Height = 13
          Caption = 'Wiegand：'
        end
        object CheckBox3: TCheckBox
          Left = 120
          Top = 75
          Width = 60
          Height = 17
          Caption = 'WG26'
          Checked = True
          OnClick = CheckBox3Click
        end
        object CheckBox4: TCheckBox
          Left = 184
          Top = 75
          Width = 60
          Height = 17
          Caption = 'WG34'
          OnClick = CheckBox4Click
        end
        object CheckBox5: TCheckBox
          Left = 248
          Top = 75
          Width = 90
          Height = 17
          Caption = 'WG close'
          OnClick = CheckBox5Click
        end
        object Label10: TLabel
          Left = 10
          Top = 103
          Width = 108
          Height = 13
          Caption = 'Serial port：'
        end
        object CheckBox6: TCheckBox
          Left = 120
          Top = 101
          Width = 100
          Height = 17
          Caption = 'RS232/RS485'
          Checked = True
          OnClick = CheckBox6Click
        end
        object CheckBox7: TCheckBox
          Left = 224
          Top = 101
          Width = 90
          Height = 17
          Caption = 'TAVIR485'
          OnClick = CheckBox7Click
        end
        object Label11: TLabel
          Left = 10
          Top = 129
          Width = 108
          Height = 13
          Caption = 'Relay output：'
        end
        object CheckBox8: TCheckBox
          Left = 120
          Top = 127
          Width = 70
          Height = 17
          Caption = 'Enable'
          Checked = True
          OnClick = CheckBox8Click
        end
        object CheckBox9: TCheckBox
          Left = 194
          Top = 127
          Width = 70
          Height = 17
          Caption = 'Disable'
          OnClick = CheckBox9Click
        end
        object BitBtn5: TBitBtn
          Left = 490
          Top = 40
          Width = 90
          Height = 25
          Caption = 'Setting'
          OnClick = BitBtn5Click
        end
        object BitBtn6: TBitBtn
          Left = 490
          Top = 96
          Width = 90
          Height = 25
          Caption = 'Restore'
          OnClick = BitBtn6Click
        end
      end
      object GroupBox5: TGroupBox
        Left = 152
        Top = 175
        Width = 601
        Height = 98
        Caption = 'General mode'
        object RadioButton3: TRadioButton
          Left = 100
          Top = -2
          Width = 16
          Height = 17
          OnClick = RadioButton3Click
        end
        object Label12: TLabel
          Left = 10
          Top = 24
          Width = 78
          Height = 13
          Caption = 'Continuty：'
        end
        object CheckBox10: TCheckBox
          Left = 90
          Top = 22
          Width = 16
          Height = 17
          Checked = True
          OnClick = CheckBox10Click
        end
        object Label13: TLabel
          Left = 120
          Top = 24
          Width = 70
          Height = 13
          Caption = 'Invertal：'
        end
        object CheckBox11: TCheckBox
          Left = 192
          Top = 22
          Width = 16
          Height = 17
          OnClick = CheckBox11Click
        end
        object Label14: TLabel
          Left = 222
          Top = 24
          Width = 78
          Height = 13
          Caption = 'Circulate：'
        end
        object CheckBox12: TCheckBox
          Left = 302
          Top = 22
          Width = 16
          Height = 17
          OnClick = CheckBox12Click
        end
        object Label15: TLabel
          Left = 10
          Top = 50
          Width = 78
          Height = 13
          Caption = 'Time span：'
        end
        object ComboBox5: TComboBox
          Left = 90
          Top = 46
          Width = 100
          Height = 21
          Enabled = False
        end
        object ComboBox6: TComboBox
          Left = 200
          Top = 46
          Width = 80
          Height = 21
          Enabled = False
          Items.Strings = (
            'second'
            'minute')
          ItemIndex = 0
          Text = 'second'
          OnChange = ComboBox6Change
        end
        object Label17: TLabel
          Left = 10
          Top = 76
          Width = 78
          Height = 13
          Caption = 'Active：'
        end
        object CheckBox13: TCheckBox
          Left = 90
          Top = 74
          Width = 16
          Height = 17
          Checked = True
          OnClick = CheckBox13Click
        end
        object Label18: TLabel
          Left = 120
          Top = 76
          Width = 70
          Height = 13
          Caption = 'Response：'
        end
        object CheckBox14: TCheckBox
          Left = 192
          Top = 74
          Width = 16
          Height = 17
          OnClick = CheckBox14Click
        end
        object BitBtn7: TBitBtn
          Left = 490
          Top = 20
          Width = 90
          Height = 25
          Caption = 'Setting'
          Enabled = False
          OnClick = BitBtn7Click
        end
        object BitBtn8: TBitBtn
          Left = 490
          Top = 58
          Width = 90
          Height = 25
          Caption = 'Restore'
          Enabled = False
          OnClick = BitBtn8Click
        end
      end
      object GroupBox6: TGroupBox
        Left = 152
        Top = 279
        Width = 601
        Height = 93
        Caption = 'Lock mode'
        object RadioButton4: TRadioButton
          Left = 102
          Top = -1
          Width = 14
          Height = 17
          OnClick = RadioButton4Click
        end
        object Label19: TLabel
          Left = 10
          Top = 22
          Width = 88
          Height = 13
          Caption = 'wireless：'
        end
        object CheckBox15: TCheckBox
          Left = 100
          Top = 20
          Width = 16
          Height = 17
          Checked = True
        end
        object Label20: TLabel
          Left = 140
          Top = 22
          Width = 68
          Height = 13
          Caption = 'Preread：'
        end
        object CheckBox16: TCheckBox
          Left = 210
          Top = 20
          Width = 16
          Height = 17
          Checked = True
        end
        object Label21: TLabel
          Left = 10
          Top = 45
          Width = 88
          Height = 13
          Caption = 'caging time：'
        end
        object ComboBox7: TComboBox
          Left = 100
          Top = 41
          Width = 90
          Height = 21
        end
        object Label22: TLabel
          Left = 200
          Top = 45
          Width = 104
          Height = 13
          Caption = 'Trigger delay：'
        end
        object ComboBox8: TComboBox
          Left = 306
          Top = 41
          Width = 90
          Height = 21
        end
        object Label23: TLabel
          Left = 10
          Top = 68
          Width = 88
          Height = 13
          Caption = 'Filtration：'
        end
        object ComboBox9: TComboBox
          Left = 100
          Top = 64
          Width = 90
          Height = 21
        end
        object BitBtn9: TBitBtn
          Left = 490
          Top = 18
          Width = 90
          Height = 25
          Caption = 'Setting'
          Enabled = False
          OnClick = BitBtn9Click
        end
        object BitBtn10: TBitBtn
          Left = 490
          Top = 56
          Width = 90
          Height = 25
          Caption = 'Restore'
          Enabled = False
          OnClick = BitBtn10Click
        end
      end
      object Edit5: TEdit
        Left = 152
        Top = 384
        Width = 449
        Height = 21
        Text = ''
      end
      object BitBtn11: TBitBtn
        Left = 630
        Top = 379
        Width = 90
        Height = 25
        Caption = 'Send'
        OnClick = BitBtn11Click
      end
      object Label24: TLabel
        Left = 11
        Top = 419
        Width = 300
        Height = 13
        Caption = 'Serial port data（HEX）'
      end
      object Memo1: TMemo
        Left = 8
        Top = 436
        Width = 428
        Height = 106
        ScrollBars = ssVertical
      end
      object Label25: TLabel
        Left = 447
        Top = 419
        Width = 52
        Height = 13
        Caption = 'Tag NC.'
      end
      object CheckBox18: TCheckBox
        Left = 504
        Top = 416
        Width = 50
        Height = 17
        Caption = 'HEX'
        Checked = True
      end
      object Memo2: TMemo
        Left = 448
        Top = 436
        Width = 154
        Height = 106
        ScrollBars = ssVertical
      end
      object Edit6: TEdit
        Left = 630
        Top = 458
        Width = 90
        Height = 21
        Text = '0'
      end
      object BitBtn12: TBitBtn
        Left = 630
        Top = 491
        Width = 90
        Height = 25
        Caption = 'Reset'
        OnClick = BitBtn12Click
      end
      object StatusBar1: TStatusBar
        Align = alBottom
      end
    end
    object TabSheet3: TTabSheet
      Caption = 'help(H)'
      object GroupBox7: TGroupBox
        Left = 8
        Top = 8
        Width = 745
        Height = 530
        Caption = 'Operate fact sheet'
        object Label26: TLabel
          Left = 12
          Top = 20
          Width = 715
          Height = 500
          AutoSize = False
          WordWrap = True
          Caption = '1.please connect the READ RS232 to the COM of the PC, and su' +
            'pply  12V DC power to the READ'#13#10 +
            #13#10 +
            '2.Choosing the Port NO. of the PC, setting the Baud rate is ' +
            '9600,ECC is NONE、8 data bits、1 Stop 9600 baud rate ，No parit' +
            'y checking ，8 Data, 1 Stop,'#13#10 +
            #13#10 +
            '3.When using the interface debugging ,The default IP is 192.' +
            '168.1.1 '#13#10 +
            #13#10 +
            '4.Setting the READ''s to basic parameter :for example, the re' +
            'ad distance is software pattern, Can be divided into level 1' +
            '-32,level 1 is the Minimum output power, the 32 is biggest.'#13#10 +
            #13#10 +
            '5.Setting the READ to general pattern: set to continuous rea' +
            'ding or intervals reading(Refers to during the setting time,' +
            ' the tag to be read only once, or read it again)、and reentry' +
            ' reading(Refers to the tag has been within the scope of the ' +
            'READ all the time, the tag information is read only once. If' +
            ' leave the reading area over the setting time, the tag infor' +
            'mation will be read again)'#13#10 +
            #13#10 +
            '6.Setting to interlock parameter: in Inward and outward mana' +
            'gement applications, required identification tag movement di' +
            'rection and the misreading of the situation. for example, wh' +
            'ile READ  A get the not locked  electronic tag information, ' +
            'the label information will be sent automatically by the wire' +
            'less device to B,B will not read the information, until the ' +
            'tag leave the B reading area for 10 minute(The factory defau' +
            'lt for 10 seconds, Interlocking tabs automatically unlocked.' +
            '( More than one read can connect with wireless automatic wit' +
            'hin visual range of 30M)'#13#10 +
            #13#10 +
            '7.interlock preread: whether the READ meet the trigger condi' +
            'tion or not, as long as there has electronic tag in the read' +
            'ing area and unlocked, it will send the information to the r' +
            'egional network of other READs.'#13#10 +
            #13#10 +
            '8.trigger delay: Refers to the READ after the trigger signal' +
            ' disappears, within the setting trigger delay time, the READ' +
            ' is in a state of trigger reading.'#13#10 +
            #13#10 +
            '9.Single tag filtering time: Refers to the set time interval' +
            's with a tag allows repeated read. '#13#10
        end
      end
    end
  end
  object Comm: TComm
    CommName = 'COM2'
    BaudRate = 19200
    ParityCheck = False
    Outx_CtsFlow = False
    Outx_DsrFlow = False
    DtrControl = DtrEnable
    DsrSensitivity = False
    TxContinueOnXoff = True
    Outx_XonXoffFlow = False
    Inx_XonXoffFlow = False
    ReplaceWhenParityError = False
    IgnoreNullChar = False
    RtsControl = RtsEnable
    XonLimit = 500
    XoffLimit = 500
    ByteSize = _8
    Parity = None
    StopBits = _1
    XonChar = #17
    XoffChar = #19
    ReplacedChar = #0
    ReadIntervalTimeout = 100
    ReadTotalTimeoutMultiplier = 0
    ReadTotalTimeoutConstant = 0
    WriteTotalTimeoutMultiplier = 0
    WriteTotalTimeoutConstant = 0
    OnReceiveData = CommReceiveData
  end
  object SkinData1: TSkinData
    Active = True
    SkinStream = {(the default skin, packed at build time)}
  end
end
