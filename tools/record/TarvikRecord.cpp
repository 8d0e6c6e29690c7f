// tarvik-record: reads, prints and writes the settings records of this
// driver for the renderer's developers. A record comes from a file, from a
// printer of this machine (the record its driver gives, DocumentPropertiesW
// with DM_OUT_BUFFER) or from the module's built-in defaults; fields are set
// from name=value arguments; the result is printed field by field (name,
// offset, width, whether it is the built-in value, value) and written to a
// file on request. A file that is not a record of this driver is refused
// before anything of it is used, and nothing past its end is read.
#include "RecordFieldTable.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cwchar>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

namespace
{
// The exit codes, one per kind of refusal, so that scripts can tell them apart.
enum ExitCode : int
{
    kExitOk = 0,
    kExitUsage = 1,
    kExitFile = 2,        // a file could not be opened, read or written
    kExitSize = 3,        // not 6312 bytes (empty, short, long)
    kExitPublicSize = 4,  // dmSize is not 220
    kExitPrivateSize = 5, // dmDriverExtra is not 6092
    kExitDeviceName = 6,  // dmDeviceName is not the expected printer name
    kExitFieldValue = 7,  // an unknown field or a value that does not fit
    kExitPrinter = 8      // the printer could not be opened or gave no record
};

const char kUsage[] = "usage: tarvik-record SOURCE [FIELD=VALUE ...] [--out FILE] [--device NAME]\n"
                      "  SOURCE is one of\n"
                      "    --file FILE       a record saved earlier (exactly 6312 bytes)\n"
                      "    --printer NAME    the record the driver gives for that printer\n"
                      "    --default         the module's built-in record\n"
                      "  FIELD=VALUE         sets a field (numbers decimal or 0x..., texts bare or\n"
                      "                      quoted as printed, padding as hexadecimal digits)\n"
                      "  --out FILE          writes the resulting record to FILE\n"
                      "  --device NAME       the device name a record file must carry (default \"Tarvik\")\n"
                      "The record is printed field by field: name, offset, width in bytes,\n"
                      "whether the field holds the built-in value, and the value.\n"
                      "Exit codes: 0 done, 1 usage, 2 file error, 3 wrong size, 4 wrong dmSize,\n"
                      "5 wrong dmDriverExtra, 6 wrong device name, 7 bad field or value, 8 printer error.\n";

using Record = std::vector<unsigned char>;

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

struct PrinterCloser
{
    void operator()(HANDLE printer) const { ClosePrinter(printer); }
};
using Printer = std::unique_ptr<std::remove_pointer_t<HANDLE>, PrinterCloser>;

int Refuse(int code, const std::string& message)
{
    std::fprintf(stderr, "tarvik-record: %s\n", message.c_str());
    return code;
}

std::string Quoted(const std::wstring& text)
{
    return "\"" + recordfields::Utf8(text) + "\"";
}

// Reads at most one byte more than a record, so that a longer file is told
// from a whole one without reading the rest of it.
int ReadRecordFile(const std::wstring& path, Record* record)
{
    File file(_wfopen(path.c_str(), L"rb"));
    if (!file)
        return Refuse(kExitFile, "cannot open " + Quoted(path) + " for reading");
    std::vector<unsigned char> bytes(kRecordSize + 1);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get()))
        return Refuse(kExitFile, "cannot read " + Quoted(path));
    const std::string what = Quoted(path) + " is not a settings record of this driver: ";
    if (got == 0)
        return Refuse(kExitSize, what + "it is empty; a record is " + std::to_string(kRecordSize) + " bytes");
    if (got < kRecordSize)
        return Refuse(kExitSize,
                      what + "it has " + std::to_string(got) + " bytes; a record is " + std::to_string(kRecordSize));
    if (got > kRecordSize)
        return Refuse(kExitSize, what + "it is longer than a record's " + std::to_string(kRecordSize) + " bytes");
    bytes.resize(kRecordSize);
    record->swap(bytes);
    return kExitOk;
}

