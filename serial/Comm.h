// TComm: a non-visual component that owns one serial port. OpenComm opens it
// with the published line and time-out settings and starts a reader and a
// writer thread; what they report comes back as events on the thread that
// created the component, through its hidden notification window.
#pragma once

#include "CommApi.h"
#include "CommThreads.h"
#include "classlib/Handles.h"
#include "classlib/Messages.h"
#include "classlib/UtilWindow.h"
#include "classlib/portable/Classes.h"
#include "classlib/portable/SysUtils.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

enum class TDtrControl { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };
enum class TByteSize { _5, _6, _7, _8 };
enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { _1, _1_5, _2 };

// Buffer holds BufferLength bytes and then a zero byte; valid only during the call.
using TReceiveDataEvent = std::function<void(TObject* Sender, const void* Buffer, uint16_t BufferLength)>;
using TReceiveErrorEvent = std::function<void(TObject* Sender, uint32_t EventMask)>;
using TModemStateChangeEvent = std::function<void(TObject* Sender, uint32_t ModemEvent)>;
using TSendDataEmptyEvent = std::function<void(TObject* Sender)>;

// A port that cannot be opened. The message is GB2312 text (TextToWide shows
// it); ErrorCode() is the system's reason (ERROR_FILE_NOT_FOUND for a missing
// port, ERROR_ACCESS_DENIED for one in use), 0 when no system call failed.
class ECommsError : public EOSError {
    using EOSError::EOSError;
};

class TComm : public TComponent {
public:
    DECLARE_CLASS_INFO()

    explicit TComm(TComponent* AOwner);
    // Closes an open port first: no thread outlives the component.
    ~TComm() override;

    // Raises ECommsError when the port is open already or cannot be opened;
    // after a failure the component is closed with nothing left open.
    void OpenComm();
    // Stops both threads and closes the port; nothing when closed.
    void CloseComm();
    // Copies the bytes and queues them for the writer; false when the port is
    // closed, the count is 0 or the request cannot be queued.
    bool SendCommData(const void* Buffer, uint16_t BufferLength);

    bool IsOpen() const noexcept { return FCommHandle.Valid(); }
    HANDLE Handle() const noexcept { return FCommHandle.Get(); }
    // The hidden window the threads post to (tests send it messages of their own).
    HWND NotifyWindow() const noexcept { return FNotifyWindow.Get(); }

    // Published properties. Setters that change a value re-apply it to an open
    // port; CommName and Parity only store it (they reach the port at the next
    // open, Parity also with any other line setting).
    const std::string& CommName() const noexcept { return FCommName; }
    void SetCommName(const std::string& value) { FCommName = value; }
    uint32_t BaudRate() const noexcept { return FBaudRate; }
    void SetBaudRate(uint32_t value);
    bool ParityCheck() const noexcept { return FParityCheck; }
    void SetParityCheck(bool value);
    bool Outx_CtsFlow() const noexcept { return FOutx_CtsFlow; }
    void SetOutx_CtsFlow(bool value);
    bool Outx_DsrFlow() const noexcept { return FOutx_DsrFlow; }
    void SetOutx_DsrFlow(bool value);
    TDtrControl DtrControl() const noexcept { return FDtrControl; }
    void SetDtrControl(TDtrControl value);
    bool DsrSensitivity() const noexcept { return FDsrSensitivity; }
    void SetDsrSensitivity(bool value);
    bool TxContinueOnXoff() const noexcept { return FTxContinueOnXoff; }
    void SetTxContinueOnXoff(bool value);
    bool Outx_XonXoffFlow() const noexcept { return FOutx_XonXoffFlow; }
    void SetOutx_XonXoffFlow(bool value);
    bool Inx_XonXoffFlow() const noexcept { return FInx_XonXoffFlow; }
    void SetInx_XonXoffFlow(bool value);
    bool ReplaceWhenParityError() const noexcept { return FReplaceWhenParityError; }
    void SetReplaceWhenParityError(bool value);
    bool IgnoreNullChar() const noexcept { return FIgnoreNullChar; }
    void SetIgnoreNullChar(bool value);
    TRtsControl RtsControl() const noexcept { return FRtsControl; }
    void SetRtsControl(TRtsControl value);
    uint16_t XonLimit() const noexcept { return FXonLimit; }
    void SetXonLimit(uint16_t value);
    uint16_t XoffLimit() const noexcept { return FXoffLimit; }
    void SetXoffLimit(uint16_t value);
    TByteSize ByteSize() const noexcept { return FByteSize; }
    void SetByteSize(TByteSize value);
    TParity Parity() const noexcept { return FParity; }
    void SetParity(TParity value) { FParity = value; }
    TStopBits StopBits() const noexcept { return FStopBits; }
    void SetStopBits(TStopBits value);
    char XonChar() const noexcept { return FXonChar; }
    void SetXonChar(char value);
    char XoffChar() const noexcept { return FXoffChar; }
    void SetXoffChar(char value);
    char ReplacedChar() const noexcept { return FReplacedChar; }
    void SetReplacedChar(char value);
    uint32_t ReadIntervalTimeout() const noexcept { return FReadIntervalTimeout; }
    void SetReadIntervalTimeout(uint32_t value);
    uint32_t ReadTotalTimeoutMultiplier() const noexcept { return FReadTotalTimeoutMultiplier; }
    void SetReadTotalTimeoutMultiplier(uint32_t value);
    uint32_t ReadTotalTimeoutConstant() const noexcept { return FReadTotalTimeoutConstant; }
    void SetReadTotalTimeoutConstant(uint32_t value);
    uint32_t WriteTotalTimeoutMultiplier() const noexcept { return FWriteTotalTimeoutMultiplier; }
    void SetWriteTotalTimeoutMultiplier(uint32_t value);
    uint32_t WriteTotalTimeoutConstant() const noexcept { return FWriteTotalTimeoutConstant; }
    void SetWriteTotalTimeoutConstant(uint32_t value);

