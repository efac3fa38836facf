#include "process_usage.h"

#include "core/win32_handles.h"

#include <psapi.h>

#include <vector>

namespace {

// One row of the system's handle table (SystemHandleInformation, class 16).
struct SystemHandleRow {
    ULONG ownerId;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// GetProcessHandleCount answers 0 under Wine; the system's handle table
// has the real rows.
long CountHandlesInSystemTable(DWORD processId) {
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) {
        return -1;
    }
    std::vector<BYTE> table(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt, table.resize(table.size() * 2)) {
        ULONG needed = 0;
        const LONG status = query(16, table.data(), static_cast<ULONG>(table.size()), &needed);
        if (status == static_cast<LONG>(0xC0000004L)) { // STATUS_INFO_LENGTH_MISMATCH
            continue;
        }
        if (status != 0) {
            return -1;
        }
        const ULONG rows = *reinterpret_cast<const ULONG*>(table.data());
        const auto* row =
            reinterpret_cast<const SystemHandleRow*>(table.data() + sizeof(ULONG_PTR));
        long count = 0;
        for (ULONG i = 0; i < rows; ++i) {
            count += (row[i].ownerId & 0xFFFF) == (processId & 0xFFFF) ? 1 : 0;
        }
        return count;
    }
    return -1;
}

} // namespace

ProcessUsage ReadProcessUsage(DWORD processId) {
    ProcessUsage usage;
    const KernelHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process.valid()) {
        return usage;
    }
    DWORD handles = 0;
    if (GetProcessHandleCount(process.get(), &handles) && handles != 0) {
        usage.handles = static_cast<long>(handles);
    } else {
        usage.handles = CountHandlesInSystemTable(processId);
    }
    SetLastError(0);
    const DWORD gdi = GetGuiResources(process.get(), GR_GDIOBJECTS);
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        usage.gdiObjects = static_cast<long>(gdi);
        usage.userObjects = static_cast<long>(GetGuiResources(process.get(), GR_USEROBJECTS));
    }
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process.get(), &memory, sizeof(memory))) {
        usage.privateBytes = memory.PagefileUsage;
        usage.workingSet = memory.WorkingSetSize;
    }
    return usage;
}

std::string ProcessUsage::Describe() const {
    return "handles " + std::to_string(handles) + ", GDI objects " + std::to_string(gdiObjects) +
           ", USER objects " + std::to_string(userObjects) + ", private " +
           std::to_string(privateBytes / 1024) + " KiB, working set " +
           std::to_string(workingSet / 1024) + " KiB";
}
