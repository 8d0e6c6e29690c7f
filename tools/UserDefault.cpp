#include "UserDefault.h"

#include <winspool.h>

namespace
{
// A spooler without the level answers one of these.
bool LevelRefused(DWORD error)
{
    return error == ERROR_INVALID_LEVEL || error == ERROR_NOT_SUPPORTED || error == ERROR_CALL_NOT_IMPLEMENTED;
}

// The printer information of `level`, or an empty buffer (the last error says why).
std::vector<BYTE> PrinterInfo(HANDLE printer, DWORD level)
{
    DWORD needed = 0;
    if (GetPrinterW(printer, level, nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return {};
    std::vector<BYTE> info(needed);
    if (!GetPrinterW(printer, level, info.data(), needed, &needed))
        return {};
    return info;
}

// The record `pDevMode` points at, when the whole of it lies inside `info`.
std::vector<unsigned char> RecordInside(const std::vector<BYTE>& info, const DEVMODEW* record)
{
    const auto* first = reinterpret_cast<const BYTE*>(record);
    const BYTE* end = info.data() + info.size();
    if (!record || first < info.data() || end - first < static_cast<ptrdiff_t>(sizeof(DEVMODEW)))
        return {};
    const size_t size = size_t{record->dmSize} + record->dmDriverExtra;
    if (record->dmSize < offsetof(DEVMODEW, dmFields) || static_cast<size_t>(end - first) < size)
        return {};
    return std::vector<unsigned char>(first, first + size);
}
} // namespace

SheetOutcome JudgeSheet(LONG answer, bool recordChanged)
{
    if (answer == IDCANCEL)
        return SheetOutcome::Cancelled;
    if (answer != IDOK)
        return SheetOutcome::Failed;
    return recordChanged ? SheetOutcome::Changed : SheetOutcome::Unchanged;
}

StoredDefault LoadUserDefault(HANDLE printer)
{
    StoredDefault stored;
    std::vector<BYTE> info = PrinterInfo(printer, 9);
    if (!info.empty())
    {
        stored.record = RecordInside(info, reinterpret_cast<const PRINTER_INFO_9W*>(info.data())->pDevMode);
        stored.level = 9;
    }
    else if (!LevelRefused(GetLastError()))
    {
        return stored;
    }
    // No default of this user's own: the printer's, which everyone shares.
    if (stored.record.empty())
    {
        info = PrinterInfo(printer, 2);
        if (!info.empty())
        {
            stored.record = RecordInside(info, reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pDevMode);
            stored.level = 2;
        }
    }
    return stored;
}

DWORD StoreUserDefault(HANDLE printer, const DEVMODEW& record, DWORD* level)
{
    PRINTER_INFO_9W mine = {const_cast<DEVMODEW*>(&record)};
    *level = 9;
    if (SetPrinterW(printer, 9, reinterpret_cast<BYTE*>(&mine), 0))
        return 0;
    const DWORD error = GetLastError();
    if (!LevelRefused(error))
        return error ? error : ERROR_GEN_FAILURE;

    *level = 2;
    std::vector<BYTE> info = PrinterInfo(printer, 2);
    if (info.empty())
        return GetLastError() ? GetLastError() : ERROR_GEN_FAILURE;
    auto* printerInfo = reinterpret_cast<PRINTER_INFO_2W*>(info.data());
    printerInfo->pDevMode = const_cast<DEVMODEW*>(&record);
    // The security descriptor stays as it is.
    printerInfo->pSecurityDescriptor = nullptr;
    if (SetPrinterW(printer, 2, info.data(), 0))
        return 0;
    return GetLastError() ? GetLastError() : ERROR_GEN_FAILURE;
}
