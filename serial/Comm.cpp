// TComm: opening and closing the port, the line settings it applies, sending,
// and the notification window that turns the threads' messages into events.
#include "Comm.h"

#include "CommMessages.h"
#include "CommThreads.h"
#include "classlib/Handles.h"
#include "classlib/UtilWindow.h"
#include "classlib/portable/TypInfo.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Stored as GB2312, the same in both editions.
const char kAlreadyOpen[] = "\xb4\xcb\xb4\xae\xbf\xda\xd2\xd1\xbe\xad\xb4\xf2\xbf\xaa"; // 此串口已经打开
const char kCannotOpen[] = "\xb4\xf2\xbf\xaa\xb4\xae\xbf\xda\xb3\xf6\xb4\xed\r\n"             // 打开串口出错
                           "\xb4\xcb\xb4\xae\xbf\xda\xb2\xbb\xb4\xe6\xd4\xda\xbb\xf2\xb1\xbb\xd5\xbc\xd3\xc3"; // 此串口不存在或被占用
const char kSetupFailed[] = "\xb3\xf5\xca\xbc\xbb\xaf\xbb\xba\xb3\xe5\xc7\xf8\xb3\xf6\xb4\xed"; // 初始化缓冲区出错
const char kNoEvent[] = "\xce\xde\xb7\xa8\xb4\xb4\xbd\xa8\xca\xc2\xbc\xfe";                       // 无法创建事件
const char kNoReadThread[] = "\xce\xde\xb7\xa8\xb4\xb4\xbd\xa8\xb6\xc1\xcf\xdf\xb3\xcc";         // 无法创建读线程
const char kNoWriteThread[] = "\xce\xde\xb7\xa8\xb4\xb4\xbd\xa8\xd0\xb4\xcf\xdf\xb3\xcc";        // 无法创建写线程

constexpr DWORD kQueueSize = 4096;
constexpr DWORD kStopWaitMs = 10000;

// A thread object of the port, or ECommsError with `message` and the reason
// the system gave.
template <class T>
std::unique_ptr<T> MakeThread(TCommApi& api, const char* message)
{
    try {
        return std::make_unique<T>(api);
    } catch (const EOSError& e) {
        throw ECommsError(message, e.ErrorCode());
    } catch (const std::bad_alloc&) {
        throw ECommsError(message, ERROR_NOT_ENOUGH_MEMORY);
    }
}

const TEnumInfo kDtrControlInfo("TDtrControl", {"DtrEnable", "DtrDisable", "DtrHandshake"});
const TEnumInfo kRtsControlInfo("TRtsControl", {"RtsEnable", "RtsDisable", "RtsHandshake", "RtsTransmissionAvailable"});
const TEnumInfo kByteSizeInfo("TByteSize", {"_5", "_6", "_7", "_8"});
const TEnumInfo kParityInfo("TParity", {"None", "Odd", "Even", "Mark", "Space"});
const TEnumInfo kStopBitsInfo("TStopBits", {"_1", "_1_5", "_2"});

// The enumeration order is not the Win32 code order: these are tables, not casts.
constexpr uint32_t kDtrFlags[] = {0x10 /* enable */, 0x00 /* disable */, 0x20 /* handshake */};
constexpr uint32_t kRtsFlags[] = {0x1000 /* enable */, 0x0000 /* disable */, 0x2000 /* handshake */, 0x3000 /* toggle */};

} // namespace

