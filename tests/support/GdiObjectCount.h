// The live GDI objects of this process, for leak checks in tests and
// benchmarks: under Wine 8 GetGuiResources always returns 0 for them.
#pragma once

// Objects in the GDI handle table the process environment block points to
// (stock objects included); -1 when there is no such table.
int GdiObjectCount();
// The same for another process (opened with PROCESS_QUERY_INFORMATION and
// PROCESS_VM_READ); -1 when its table cannot be read.
int GdiObjectCountOf(void* Process);

// The failure message for a count of -1.
inline constexpr char kNoGdiObjectCount[] = "GDI objects cannot be counted: the PEB names no GDI handle table";
