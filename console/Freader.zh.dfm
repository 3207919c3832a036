object Freader: TFreader
  Width = 780
  Height = 631
  BorderIcons = [biSystemMenu]
  Caption = 'TagbenchV4.0'
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
      Caption = '读写器参数设置'
      object GroupBox1: TGroupBox
        Left = 8
        Top = 8
        Width = 137
        Height = 401
        Caption = '通讯'
        object RadioButton1: TRadioButton
          Left = 12
          Top = 17
          Width = 110
          Height = 17
          Caption = '串口'
          OnClick = RadioButton1Click
        end
        object RadioButton2: TRadioButton
          Left = 12
          Top = 35
          Width = 110
          Height = 17
          Caption = '网口'
          OnClick = RadioButton2Click
        end
        object GroupBox2: TGroupBox
          Left = 8
          Top = 55
          Width = 122
          Height = 158
          Caption = '串口通讯'
          object Label1: TLabel
            Left = 6
            Top = 24
            Width = 39
            Height = 13
            Caption = '端口：'
          end
          object ComboBox1: TComboBox
            Left = 46
            Top = 20
            Width = 70
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
            Width = 52
            Height = 13
            Caption = '波特率：'
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
            Caption = '打开端口'
            Enabled = False
            OnClick = BitBtn1Click
          end
          object BitBtn2: TBitBtn
            Left = 10
            Top = 126
            Width = 101
            Height = 25
            Caption = '关闭'
            Enabled = False
            OnClick = BitBtn2Click
          end
        end
        object GroupBox3: TGroupBox
          Left = 8
          Top = 223
          Width = 122
          Height = 166
          Caption = '网络通讯'
          object Label2: TLabel
            Left = 6
            Top = 24
            Width = 39
            Height = 13
            Caption = '端口：'
          end
          object Edit1: TEdit
            Left = 46
            Top = 20
            Width = 70
            Height = 21
            Text = '0001'
          end
          object Label4: TLabel
            Left = 6
            Top = 50
            Width = 28
            Height = 13
            Caption = 'IP：'
          end
          object Edit2: TEdit
            Left = 36
            Top = 46
            Width = 80
            Height = 21
            Text = '192.168.1.1'
          end
          object Label5: TLabel
            Left = 6
            Top = 76
            Width = 78
            Height = 13
            Caption = '读写器地址：'
          end
          object Edit3: TEdit
            Left = 86
            Top = 72
            Width = 30
            Height = 21
            Text = '00'
          end
          object BitBtn3: TBitBtn
            Left = 13
            Top = 104
            Width = 95
            Height = 25
            Caption = '打开'
            Enabled = False
          end
          object BitBtn4: TBitBtn
            Left = 13
            Top = 134
            Width = 95
            Height = 25
            Caption = '关闭'
            Enabled = False
          end
        end
      end
      object GroupBox4: TGroupBox
        Left = 152
        Top = 11
        Width = 601
        Height = 158
        Caption = '设置读写器基本参数'
        object Label6: TLabel
          Left = 10
          Top = 24
          Width = 108
          Height = 13
          Caption = 'ID地址（HEX）：'
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
          Caption = '波特率：'
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
          Caption = '读卡距离设置：'
        end
        object CheckBox1: TCheckBox
          Left = 120
          Top = 49
          Width = 80
          Height = 17
          Caption = '外部设置'
          Checked = True
          OnClick = CheckBox1Click
        end
        object CheckBox2: TCheckBox
          Left = 204
          Top = 49
          Width = 90
          Height = 17
          Caption = '软件设定：'
          OnClick = CheckBox2Click
        end
        object ComboBox4: TComboBox
          Left = 300
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
          Caption = '韦根输出格式：'
        end
        object CheckBox3: TCheckBox
          Left = 120
          Top = 75
          Width = 84
          Height = 17
          Caption = 'WG26 格式'
          Checked = True
          OnClick = CheckBox3Click
        end
        object CheckBox4: TCheckBox
          Left = 208
          Top = 75
          Width = 80
          Height = 17
          Caption = 'WG34格式'
          OnClick = CheckBox4Click
        end
        object CheckBox5: TCheckBox
          Left = 292
          Top = 75
          Width = 92
          Height = 17
          Caption = 'WG输出禁止'
          OnClick = CheckBox5Click
        end
        object Label10: TLabel
          Left = 10
          Top = 103
          Width = 108
          Height = 13
          Caption = '串口输出格式：'
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
          Caption = '继电器输出：'
        end
        object CheckBox8: TCheckBox
          Left = 120
          Top = 127
          Width = 70
          Height = 17
          Caption = '允许'
          Checked = True
          OnClick = CheckBox8Click
        end
        object CheckBox9: TCheckBox
          Left = 194
          Top = 127
          Width = 70
          Height = 17
          Caption = '禁止'
          OnClick = CheckBox9Click
        end
        object BitBtn5: TBitBtn
          Left = 490
          Top = 40
          Width = 90
          Height = 25
          Caption = '设置参数'
          OnClick = BitBtn5Click
        end
        object BitBtn6: TBitBtn
          Left = 490
          Top = 96
          Width = 90
          Height = 25
          Caption = '恢复出场参数'
          OnClick = BitBtn6Click
        end
      end
      object GroupBox5: TGroupBox
        Left = 152
        Top = 175
        Width = 601
        Height = 98
        Caption = '设置为通用模式'
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
          Width = 66
          Height = 13
          Caption = '连续读卡：'
        end
        object CheckBox10: TCheckBox
          Left = 78
          Top = 22
          Width = 16
          Height = 17
          Checked = True
          OnClick = CheckBox10Click
        end
        object Label13: TLabel
          Left = 110
          Top = 24
          Width = 66
          Height = 13
          Caption = '间隔读卡：'
        end
        object CheckBox11: TCheckBox
          Left = 178
          Top = 22
          Width = 16
          Height = 17
          OnClick = CheckBox11Click
        end
        object Label14: TLabel
          Left = 210
          Top = 24
          Width = 66
          Height = 13
          Caption = '重返读卡：'
        end
        object CheckBox12: TCheckBox
          Left = 278
          Top = 22
          Width = 16
          Height = 17
          OnClick = CheckBox12Click
        end
        object Label15: TLabel
          Left = 10
          Top = 50
          Width = 54
          Height = 13
          Caption = '时间值：'
        end
        object ComboBox5: TComboBox
          Left = 66
          Top = 46
          Width = 100
          Height = 21
          Enabled = False
        end
        object Label16: TLabel
          Left = 180
          Top = 50
          Width = 40
          Height = 13
          Caption = '单位：'
        end
        object ComboBox6: TComboBox
          Left = 222
          Top = 46
          Width = 60
          Height = 21
          Enabled = False
          Items.Strings = (
            '秒'
            '分')
          ItemIndex = 0
          Text = '秒'
          OnChange = ComboBox6Change
        end
        object Label17: TLabel
          Left = 10
          Top = 76
          Width = 92
          Height = 13
          Caption = '数据主动发送：'
        end
        object CheckBox13: TCheckBox
          Left = 104
          Top = 74
          Width = 16
          Height = 17
          Checked = True
          OnClick = CheckBox13Click
        end
        object Label18: TLabel
          Left = 140
          Top = 76
          Width = 66
          Height = 13
          Caption = '应答模式：'
        end
        object CheckBox14: TCheckBox
          Left = 208
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
          Caption = '设置参数'
          Enabled = False
          OnClick = BitBtn7Click
        end
        object BitBtn8: TBitBtn
          Left = 490
          Top = 58
          Width = 90
          Height = 25
          Caption = '恢复出场参数'
          Enabled = False
          OnClick = BitBtn8Click
        end
      end
      object GroupBox6: TGroupBox
        Left = 152
        Top = 279
        Width = 601
        Height = 93
        Caption = '设置为互锁模式'
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
          Width = 120
          Height = 13
          Caption = '无线互锁（WiFi）：'
        end
        object CheckBox15: TCheckBox
          Left = 132
          Top = 20
          Width = 16
          Height = 17
          Checked = True
        end
        object Label20: TLabel
          Left = 170
          Top = 22
          Width = 92
          Height = 13
          Caption = '互锁预读模式：'
        end
        object CheckBox16: TCheckBox
          Left = 264
          Top = 20
          Width = 16
          Height = 17
          Checked = True
        end
        object Label21: TLabel
          Left = 10
          Top = 45
          Width = 120
          Height = 13
          Caption = '互锁时间：'
        end
        object ComboBox7: TComboBox
          Left = 132
          Top = 41
          Width = 90
          Height = 21
        end
        object Label22: TLabel
          Left = 236
          Top = 45
          Width = 66
          Height = 13
          Caption = '触发延时：'
        end
        object ComboBox8: TComboBox
          Left = 304
          Top = 41
          Width = 90
          Height = 21
        end
        object Label23: TLabel
          Left = 10
          Top = 68
          Width = 120
          Height = 13
          Caption = '单张标签过滤时间：'
        end
        object ComboBox9: TComboBox
          Left = 132
          Top = 64
          Width = 90
          Height = 21
        end
        object BitBtn9: TBitBtn
          Left = 490
          Top = 18
          Width = 90
          Height = 25
          Caption = '设置参数'
          Enabled = False
          OnClick = BitBtn9Click
        end
        object BitBtn10: TBitBtn
          Left = 490
          Top = 56
          Width = 90
          Height = 25
          Caption = '恢复出场参数'
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
        Caption = '发 送'
        OnClick = BitBtn11Click
      end
      object Label24: TLabel
        Left = 11
        Top = 419
        Width = 300
        Height = 13
        Caption = '串口接收数据（HEX）'
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
        Caption = '标签卡号'
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
        Caption = '清 零'
        OnClick = BitBtn12Click
      end
      object StatusBar1: TStatusBar
        Align = alBottom
      end
    end
    object TabSheet3: TTabSheet
      Caption = '帮助(H)'
      object GroupBox7: TGroupBox
        Left = 8
        Top = 8
        Width = 745
        Height = 530
        Caption = '操作说明'
        object Label26: TLabel
          Left = 12
          Top = 20
          Width = 715
          Height = 500
          AutoSize = False
          WordWrap = True
          Caption = '1.请将读写器RS232接口接入PC机串口，并向读写器接入12V直流电源。'#13#10 +
            #13#10 +
            #13#10 +
            '2.选择PC机端口号，设置波特率为9600，校验（NONE）,数据位（8），停止位（1）'#13#10 +
            #13#10 +
            #13#10 +
            '3.采用网口接口调试时，默认IP:192.168.1.1'#13#10 +
            #13#10 +
            #13#10 +
            '4.设置读写器基本参数：如读卡距离配置成软件设置，共可分为1－32个等级，为1小输出功率最小，32最大。'#13#10 +
            #13#10 +
            #13#10 +
            '5.设置读写器为通用模式：或设为连续读卡、间隔读卡（指在设定的时间内，标签只被读取一次，超时重新读取）、和重返读卡（指标' +
            '签一直在读写器读卡范围内，标签信息只被读取一次，如果离开读卡区时间超过设定值，标签信息将重新被读取）。'#13#10 +
            #13#10 +
            #13#10 +
            '6.设置为互锁模式：在出入口管理应用中，要求识别标签运动方向和防误读的场合，如：A读写器在读取到没有被锁定的电子标签信息' +
            '的同时，会将此标签信息通过无线自动发送到另一台读写器B，收到互锁信息的B读写器将不再读取此标签信息，直到此标签离开B读写' +
            '器读卡区10秒后（出厂默认为10秒），互锁标签自动解锁。（多台读写器无线自动组网可视距离为30M内）。'#13#10 +
            #13#10 +
            #13#10 +
            '7.互锁预读：不论读写器是否满足读卡触发条件，只要有进入读卡区内且没有被锁定的电了标签，读写器都会将此标信息发送到区域网' +
            '内的其它读写器，以提前实现提前互锁防误读等目的。'#13#10 +
            #13#10 +
            #13#10 +
            '8．触发延时：指读写器在被触发信号消失后，在设定的触发延时期间内，读写器乃处于触发读卡状态。'#13#10 +
            #13#10 +
            #13#10 +
            '9.单张标签过滤时间：指在设定同一张标签允许重复读取的时间间隔。'#13#10
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