    TReceiveDataEvent OnReceiveData;
    TNotifyEvent OnRequestHangup;
    TReceiveErrorEvent OnReceiveError;
    TModemStateChangeEvent OnModemStateChange;
    TSendDataEmptyEvent OnSendDataEmpty;

    // The calls the port and its threads make; tests put in one that fails on
    // purpose. Ignored while the port is open, so that one session never mixes
    // two of them: set it before OpenComm.
    void SetCommApi(TCommApi& api) noexcept
    {
        if (!FCommHandle) FApi = &api;
    }

    // The line-settings word of the DCB (fBinary and the flags) these
    // properties give; 0x1091 with the main window's stored values.
    uint32_t DcbFlags() const noexcept;

protected:
    void DoReceiveData(const void* Buffer, uint16_t BufferLength);
    void DoReceiveError(uint32_t EventMask);
    void DoModemStateChange(uint32_t ModemEvent);
    void DoRequestHangup();
    void DoSendDataEmpty();

private:
    void WndProc(TMessage& Message);
    // The port is a parameter: OpenComm applies them before the port is stored.
    void ApplyCommState(HANDLE port);
    void ApplyTimeouts(HANDLE port);
    void StopReadThread();
    void StopWriteThread();
    // Stores a changed value and re-applies the line settings or time-outs.
    template <class T>
    void Change(T& field, T value, void (TComm::*apply)(HANDLE));

    std::unique_ptr<TReadThread> FReadThread;
    std::unique_ptr<TWriteThread> FWriteThread;
    TKernelHandle FCommHandle;
    TKernelHandle FStopEvent;
    TUtilWindow FNotifyWindow;
    // Lives as long as the component: chunks of a closed session may still
    // wait in the window's queue, and they were counted.
    THandOver FHandOver;

    std::string FCommName = "COM2";
    uint32_t FBaudRate = 9600;
    bool FParityCheck = false;
    bool FOutx_CtsFlow = false;
    bool FOutx_DsrFlow = false;
    TDtrControl FDtrControl = TDtrControl::DtrEnable;
    bool FDsrSensitivity = false;
    bool FTxContinueOnXoff = true;
    bool FOutx_XonXoffFlow = true;
    bool FInx_XonXoffFlow = true;
    bool FReplaceWhenParityError = false;
    bool FIgnoreNullChar = false;
    TRtsControl FRtsControl = TRtsControl::RtsEnable;
    uint16_t FXonLimit = 500;
    uint16_t FXoffLimit = 500;
    TByteSize FByteSize = TByteSize::_8;
    TParity FParity = TParity::None;
    TStopBits FStopBits = TStopBits::_1;
    char FXonChar = 0x11;
    char FXoffChar = 0x13;
    char FReplacedChar = 0x00;
    uint32_t FReadIntervalTimeout = 100;
    uint32_t FReadTotalTimeoutMultiplier = 0;
    uint32_t FReadTotalTimeoutConstant = 0;
    uint32_t FWriteTotalTimeoutMultiplier = 0;
    uint32_t FWriteTotalTimeoutConstant = 0;

    TCommApi* FApi = &TCommApi::System();
};
