// The one walk over the machine's fonts that the font catalogue and the font
// page share.
#pragma once

#include <windows.h>

// Receives each face name once, in GDI's order.
using FontFaceSink = void (*)(const wchar_t* face, void* context);

// Enumerates every face in every character set of the screen and hands
// `sink` the TrueType faces (and the device faces when `withDeviceFonts`),
// leaving out vertical faces ("@...") and a face reported again right after
// itself: GDI reports a family once per character set, one after the other.
void EnumerateFontFaces(bool withDeviceFonts, FontFaceSink sink, void* context);
