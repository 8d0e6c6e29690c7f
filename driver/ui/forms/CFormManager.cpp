#include "forms/CFormManager.h"

#include "resource.h"

#include <libmerrow/error.h>
#include <libmerrow/scoped.h>

#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>

namespace
{
// Both lists start with room for 100 entries and grow by 10.
constexpr UINT kInitialCapacity = 100;
constexpr UINT kGrowthStep = 10;
// Records per allocation: the spooler's forms of a usual system fit in one.
constexpr UINT kFormBlockSize = 128;

// hwp.exe cannot take more than 256 papers; with "Custom Size" added by the
// capability answer, 255 catalogue forms is its limit.
constexpr DWORD kHwpFormLimit = 255;
constexpr wchar_t kHwpSuffix[] = L"\\hwp.exe";
constexpr size_t kHwpSuffixLength = 8;
constexpr DWORD kModulePathCapacity = 1024;

// RegEnumValueW buffers: names of up to 64 characters, data of up to 8 KB.
constexpr DWORD kValueDataCapacity = 8192;
// A stored record needs its flags (bytes 0-3) and size (bytes 16-23).
constexpr DWORD kCustomFormMinimumSize = 24;

// Every catalogue operation opens its key itself, creating it when missing.
// A failure is reported with the caller's line and name.
DWORD OpenUserKey(LPCWSTR path, ScopedRegKey* key, int line, const wchar_t* function)
{
    const LONG rc = RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                    nullptr, key->Out(), nullptr);
    if (rc == ERROR_SUCCESS)
        return 0;
    return TraceFailureAt(__FILE__, line, ReportErrorW(static_cast<DWORD>(rc), nullptr), function);
}

DWORD ReadDword(const BYTE* data)
{
    DWORD value;
    std::memcpy(&value, data, sizeof(value));
    return value;
}

// A failed call that left no error behind still has to fail.
DWORD LastErrorOrFailure()
{
    const DWORD code = GetLastError();
    return code ? code : ERROR_GEN_FAILURE;
}

// A form name the registry can hold and the catalogue can load back.
bool IsStorableFormName(LPCWSTR name)
{
    return name && name[0] && wcslen(name) <= static_cast<size_t>(kFormNameLength);
}

// Whole millimetres to thousandths, refusing what a LONG cannot hold.
bool MillimetresToFormSize(DWORD millimetres, LONG* size)
{
    if (millimetres > kLargestFormMillimetres)
        return false;
    *size = static_cast<LONG>(millimetres * 1000);
    return true;
}
} // namespace

CFormManager::CFormManager()
    : m_hPrinter(nullptr), m_FormList(kInitialCapacity, kGrowthStep), m_FavoriteList(kInitialCapacity, kGrowthStep),
      m_bHwpHost(0), m_FormBlocks(8, 8), m_nBlockFree(0)
{
}

CFormManager::~CFormManager()
{
    ClearForms();
    ClearFavoriteForms();
}

DWORD CFormManager::SetPrinter(HANDLE hPrinter)
{
    m_hPrinter = hPrinter;

    wchar_t path[kModulePathCapacity];
    const DWORD length = GetModuleFileNameW(nullptr, path, kModulePathCapacity);
    const size_t used = length < kModulePathCapacity ? length : kModulePathCapacity - 1;
    path[used] = L'\0';
    m_bHwpHost = (used >= kHwpSuffixLength && _wcsicmp(path + used - kHwpSuffixLength, kHwpSuffix) == 0) ? 1 : 0;
    return 0;
}

DWORD CFormManager::GetFormCount() const
{
    const DWORD count = m_FormList.GetCount();
    if (m_bHwpHost == 1 && count > kHwpFormLimit)
        return kHwpFormLimit;
    return count;
}

FORM_ITEM* CFormManager::FindForm(LPCWSTR name) const
{
    if (!name)
        return nullptr;
    FORM_ITEM* const* forms = GetForms();
    for (UINT i = 0; i < m_FormList.GetCount(); ++i)
    {
        if (forms[i] && wcscmp(forms[i]->szName, name) == 0)
            return forms[i];
    }
    return nullptr;
}

