#include "tests/support/GdiObjectCount.h"

#include <windows.h>

#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

static_assert(sizeof(void*) == 8, "the table is read in its 64-bit layout");

namespace {

constexpr size_t kTableInPeb = 0xF8;
constexpr size_t kEntries = 65536, kEntrySize = 24;
constexpr size_t kOwnerInEntry = 8, kTypeInEntry = 14;

int CountEntries(const uint8_t* Table, uint32_t ProcessId)
{
    int count = 0;
    for (size_t i = 0; i < kEntries; ++i) {
        const uint8_t* entry = Table + i * kEntrySize;
        if (entry[kTypeInEntry] == 0) continue;  // a free entry
        // Wine 8 gives each process a table of its own and leaves the owner 0;
        // a table shared between processes names each entry's owner.
        uint32_t owner = 0;
        std::memcpy(&owner, entry + kOwnerInEntry, sizeof owner);
        if (owner == 0 || owner == ProcessId) ++count;
    }
    return count;
}

} // namespace

int GdiObjectCount()
{
    // The PEB's address is at gs:0x60; read without NtCurrentTeb(), whose
    // constant address GCC takes for an out-of-bounds access.
    const uint8_t* peb = nullptr;
    asm("movq %%gs:0x60, %0" : "=r"(peb));
    if (peb == nullptr) return -1;
    const uint8_t* table = nullptr;
    std::memcpy(&table, peb + kTableInPeb, sizeof table);
    if (table == nullptr) return -1;
    return CountEntries(table, ::GetCurrentProcessId());
}

int GdiObjectCountOf(HANDLE Process)
{
    PROCESS_BASIC_INFORMATION info{};
    if (NtQueryInformationProcess(Process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0 ||
        info.PebBaseAddress == nullptr)
        return -1;
    const uint8_t* table = nullptr;
    std::vector<uint8_t> entries(kEntries * kEntrySize);
    if (!::ReadProcessMemory(Process, reinterpret_cast<const uint8_t*>(info.PebBaseAddress) + kTableInPeb, &table,
                             sizeof table, nullptr) ||
        table == nullptr || !::ReadProcessMemory(Process, table, entries.data(), entries.size(), nullptr))
        return -1;
    return CountEntries(entries.data(), ::GetProcessId(Process));
}
