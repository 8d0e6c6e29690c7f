// Holders for the Win32 resources the module owns: each releases its
// resource in its destructor, so an early return or an exception between
// acquisition and release leaks nothing. One holder per kind of handle; no
// copying, moving hands the resource on.
//
//     ScopedRegKey key;
//     if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
//         return ...;                 // nothing to close
//     RegQueryValueExW(key.Get(), ...); // closed on every way out
#pragma once

#include <windows.h>
#include <wininet.h>
#include <winspool.h>

#include <utility>

template <class Handle, class Kind>
class ScopedHandle
{
  public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : m_handle(handle) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : m_handle(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Kind::Empty(); }
    // For a function that writes the handle through an out-argument; the
    // holder must be empty.
    Handle* Out() { return &m_handle; }
    // Gives the handle up without releasing it.
    Handle Release() { return std::exchange(m_handle, Kind::Empty()); }
    void Reset(Handle handle = Kind::Empty())
    {
        if (m_handle != Kind::Empty())
            Kind::Close(m_handle);
        m_handle = handle;
    }

  private:
    Handle m_handle = Kind::Empty();
};

namespace scoped_kinds
{
struct RegKey
{
    static HKEY Empty() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
struct Printer
{
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE printer) { ClosePrinter(printer); }
};
struct Kernel
{
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct LocalBlock
{
    static HLOCAL Empty() { return nullptr; }
    static void Close(HLOCAL block) { LocalFree(block); }
};
struct Internet
{
    static HINTERNET Empty() { return nullptr; }
    static void Close(HINTERNET handle) { InternetCloseHandle(handle); }
};
struct GdiObject
{
    static HGDIOBJ Empty() { return nullptr; }
    static void Close(HGDIOBJ object) { DeleteObject(object); }
};
struct Module
{
    static HMODULE Empty() { return nullptr; }
    static void Close(HMODULE module) { FreeLibrary(module); }
};
} // namespace scoped_kinds

// A registry key from RegOpenKeyExW or RegCreateKeyExW.
using ScopedRegKey = ScopedHandle<HKEY, scoped_kinds::RegKey>;
// A printer handle from OpenPrinterW.
using ScopedPrinter = ScopedHandle<HANDLE, scoped_kinds::Printer>;
// A kernel object handle (process, thread, file, event).
using ScopedKernelHandle = ScopedHandle<HANDLE, scoped_kinds::Kernel>;
// A block from LocalAlloc.
using ScopedLocalBlock = ScopedHandle<HLOCAL, scoped_kinds::LocalBlock>;
// A WinINet session, connection or request.
using ScopedInternet = ScopedHandle<HINTERNET, scoped_kinds::Internet>;
// A font, bitmap, brush or pen.
using ScopedGdiObject = ScopedHandle<HGDIOBJ, scoped_kinds::GdiObject>;
// A module from LoadLibraryW.
using ScopedModule = ScopedHandle<HMODULE, scoped_kinds::Module>;