const TClassInfo& TComm::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TComm>("TComm", TComponent::StaticClassInfo())
            .Creatable()
            .String("CommName", &TComm::CommName, &TComm::SetCommName)
            .Integer("BaudRate", &TComm::BaudRate, &TComm::SetBaudRate)
            .Boolean("ParityCheck", &TComm::ParityCheck, &TComm::SetParityCheck)
            .Boolean("Outx_CtsFlow", &TComm::Outx_CtsFlow, &TComm::SetOutx_CtsFlow)
            .Boolean("Outx_DsrFlow", &TComm::Outx_DsrFlow, &TComm::SetOutx_DsrFlow)
            .Enumeration("DtrControl", kDtrControlInfo, &TComm::DtrControl, &TComm::SetDtrControl)
            .Boolean("DsrSensitivity", &TComm::DsrSensitivity, &TComm::SetDsrSensitivity)
            .Boolean("TxContinueOnXoff", &TComm::TxContinueOnXoff, &TComm::SetTxContinueOnXoff)
            .Boolean("Outx_XonXoffFlow", &TComm::Outx_XonXoffFlow, &TComm::SetOutx_XonXoffFlow)
            .Boolean("Inx_XonXoffFlow", &TComm::Inx_XonXoffFlow, &TComm::SetInx_XonXoffFlow)
            .Boolean("ReplaceWhenParityError", &TComm::ReplaceWhenParityError, &TComm::SetReplaceWhenParityError)
            .Boolean("IgnoreNullChar", &TComm::IgnoreNullChar, &TComm::SetIgnoreNullChar)
            .Enumeration("RtsControl", kRtsControlInfo, &TComm::RtsControl, &TComm::SetRtsControl)
            .Integer("XonLimit", &TComm::XonLimit, &TComm::SetXonLimit)
            .Integer("XoffLimit", &TComm::XoffLimit, &TComm::SetXoffLimit)
            .Enumeration("ByteSize", kByteSizeInfo, &TComm::ByteSize, &TComm::SetByteSize)
            .Enumeration("Parity", kParityInfo, &TComm::Parity, &TComm::SetParity)
            .Enumeration("StopBits", kStopBitsInfo, &TComm::StopBits, &TComm::SetStopBits)
            .Char("XonChar", &TComm::XonChar, &TComm::SetXonChar)
            .Char("XoffChar", &TComm::XoffChar, &TComm::SetXoffChar)
            .Char("ReplacedChar", &TComm::ReplacedChar, &TComm::SetReplacedChar)
            .Integer("ReadIntervalTimeout", &TComm::ReadIntervalTimeout, &TComm::SetReadIntervalTimeout)
            .Integer("ReadTotalTimeoutMultiplier", &TComm::ReadTotalTimeoutMultiplier,
                     &TComm::SetReadTotalTimeoutMultiplier)
            .Integer("ReadTotalTimeoutConstant", &TComm::ReadTotalTimeoutConstant, &TComm::SetReadTotalTimeoutConstant)
            .Integer("WriteTotalTimeoutMultiplier", &TComm::WriteTotalTimeoutMultiplier,
                     &TComm::SetWriteTotalTimeoutMultiplier)
            .Integer("WriteTotalTimeoutConstant", &TComm::WriteTotalTimeoutConstant,
                     &TComm::SetWriteTotalTimeoutConstant)
            .Event("OnReceiveData", &TComm::OnReceiveData)
            .Event("OnRequestHangup", &TComm::OnRequestHangup)
            .Event("OnReceiveError", &TComm::OnReceiveError)
            .Event("OnModemStateChange", &TComm::OnModemStateChange)
            .Event("OnSendDataEmpty", &TComm::OnSendDataEmpty)
            .Build();
    return info;
}

TComm::TComm(TComponent* AOwner) : TComponent(AOwner)
{
    if (!InState(csDesigning)) FNotifyWindow.Reset(AllocateHWnd([this](TMessage& m) { WndProc(m); }));
}

TComm::~TComm()
{
    CloseComm();
    // Chunks the reader posted that were never dispatched would die with the
    // window and leak: the threads have ended, so none can follow these.
    if (FNotifyWindow) {
        MSG msg;
        while (PeekMessageA(&msg, FNotifyWindow.Get(), WM_COMM_RECEIVE, WM_COMM_RECEIVE, PM_REMOVE))
            (void)FApi->LocalFree(reinterpret_cast<HLOCAL>(msg.lParam));
    }
}

// --- Opening and closing