void CFormManager::ClearForms()
{
    void* const* blocks = m_FormBlocks.GetData();
    for (UINT i = 0; i < m_FormBlocks.GetCount(); ++i)
        delete[] static_cast<FORM_ITEM*>(blocks[i]);
    m_FormBlocks.RemoveAll();
    m_nBlockFree = 0;
    m_FormList.RemoveAll();
}

void CFormManager::ClearFavoriteForms()
{
    LPWSTR const* names = GetFavoriteForms();
    for (UINT i = 0; i < m_FavoriteList.GetCount(); ++i)
        delete[] names[i];
    m_FavoriteList.RemoveAll();
}

FORM_ITEM* CFormManager::_NewFormItem()
{
    if (m_nBlockFree == 0)
    {
        // Held until the list owns it: a list that cannot grow throws.
        std::unique_ptr<FORM_ITEM[]> block(new FORM_ITEM[kFormBlockSize]());
        m_FormBlocks.Add(block.get());
        block.release();
        m_nBlockFree = kFormBlockSize;
    }
    FORM_ITEM* block = static_cast<FORM_ITEM*>(m_FormBlocks.GetAt(m_FormBlocks.GetCount() - 1));
    return &block[kFormBlockSize - m_nBlockFree--];
}

void CFormManager::_AddFormItem(LPCWSTR name, DWORD flags, LONG cx, LONG cy)
{
    FORM_ITEM* item = _NewFormItem();
    item->wPaperNumber = static_cast<WORD>(m_FormList.GetCount() + 1);
    item->dwFlags = flags;
    // A longer name is cut to what the record holds.
    if (name)
        lstrcpynW(item->szName, name, kFormNameLength + 1);
    item->size.cx = cx;
    item->size.cy = cy;
    m_FormList.Add(item);
}

DWORD CFormManager::LoadAvailableForm()
{
    ClearForms();
    DWORD rc = _LoadFormFromSpooler();
    if (rc == 0)
        rc = _LoadFormFromRegistry();
    return PASS_ON(rc, L"CFormManager::LoadAvailableForm()");
}

DWORD CFormManager::_LoadFormFromSpooler()
{
    DWORD needed = 0;
    DWORD returned = 0;
    if (EnumFormsW(m_hPrinter, 1, nullptr, 0, &needed, &returned))
        return 0; // the spooler has no forms at all
    DWORD rc = LastErrorOrFailure();
    if (rc != ERROR_INSUFFICIENT_BUFFER)
        return FAIL_FROM(L"EnumForms()", ReportErrorW(rc, nullptr), L"CFormManager::_LoadFormFromSpooler()");

    const std::unique_ptr<BYTE[]> buffer(new BYTE[needed]);
    if (!EnumFormsW(m_hPrinter, 1, buffer.get(), needed, &needed, &returned))
    {
        rc = LastErrorOrFailure();
        return FAIL_FROM(L"EnumForms()", ReportErrorW(rc, nullptr), L"CFormManager::_LoadFormFromSpooler()");
    }

    const FORM_INFO_1W* forms = reinterpret_cast<const FORM_INFO_1W*>(buffer.get());
    for (DWORD i = 0; i < returned; ++i)
        _AddFormItem(forms[i].pName, forms[i].Flags, forms[i].Size.cx, forms[i].Size.cy);
    return 0;
}

