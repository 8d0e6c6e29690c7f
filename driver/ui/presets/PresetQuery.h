// How the pages of one sheet exchange the preset fields. The settings row on
// the paper page asks every page that has a window, through the sheet's
// PSM_QUERYSIBLINGS (code kPresetQueryTag, data a PRESET_QUERY), what it
// shows or to show a preset; a page that has no window yet is represented by
// the working record it will read when it gets one. A page answers only for
// the groups it edits.
#pragma once

#include "presets/PresetFields.h"

#include <windows.h>

constexpr WPARAM kPresetQueryTag = 0x54505251;

enum PresetQueryOp
{
    kPresetRead,        // write the fields the page shows into `fields`
    kPresetShow,        // show `fields` (and encryption off when asked)
    kPresetRecordHolds, // answered 1 by the row when the record holds a chosen preset's image fields
};

struct PRESET_QUERY
{
    PresetQueryOp op;
    PRESET_FIELDS fields;
    DWORD groups;       // the groups of pages that answered (PresetGroup)
    bool security;      // the security page answered
    bool encrypted;     // kPresetRead: the security page shows an encryption level
    bool encryptionOff; // kPresetShow: turn the encryption level to none
};

// The preset query a sibling query (`code`, `data`) carries, or null.
inline PRESET_QUERY* AsPresetQuery(WPARAM code, LPARAM data)
{
    return code == kPresetQueryTag ? reinterpret_cast<PRESET_QUERY*>(data) : nullptr;
}
