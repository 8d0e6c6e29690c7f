// Lengths in the units the module shows and stores: millimetres, inches and
// points for paper sizes (an inch is 25.4 mm and 72 points), and page pixels
// at 96 per inch for the watermark preview. Every conversion between them is
// here.
#pragma once

#include <windows.h>

// Units in which the paper form dialogs show sizes (the settings record's
// dwPaperUnit holds the same numbers).
enum FormUnit : DWORD
{
    kUnitMillimetres = 0,
    kUnitInches = 1,
    kUnitPoints = 2
};

// `value` in unit `from` converted to unit `to` (FormUnit; any other value
// counts as points).
float ConvertLength(float value, DWORD from, DWORD to);

// One inch in `unit` (FormUnit; any other value counts as millimetres).
double OneInchIn(DWORD unit);

// Page pixels, 96 per inch.
constexpr float kPixelsPerInch = 96.0f;
float MillimetresToPixels(float millimetres);
// A GDI character height of `points` points in page pixels (truncated).
int PointsToPixels(int points);