DWORD CFormManager::_LoadFormFromRegistry()
{
    ScopedRegKey key;
    if (const DWORD failed = OpenUserKey(TARVIK_FORMS_KEY, &key, __LINE__, L"CFormManager::_LoadFormFromRegistry()"))
        return failed;

    LONG rc = ERROR_SUCCESS;
    const std::unique_ptr<BYTE[]> data(new BYTE[kValueDataCapacity]);
    for (DWORD index = 0;; ++index)
    {
        wchar_t name[kFormNameLength + 1];
        DWORD nameLength = kFormNameLength + 1;
        DWORD type = REG_NONE;
        DWORD dataSize = kValueDataCapacity;
        rc = RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type, data.get(), &dataSize);
        if (rc == ERROR_NO_MORE_ITEMS)
        {
            rc = ERROR_SUCCESS;
            break;
        }
        if (rc != ERROR_SUCCESS)
        {
            ReportErrorW(rc, nullptr);
            PASS_ON(rc, L"CFormManager::_LoadFormFromRegistry()");
            break;
        }
        // Something else wrote this value: without a whole flags and size
        // it is not a form, and inventing a size for it would mislead.
        if (type != REG_BINARY || dataSize < kCustomFormMinimumSize)
        {
            DebugPrintW(L"Skipped custom form \"%s\": type %u, %u bytes", name, type, dataSize);
            continue;
        }
        _AddFormItem(name, ReadDword(data.get()), static_cast<LONG>(ReadDword(data.get() + 16)),
                     static_cast<LONG>(ReadDword(data.get() + 20)));
    }
    return static_cast<DWORD>(rc);
}

DWORD CFormManager::LoadFavoriteForm()
{
    ClearFavoriteForms();

    ScopedRegKey key;
    if (const DWORD failed = OpenUserKey(TARVIK_CONFIG_KEY, &key, __LINE__, L"CFormManager::LoadFavoriteForm()"))
        return failed;

    DWORD size = 0;
    DWORD type = REG_NONE;
    LONG rc = RegQueryValueExW(key.Get(), TARVIK_FAVORITE_VALUE, nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS)
        return FAIL_AT(ReportErrorW(rc, nullptr), L"CFormManager::LoadFavoriteForm()");
    // A number or binary value written by something else holds no names:
    // it counts as no list at all, so the form page writes its own over it.
    if (type != REG_SZ)
        return FAIL_AT(ReportErrorW(ERROR_FILE_NOT_FOUND, L"%s is not a text value (type %u)", TARVIK_FAVORITE_VALUE,
                                    static_cast<unsigned>(type)),
                       L"CFormManager::LoadFavoriteForm()");

    // One character more than the value holds, so that a value stored
    // without its terminator still ends inside the buffer.
    const DWORD characters = size / sizeof(wchar_t) + 1;
    const std::unique_ptr<wchar_t[]> text(new wchar_t[characters]());
    DWORD read = size;
    rc = RegQueryValueExW(key.Get(), TARVIK_FAVORITE_VALUE, nullptr, nullptr, reinterpret_cast<BYTE*>(text.get()),
                          &read);
    if (rc != ERROR_SUCCESS)
        return FAIL_AT(ReportErrorW(rc, nullptr), L"CFormManager::LoadFavoriteForm()");
    text[characters - 1] = L'\0';

    // Pieces between ";" in order; empty ones (leading, trailing or doubled
    // separators) are not names.
    wchar_t* piece = text.get();
    for (;;)
    {
        wchar_t* end = wcschr(piece, L';');
        if (end)
            *end = L'\0';
        if (piece[0])
            AddFavoriteForm(piece);
        if (!end)
            break;
        piece = end + 1;
    }
    return 0;
}

DWORD CFormManager::SaveFavoriteForm()
{
    ScopedRegKey key;
    if (const DWORD failed = OpenUserKey(TARVIK_CONFIG_KEY, &key, __LINE__, L"CFormManager::SaveFavoriteForm()"))
        return failed;

    LPWSTR const* names = GetFavoriteForms();
    const UINT count = m_FavoriteList.GetCount();
    size_t length = 0;
    for (UINT i = 0; i < count; ++i)
        length += (names[i] ? wcslen(names[i]) : 0) + 1;
    const std::unique_ptr<wchar_t[]> text(new wchar_t[length + 1]());
    wchar_t* end = text.get();
    for (UINT i = 0; i < count; ++i)
    {
        if (i > 0)
            *end++ = L';';
        if (names[i])
        {
            const size_t n = wcslen(names[i]);
            std::memcpy(end, names[i], n * sizeof(wchar_t));
            end += n;
        }
    }
    *end = L'\0';

    const DWORD bytes = static_cast<DWORD>((end - text.get() + 1) * sizeof(wchar_t));
    const LONG rc =
        RegSetValueExW(key.Get(), TARVIK_FAVORITE_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.get()), bytes);
    if (rc != ERROR_SUCCESS)
        return FAIL_AT(ReportErrorW(rc, nullptr), L"CFormManager::SaveFavoriteForm()");
    return 0;
}