void TComm::OpenComm()
{
    // Nothing failed in the system: the component itself refuses.
    if (FCommHandle) throw ECommsError(kAlreadyOpen, ERROR_SUCCESS);

    // Everything is held here and reaches the fields only once the whole open
    // has succeeded: whatever raises on the way (bad_alloc included) closes
    // what was opened, and a thread not yet started ends without running.
    TFileHandle port(FApi->OpenPort(FCommName.c_str()));
    if (!port) throw ECommsError(kCannotOpen, GetLastError());
    if (!FApi->SetupComm(port.Get(), kQueueSize, kQueueSize)) throw ECommsError(kSetupFailed, GetLastError());
    // Ignored: a port that cannot purge still opens, and the settings below follow.
    (void)FApi->PurgeComm(port.Get(), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    ApplyTimeouts(port.Get());
    ApplyCommState(port.Get());

    TKernelHandle stopEvent(FApi->NewEvent(FALSE));
    if (!stopEvent) throw ECommsError(kNoEvent, GetLastError());
    // Made once: the reader of every session waits on it for the GUI thread.
    if (!FHandOver.Resume) {
        FHandOver.Resume.Reset(FApi->NewEvent(FALSE));
        if (!FHandOver.Resume) throw ECommsError(kNoEvent, GetLastError());
    }

    std::unique_ptr<TReadThread> reader = MakeThread<TReadThread>(*FApi, kNoReadThread);
    reader->FCommHandle = port.Get();
    reader->FStopEvent = stopEvent.Get();
    reader->FNotifyWindow = FNotifyWindow.Get();
    reader->FHandOver = &FHandOver;
    reader->SetPriority(TThreadPriority::tpHighest);

    std::unique_ptr<TWriteThread> writer = MakeThread<TWriteThread>(*FApi, kNoWriteThread);
    writer->FCommHandle = port.Get();
    writer->FStopEvent = stopEvent.Get();
    writer->FNotifyWindow = FNotifyWindow.Get();
    writer->SetPriority(TThreadPriority::tpHigher);

    FCommHandle.Reset(port.Release());
    FStopEvent = std::move(stopEvent);
    FReadThread = std::move(reader);
    FWriteThread = std::move(writer);
    FReadThread->Start();
    FWriteThread->Start();
    // Sends made as soon as this returns must find the writer's queue. A wait
    // that runs out only makes an early send fail, as it would without it.
    const HANDLE ready[2] = {FWriteThread->QueueReady(), FWriteThread->Handle()};
    (void)WaitForMultipleObjects(2, ready, FALSE, kStopWaitMs);
}

void TComm::CloseComm()
{
    if (!FCommHandle) return;
    StopReadThread();
    StopWriteThread();
    // Closing reports nothing: a handle that will not close is lost either way.
    FStopEvent.Reset();
    FCommHandle.Reset();
}

namespace {

template <class T>
void StopThread(std::unique_ptr<T>& thread, HANDLE stopEvent, TCommApi& api, HANDLE port, DWORD purge)
{
    if (thread == nullptr) return;
    // Ignored: the wait below bounds the stop whether or not these succeed.
    (void)SetEvent(stopEvent);
    (void)api.PurgeComm(port, purge);
    // A thread that never started has nothing to finish: no need to wait for it.
    if (thread->Started()) {
        if (WaitForSingleObject(thread->Handle(), kStopWaitMs) == WAIT_TIMEOUT) thread->Terminate();
        // Before delete: the base destructor would wait only after the
        // members of the derived thread, still in use, are gone.
        (void)thread->WaitFor();
    }
    thread.reset();
}

} // namespace

void TComm::StopReadThread()
{
    StopThread(FReadThread, FStopEvent.Get(), *FApi, FCommHandle.Get(), PURGE_RXABORT | PURGE_RXCLEAR);
}

void TComm::StopWriteThread()
{
    StopThread(FWriteThread, FStopEvent.Get(), *FApi, FCommHandle.Get(), PURGE_TXABORT | PURGE_TXCLEAR);
}

bool TComm::SendCommData(const void* Buffer, uint16_t BufferLength)
{
    if (FWriteThread == nullptr || BufferLength == 0) return false;
    HLOCAL block = FApi->LocalAlloc(static_cast<SIZE_T>(BufferLength) + 1);
    if (block == nullptr) return false;
    std::memcpy(block, Buffer, BufferLength);
    if (FWriteThread->Queue(block, BufferLength)) return true;
    (void)FApi->LocalFree(block);
    return false;
}

// --- Line settings

uint32_t TComm::DcbFlags() const noexcept
{
    uint32_t flags = 1; // fBinary
    if (FParityCheck) flags |= 1u << 1;
    if (FOutx_CtsFlow) flags |= 1u << 2;
    if (FOutx_DsrFlow) flags |= 1u << 3;
    flags |= kDtrFlags[static_cast<int>(FDtrControl)];
    if (FDsrSensitivity) flags |= 1u << 6;
    if (FTxContinueOnXoff) flags |= 1u << 7;
    if (FOutx_XonXoffFlow) flags |= 1u << 8;
    if (FInx_XonXoffFlow) flags |= 1u << 9;
    if (FReplaceWhenParityError) flags |= 1u << 10;
    if (FIgnoreNullChar) flags |= 1u << 11;
    flags |= kRtsFlags[static_cast<int>(FRtsControl)];
    return flags;
}

void TComm::ApplyCommState(HANDLE port)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    // Both results ignored: a port that refuses its settings still opens, and
    // a setter has no one to report to.
    (void)FApi->GetCommState(port, &dcb);
    dcb.BaudRate = FBaudRate;
    // The bit fields follow BaudRate as one 32-bit word; every flag not named
    // (fAbortOnError among them) ends up 0.
    constexpr size_t kFlagsOffset = offsetof(DCB, BaudRate) + sizeof(DWORD);
    static_assert(kFlagsOffset + sizeof(DWORD) == offsetof(DCB, wReserved));
    const uint32_t flags = DcbFlags();
    std::memcpy(reinterpret_cast<char*>(&dcb) + kFlagsOffset, &flags, sizeof flags);
    dcb.XonLim = FXonLimit;
    dcb.XoffLim = FXoffLimit;
    dcb.ByteSize = static_cast<BYTE>(static_cast<int>(FByteSize) + 5);
    dcb.Parity = static_cast<BYTE>(FParity);
    dcb.StopBits = static_cast<BYTE>(FStopBits);
    dcb.XonChar = FXonChar;
    dcb.XoffChar = FXoffChar;
    dcb.ErrorChar = FReplacedChar;
    (void)FApi->SetCommState(port, &dcb);
}

