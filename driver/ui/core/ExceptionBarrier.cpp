#include "core/ExceptionBarrier.h"

#include <libmerrow/error.h>

void ReportStoppedException(const wchar_t* entry) noexcept
{
    // Reporting itself allocates nothing: the heap may be what failed.
    FAIL_AT(ReportErrorW(ERROR_NOT_ENOUGH_MEMORY, L"An exception was stopped at %s", entry), entry);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
}