// The sizes in the header, and the device name when `deviceName` is given.
int CheckRecord(const std::string& source, const Record& bytes, const wchar_t* deviceName)
{
    const auto& record = *reinterpret_cast<const TARVIK_DEVMODE*>(bytes.data());
    const std::string what = source + " is not a settings record of this driver: ";
    if (record.dmSize != kPublicSize)
        return Refuse(kExitPublicSize,
                      what + "dmSize is " + std::to_string(record.dmSize) + ", not " + std::to_string(kPublicSize));
    if (record.dmDriverExtra != kPrivateSize)
        return Refuse(kExitPrivateSize, what + "dmDriverExtra is " + std::to_string(record.dmDriverExtra) + ", not " +
                                            std::to_string(kPrivateSize));
    if (!deviceName)
        return kExitOk;
    const std::wstring name(record.dmDeviceName, wcsnlen(record.dmDeviceName, std::size(record.dmDeviceName)));
    if (name.size() == std::size(record.dmDeviceName))
        return Refuse(kExitDeviceName, what + "dmDeviceName does not end within its " +
                                           std::to_string(std::size(record.dmDeviceName)) + " characters");
    if (name != deviceName)
        return Refuse(kExitDeviceName, what + "dmDeviceName is " + Quoted(name) + ", not " + Quoted(deviceName) +
                                           " (--device NAME reads the records of a printer named otherwise)");
    return kExitOk;
}

int ReadPrinterRecord(const std::wstring& name, Record* record)
{
    HANDLE handle = nullptr;
    std::vector<wchar_t> printerName(name.begin(), name.end());
    printerName.push_back(L'\0'); // the spooler takes the name writable
    if (!OpenPrinterW(printerName.data(), &handle, nullptr))
        return Refuse(kExitPrinter,
                      "cannot open the printer " + Quoted(name) + ": error " + std::to_string(GetLastError()));
    const Printer printer(handle);
    const LONG size = DocumentPropertiesW(nullptr, handle, printerName.data(), nullptr, nullptr, 0);
    if (size <= 0)
        return Refuse(kExitPrinter,
                      "the driver of " + Quoted(name) + " gives no record: error " + std::to_string(GetLastError()));
    if (static_cast<DWORD>(size) != kRecordSize)
        return Refuse(kExitSize, "the driver of " + Quoted(name) + " gives records of " + std::to_string(size) +
                                     " bytes, not " + std::to_string(kRecordSize) + ": not this driver");
    Record bytes(kRecordSize);
    if (DocumentPropertiesW(nullptr, handle, printerName.data(), reinterpret_cast<DEVMODEW*>(bytes.data()), nullptr,
                            DM_OUT_BUFFER) != IDOK)
        return Refuse(kExitPrinter, "the driver of " + Quoted(name) + " did not fill the record: error " +
                                        std::to_string(GetLastError()));
    record->swap(bytes);
    return kExitOk;
}

int SetField(const std::wstring& assignment, Record* record)
{
    const size_t equals = assignment.find(L'=');
    const std::string name = recordfields::Utf8(assignment.substr(0, equals));
    const recordfields::RecordField* field = recordfields::FindField(name);
    if (!field)
        return Refuse(kExitFieldValue, "no field is called \"" + name + "\" (the listing names every field)");
    const std::string problem = recordfields::SetFieldValue(*field, assignment.substr(equals + 1), record->data());
    if (!problem.empty())
        return Refuse(kExitFieldValue, recordfields::Utf8(assignment) + ": " + problem);
    return kExitOk;
}

int WriteRecordFile(const std::wstring& path, const Record& record)
{
    File file(_wfopen(path.c_str(), L"wb"));
    if (!file || std::fwrite(record.data(), 1, record.size(), file.get()) != record.size())
        return Refuse(kExitFile, "cannot write " + Quoted(path));
    if (std::fclose(file.release()) != 0)
        return Refuse(kExitFile, "cannot write " + Quoted(path));
    return kExitOk;
}