void TComm::ApplyTimeouts(HANDLE port)
{
    COMMTIMEOUTS t{};
    // Both results ignored, as for the line settings.
    (void)FApi->GetCommTimeouts(port, &t);
    t.ReadIntervalTimeout = FReadIntervalTimeout;
    t.ReadTotalTimeoutMultiplier = FReadTotalTimeoutMultiplier;
    t.ReadTotalTimeoutConstant = FReadTotalTimeoutConstant;
    t.WriteTotalTimeoutMultiplier = FWriteTotalTimeoutMultiplier;
    t.WriteTotalTimeoutConstant = FWriteTotalTimeoutConstant;
    (void)FApi->SetCommTimeouts(port, &t);
}

template <class T>
void TComm::Change(T& field, T value, void (TComm::*apply)(HANDLE))
{
    if (field == value) return;
    field = value;
    if (FCommHandle) (this->*apply)(FCommHandle.Get());
}

void TComm::SetBaudRate(uint32_t v) { Change(FBaudRate, v, &TComm::ApplyCommState); }
void TComm::SetParityCheck(bool v) { Change(FParityCheck, v, &TComm::ApplyCommState); }
void TComm::SetOutx_CtsFlow(bool v) { Change(FOutx_CtsFlow, v, &TComm::ApplyCommState); }
void TComm::SetOutx_DsrFlow(bool v) { Change(FOutx_DsrFlow, v, &TComm::ApplyCommState); }
void TComm::SetDtrControl(TDtrControl v) { Change(FDtrControl, v, &TComm::ApplyCommState); }
void TComm::SetDsrSensitivity(bool v) { Change(FDsrSensitivity, v, &TComm::ApplyCommState); }
void TComm::SetTxContinueOnXoff(bool v) { Change(FTxContinueOnXoff, v, &TComm::ApplyCommState); }
void TComm::SetOutx_XonXoffFlow(bool v) { Change(FOutx_XonXoffFlow, v, &TComm::ApplyCommState); }
void TComm::SetInx_XonXoffFlow(bool v) { Change(FInx_XonXoffFlow, v, &TComm::ApplyCommState); }
void TComm::SetReplaceWhenParityError(bool v) { Change(FReplaceWhenParityError, v, &TComm::ApplyCommState); }
void TComm::SetIgnoreNullChar(bool v) { Change(FIgnoreNullChar, v, &TComm::ApplyCommState); }
void TComm::SetRtsControl(TRtsControl v) { Change(FRtsControl, v, &TComm::ApplyCommState); }
void TComm::SetXonLimit(uint16_t v) { Change(FXonLimit, v, &TComm::ApplyCommState); }
void TComm::SetXoffLimit(uint16_t v) { Change(FXoffLimit, v, &TComm::ApplyCommState); }
void TComm::SetByteSize(TByteSize v) { Change(FByteSize, v, &TComm::ApplyCommState); }
void TComm::SetStopBits(TStopBits v) { Change(FStopBits, v, &TComm::ApplyCommState); }
void TComm::SetXonChar(char v) { Change(FXonChar, v, &TComm::ApplyCommState); }
void TComm::SetXoffChar(char v) { Change(FXoffChar, v, &TComm::ApplyCommState); }
void TComm::SetReplacedChar(char v) { Change(FReplacedChar, v, &TComm::ApplyCommState); }
void TComm::SetReadIntervalTimeout(uint32_t v) { Change(FReadIntervalTimeout, v, &TComm::ApplyTimeouts); }
void TComm::SetReadTotalTimeoutMultiplier(uint32_t v) { Change(FReadTotalTimeoutMultiplier, v, &TComm::ApplyTimeouts); }
void TComm::SetReadTotalTimeoutConstant(uint32_t v) { Change(FReadTotalTimeoutConstant, v, &TComm::ApplyTimeouts); }
void TComm::SetWriteTotalTimeoutMultiplier(uint32_t v) { Change(FWriteTotalTimeoutMultiplier, v, &TComm::ApplyTimeouts); }
void TComm::SetWriteTotalTimeoutConstant(uint32_t v) { Change(FWriteTotalTimeoutConstant, v, &TComm::ApplyTimeouts); }

