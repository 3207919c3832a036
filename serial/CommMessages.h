// Messages between a TComm and its threads. All are posted, never sent; a
// message that carries a heap block hands it to the receiver, who frees it.
#pragma once

#include <windows.h>

// Thread message to the writer: WParam byte count (1..65535), LParam the block.
constexpr UINT WM_COMM_SEND = WM_USER + 1;
// Reader to the notification window: WParam byte count (1..4096), LParam the block.
constexpr UINT WM_COMM_RECEIVE = WM_USER + 1;
// Reader: LParam the CE_ flags that ClearCommError reported.
constexpr UINT WM_COMM_ERROR = WM_USER + 2;
// Either thread met an I/O failure and has ended.
constexpr UINT WM_COMM_HANGUP = WM_USER + 3;
// Reader: LParam 8 carrier detect changed, 4 ring, or both.
constexpr UINT WM_COMM_MODEM = WM_USER + 4;
// Writer: its queue has drained.
constexpr UINT WM_COMM_SENDEMPTY = WM_USER + 5;
