// The job events. Only the start of a document matters: the job's name goes
// to the renderer through escape -255, and the renderer's answer decides
// whether the job goes on.
#include "entry/DriverInterface.h"
#include "core/ExceptionBarrier.h"

// The private escape the renderer answers with 0 (go on) or a Win32 error
// code (1223 when the user cancelled the job).
constexpr int kEscapeDocumentName = -255;

namespace
{
int StartDocument(HDC hdc, ULONG cbIn, PVOID pvIn)
{
    // pvIn points to the pointer to the job's DOCINFOW (when cbIn says it
    // holds one); a job without a name still tells the renderer that a
    // document starts, with an empty name.
    const wchar_t* name = L"";
    if (pvIn && cbIn >= sizeof(DOCINFOW*))
    {
        const DOCINFOW* info = *static_cast<DOCINFOW* const*>(pvIn);
        if (info && info->lpszDocName)
            name = info->lpszDocName;
    }
    const int bytes = (lstrlenW(name) + 1) * static_cast<int>(sizeof(wchar_t));
    const int result = ExtEscape(hdc, kEscapeDocumentName, bytes, reinterpret_cast<LPCSTR>(name), 0, nullptr);
    if (result == 0)
        return DOCUMENTEVENT_SUCCESS;
    SetLastError(static_cast<DWORD>(result));
    return result == ERROR_CANCELLED ? -2 : DOCUMENTEVENT_FAILURE;
}
} // namespace

extern "C" int WINAPI DrvDocumentEvent(HANDLE /*hPrinter*/, HDC hdc, int iEsc, ULONG cbIn, PVOID pvIn, ULONG /*cbOut*/,
                                       PVOID /*pvOut*/)
{
    if (iEsc != DOCUMENTEVENT_STARTDOC)
        return DOCUMENTEVENT_SUCCESS;
    return ExceptionBarrier(L"DrvDocumentEvent()", DOCUMENTEVENT_FAILURE,
                            [&] { return StartDocument(hdc, cbIn, pvIn); });
}
