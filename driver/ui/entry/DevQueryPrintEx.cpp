#include "entry/DriverInterface.h"
#include "core/ExceptionBarrier.h"

// Every job may print on this driver: nothing is queried and no error text
// is written.
extern "C" BOOL WINAPI DevQueryPrintEx(PDEVQUERYPRINT_INFO /*pDQPInfo*/)
{
    return ExceptionBarrier(L"DevQueryPrintEx()", FALSE, [] { return FALSE; });
}
