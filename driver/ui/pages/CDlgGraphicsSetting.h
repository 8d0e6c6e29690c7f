// The graphics page: how the images of the PDF file are compressed, for
// three classes of images (1 colour and grayscale, 2 indexed colour, 3 black
// and white). Each class has a compression and a quality level; the quality
// list follows the compression. The downsampling controls exist in the
// template but stay hidden, so Apply stores their neutral values unless a
// preset that downsamples was chosen: its values are then in the hidden
// controls.
#pragma once

#include "presets/PresetQuery.h"
#include "sheet/CDlgPropSheetPage.h"

class CDlgGraphicsSetting : public CDlgPropSheetPage
{
  public:
    static constexpr int kClassCount = 3;
    // Compression values of the record.
    static constexpr DWORD kZip = 1;
    static constexpr DWORD kJpeg = 2;

    DWORD Apply() override;
    int Validate(HWND /*hDlg*/) override { return 1; }

    // One entry of a quality list: its text (string ID) and its value.
    struct QualityItem
    {
        UINT textId;
        DWORD value;
    };
    // The quality list of image class `imageClass` (1 to 3) under
    // `compression`: ZIP's three levels for every class, JPEG's five (best
    // first) for class 1 only; none otherwise. Returns the entry count.
    static size_t QualityItems(int imageClass, DWORD compression, const QualityItem** items);
    // The position that list selects for the stored `quality`.
    static int QualityPosition(DWORD compression, DWORD quality);
    // Keeps only the decimal digits of `text`, in their order; returns where
    // the caret at `caret` stands in the filtered text.
    static int KeepDigits(wchar_t* text, int caret);

    HWND m_hCompression[kClassCount] = {};
    HWND m_hQuality[kClassCount] = {};
    HWND m_hDownsample[kClassCount] = {};
    HWND m_hResolution[kClassCount] = {};
    HWND m_hMethod[kClassCount] = {};

  protected:
    void OnInitDialog() override;
    void OnCommand(WORD controlId, WORD notifyCode, HWND control) override;
    LRESULT OnQueryPages(WPARAM code, LPARAM data) override;

  private:
    // Refills the quality list of class `index` + 1 for its compression and
    // selects `quality` in it.
    void _RebuildQuality(int index, DWORD quality);
    void _RebuildQuality(int index);
    // Shows one image class of a preset, the hidden downsampling controls
    // included, so that Apply stores it.
    void _ShowImageClass(int index, const PRESET_IMAGE_CLASS& image);
    void _ShowDownsampling(int index, const PRESET_IMAGE_CLASS& image);
    PRESET_IMAGE_CLASS _ShownImageClass(int index) const;
    void _FilterDigits(int index);
};