void PrintRecord(const std::string& source, const Record& record)
{
    TARVIK_DEVMODE builtIn;
    SetDefaultRecord(TARVIK_PRODUCT_NAME, &builtIn);
    const auto* defaults = reinterpret_cast<const unsigned char*>(&builtIn);
    std::printf("Settings record from %s (%lu bytes)\n", source.c_str(), static_cast<unsigned long>(record.size()));
    std::printf("%-24s %6s %5s  %-7s  %s\n", "field", "offset", "width", "default", "value");
    for (const recordfields::RecordField& field : recordfields::RecordFields())
    {
        const std::string value = recordfields::FieldValue(field, record.data());
        const bool isDefault = value == recordfields::FieldValue(field, defaults);
        std::printf("%-24s %6u %5u  %-7s  %s\n", field.name, field.offset, field.size, isDefault ? "yes" : "no",
                    value.c_str());
    }
}

enum class Source
{
    None,
    File,
    Printer,
    BuiltIn
};

int Run(int argc, wchar_t** argv)
{
    Source source = Source::None;
    std::wstring from, out, device = TARVIK_PRODUCT_NAME;
    std::vector<std::wstring> assignments;
    for (int i = 1; i < argc; ++i)
    {
        const std::wstring arg = argv[i];
        const Source named = arg == L"--file"      ? Source::File
                             : arg == L"--printer" ? Source::Printer
                             : arg == L"--default" ? Source::BuiltIn
                                                   : Source::None;
        const bool takesValue =
            named == Source::File || named == Source::Printer || arg == L"--out" || arg == L"--device";
        if (takesValue && i + 1 == argc)
            return Refuse(kExitUsage, "no value after " + Quoted(arg) + "\n" + kUsage);
        if (named != Source::None && source != Source::None)
            return Refuse(kExitUsage, std::string("give one source: --file, --printer or --default\n") + kUsage);
        if (named != Source::None)
        {
            source = named;
            if (takesValue)
                from = argv[++i];
        }
        else if (arg == L"--out")
            out = argv[++i];
        else if (arg == L"--device")
            device = argv[++i];
        else if (arg == L"--help" || arg == L"-h" || arg == L"/?")
        {
            std::fputs(kUsage, stdout);
            return kExitOk;
        }
        else if (arg.find(L'=') != std::wstring::npos && arg.rfind(L"--", 0) != 0)
            assignments.push_back(arg);
        else
            return Refuse(kExitUsage, "unexpected argument " + Quoted(arg) + "\n" + kUsage);
    }

    Record record(kRecordSize);
    std::string name = "the built-in defaults";
    int code = kExitOk;
    if (source == Source::None)
        return Refuse(kExitUsage, std::string("give one source: --file, --printer or --default\n") + kUsage);
    if (source == Source::BuiltIn)
        SetDefaultRecord(TARVIK_PRODUCT_NAME, reinterpret_cast<TARVIK_DEVMODE*>(record.data()));
    else if (source == Source::File)
    {
        name = Quoted(from);
        code = ReadRecordFile(from, &record);
        if (code == kExitOk)
            code = CheckRecord(name, record, device.c_str());
    }
    else
    {
        name = "the printer " + Quoted(from);
        code = ReadPrinterRecord(from, &record);
        if (code == kExitOk)
            code = CheckRecord(name, record, nullptr);
    }
    for (size_t i = 0; code == kExitOk && i < assignments.size(); ++i)
        code = SetField(assignments[i], &record);
    if (code != kExitOk)
        return code;
    PrintRecord(name, record);
    return out.empty() ? kExitOk : WriteRecordFile(out, record);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    // Texts are printed in UTF-8; a console shows them so once told.
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode))
        SetConsoleOutputCP(CP_UTF8);
    try
    {
        return Run(argc, argv);
    }
    catch (const std::bad_alloc&)
    {
        return Refuse(kExitFile, "out of memory");
    }
}