// --- Notifications from the threads, on the GUI thread

void TComm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_COMM_RECEIVE: {
        // Freed whether or not a handler runs, and also when it raises.
        TCommBlock block(*FApi, reinterpret_cast<HLOCAL>(Message.LParam));
        // Taken: once the last one is, a reader waiting for room reads on.
        FHandOver.Taken();
        DoReceiveData(block.Get(), static_cast<uint16_t>(Message.WParam & 0xFFFF));
        break;
    }
    case WM_COMM_ERROR: DoReceiveError(static_cast<uint32_t>(Message.LParam)); break;
    case WM_COMM_HANGUP: DoRequestHangup(); break;
    case WM_COMM_MODEM: DoModemStateChange(static_cast<uint32_t>(Message.LParam)); break;
    case WM_COMM_SENDEMPTY: DoSendDataEmpty(); break;
    default: Message.Result = DefWindowProcW(FNotifyWindow.Get(), Message.Msg, Message.WParam, Message.LParam);
    }
}

void TComm::DoReceiveData(const void* Buffer, uint16_t BufferLength)
{
    if (OnReceiveData) OnReceiveData(this, Buffer, BufferLength);
}

void TComm::DoReceiveError(uint32_t EventMask)
{
    if (OnReceiveError) OnReceiveError(this, EventMask);
}

void TComm::DoModemStateChange(uint32_t ModemEvent)
{
    if (OnModemStateChange) OnModemStateChange(this, ModemEvent);
}

void TComm::DoRequestHangup()
{
    if (OnRequestHangup) OnRequestHangup(this);
}

void TComm::DoSendDataEmpty()
{
    if (OnSendDataEmpty) OnSendDataEmpty(this);
}