DWORD CFormManager::AddFavoriteForm(LPCWSTR name)
{
    if (!name)
        return FAIL_AT(ReportErrorW(ERROR_INVALID_PARAMETER, nullptr), L"CFormManager::AddFavoriteForm()");
    const size_t length = wcslen(name);
    std::unique_ptr<wchar_t[]> copy(new wchar_t[length + 1]);
    std::memcpy(copy.get(), name, (length + 1) * sizeof(wchar_t));
    m_FavoriteList.Add(copy.get());
    copy.release();
    return 0;
}

DWORD CFormManager::AddForm(LPCWSTR name, DWORD width, DWORD height)
{
    LONG cx = 0;
    LONG cy = 0;
    if (!IsStorableFormName(name) || !MillimetresToFormSize(width, &cx) || !MillimetresToFormSize(height, &cy))
        return FAIL_AT(ReportErrorW(ERROR_INVALID_PARAMETER, nullptr), L"CFormManager::AddForm()");

    // The 64-bit FORM_INFO_1W layout; the name lives in the value name.
    BYTE record[kCustomFormRecordSize] = {};
    const DWORD flags = FORM_CUSTOM;
    std::memcpy(record + 0, &flags, sizeof(flags));
    std::memcpy(record + 16, &cx, sizeof(cx));
    std::memcpy(record + 20, &cy, sizeof(cy));
    std::memcpy(record + 32, &cx, sizeof(cx));
    std::memcpy(record + 36, &cy, sizeof(cy));

    ScopedRegKey key;
    if (const DWORD failed = OpenUserKey(TARVIK_FORMS_KEY, &key, __LINE__, L"CFormManager::AddForm()"))
        return failed;
    const LONG rc = RegSetValueExW(key.Get(), name, 0, REG_BINARY, record, kCustomFormRecordSize);
    if (rc != ERROR_SUCCESS)
        return FAIL_FROM(L"RegSetValueEx()", ReportErrorW(rc, nullptr), L"CFormManager::AddForm()");
    return 0;
}

DWORD CFormManager::DeleteForm(LPCWSTR name)
{
    // An empty name would address the key's default value, not a form.
    if (!name || !name[0])
        return FAIL_AT(ReportErrorW(ERROR_INVALID_PARAMETER, nullptr), L"CFormManager::DeleteForm()");

    ScopedRegKey key;
    if (const DWORD failed = OpenUserKey(TARVIK_FORMS_KEY, &key, __LINE__, L"CFormManager::DeleteForm()"))
        return failed;
    const LONG rc = RegDeleteValueW(key.Get(), name);
    if (rc != ERROR_SUCCESS)
        return FAIL_FROM(L"RegDeleteKey()", ReportErrorW(rc, nullptr), L"CFormManager::DeleteForm()");
    return 0;
}

// ---------------------------------------------------------------------------
// Units and number texts

short FormSizeToTenths(LONG size)
{
    return static_cast<short>(size / 100);
}

void TrimNumberText(LPWSTR text)
{
    if (!text || !wcschr(text, L'.'))
        return;
    size_t length = wcslen(text);
    while (length > 0 && text[length - 1] == L'0')
        text[--length] = L'\0';
    if (length > 0 && text[length - 1] == L'.')
        text[--length] = L'\0';
}

void FormatFormSize(float value, LPWSTR text, size_t capacity)
{
    if (!text || capacity == 0)
        return;
    if (_snwprintf_s(text, capacity, _TRUNCATE, L"%.2f", static_cast<double>(value)) < 0)
        text[0] = L'\0';
    TrimNumberText(text);
}

float FormSizeInUnit(LONG size, DWORD unit)
{
    return ConvertLength(static_cast<float>(size / 1000.0), kUnitMillimetres, unit);
}

UINT UnitWordId(DWORD unit)
{
    return unit == kUnitMillimetres ? IDS_UNIT_MM : unit == kUnitInches ? IDS_UNIT_INCH : IDS_UNIT_POINT;
}
