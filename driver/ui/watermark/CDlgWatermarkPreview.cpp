// The watermark preview dialog (no page opens it; only the tests and the main
// job reach it).
#include "watermark/CDlgWatermarkPreview.h"

#include "core/Globals.h"
#include "resource.h"

#include <cmath>
#include <iterator>

namespace
{
// An A4 sheet in tenths of a millimetre.
constexpr int kA4Width = 2100;
constexpr int kA4Length = 2970;
// The guides mark the area the diagonal text is fitted into.
constexpr int kFitMargin = 20;
constexpr int kAnchorMargin = 15;
// The stamp picture: a ring and a star on a background of the key colour.
constexpr int kStampPixels = 160;
constexpr COLORREF kStampKey = RGB(255, 0, 255);

// The stamp is drawn without smoothing: a blended edge pixel would no
// longer be the key colour and would show as a fringe.
Gdiplus::Bitmap* MakeStamp()
{
    auto* stamp = new Gdiplus::Bitmap(kStampPixels, kStampPixels, PixelFormat24bppRGB);
    if (!stamp || stamp->GetLastStatus() != Gdiplus::Ok)
    {
        delete stamp;
        return nullptr;
    }
    Gdiplus::Graphics graphics(stamp);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
    const Gdiplus::Color key(255, GetRValue(kStampKey), GetGValue(kStampKey), GetBValue(kStampKey));
    graphics.Clear(key);
    Gdiplus::SolidBrush ink(Gdiplus::Color(255, 200, 30, 30));
    Gdiplus::SolidBrush hole(key);
    graphics.FillEllipse(&ink, 4, 4, kStampPixels - 8, kStampPixels - 8);
    graphics.FillEllipse(&hole, 18, 18, kStampPixels - 36, kStampPixels - 36);
    Gdiplus::PointF star[10];
    const float centre = kStampPixels / 2.0f;
    for (int i = 0; i < 10; ++i)
    {
        const double radius = (i % 2 == 0) ? 52 : 21;
        const double angle = (i * 36 - 90) * 3.14159265358979323846 / 180;
        star[i] = Gdiplus::PointF(static_cast<Gdiplus::REAL>(centre + radius * std::cos(angle)),
                                  static_cast<Gdiplus::REAL>(centre + radius * std::sin(angle)));
    }
    graphics.FillPolygon(&ink, star, 10);
    return stamp;
}

void SetMargins(WATERMARK_ITEM* item, int margin)
{
    for (int& side : item->nMargin)
        side = margin;
}
} // namespace

CDlgWatermarkPreview::CDlgWatermarkPreview() : CModalDialog(IDD_WATERMARK_PREVIEW, L"CDlgWatermarkPreview")
{
    m_pStamp = MakeStamp();

    WATERMARK_ITEM& diagonal = m_items[0];
    diagonal.dwEnabled = 1;
    diagonal.dwKind = WATERMARK_KIND_TEXT;
    diagonal.nAngle = 45;
    diagonal.nOpacity = 50;
    SetMargins(&diagonal, kFitMargin);
    lstrcpynW(diagonal.szFaceName, L"Arial", static_cast<int>(std::size(diagonal.szFaceName)));
    diagonal.crColor = RGB(192, 0, 0);

    WATERMARK_ITEM& stamp = m_items[1];
    stamp.dwEnabled = 1;
    stamp.nAngle = 15;
    stamp.nOpacity = 85;
    stamp.dwLayout = WATERMARK_LAYOUT_ANCHOR;
    SetMargins(&stamp, kAnchorMargin);
    stamp.dwAnchor = 5;
    stamp.pPicture = m_pStamp;
    stamp.dwSizeUnit = WATERMARK_UNIT_MM;
    stamp.fWidth = stamp.fHeight = 40;
    stamp.dwColorKey = 1;
    stamp.crKeyColor = kStampKey;

    WATERMARK_ITEM& outlined = m_items[2];
    outlined.dwEnabled = 1;
    outlined.dwKind = WATERMARK_KIND_TEXT;
    outlined.nOpacity = 70;
    outlined.dwLayout = WATERMARK_LAYOUT_ANCHOR;
    SetMargins(&outlined, kAnchorMargin);
    outlined.dwAnchor = 2;
    lstrcpynW(outlined.szFaceName, L"Arial", static_cast<int>(std::size(outlined.szFaceName)));
    outlined.nFontSize = 60;
    outlined.dwStyle = WATERMARK_STYLE_BOLD;
    outlined.crColor = RGB(0, 70, 160);

    for (WATERMARK_ITEM& item : m_items)
        m_preview.AddItem(&item);
}

CDlgWatermarkPreview::~CDlgWatermarkPreview()
{
    delete m_pStamp;
}

BOOL CDlgWatermarkPreview::OnInitDialog()
{
    // The record's field keeps as much of each sample as it holds.
    lstrcpynW(m_items[0].szText, ResourceText(IDS_WATERMARK_SAMPLE_DIAGONAL).c_str(),
              static_cast<int>(std::size(m_items[0].szText)));
    lstrcpynW(m_items[2].szText, ResourceText(IDS_WATERMARK_SAMPLE_OUTLINED).c_str(),
              static_cast<int>(std::size(m_items[2].szText)));
    SetChecked(GetDlgItem(m_hWnd, IDC_WATERMARK_PORTRAIT), !m_bLandscape);
    SetChecked(GetDlgItem(m_hWnd, IDC_WATERMARK_LANDSCAPE), m_bLandscape);
    SetChecked(GetDlgItem(m_hWnd, IDC_WATERMARK_GUIDES), true);
    _ShowPage();
    return TRUE;
}

void CDlgWatermarkPreview::_ShowPage()
{
    // Attaching again re-sizes the control and the page for the new shape.
    m_preview.Attach(GetDlgItem(m_hWnd, IDC_WATERMARK_FRAME), GetDlgItem(m_hWnd, IDC_WATERMARK_PAGE),
                     m_bLandscape ? kA4Length : kA4Width, m_bLandscape ? kA4Width : kA4Length);
    _ShowGuides();
    m_preview.Refresh();
}

void CDlgWatermarkPreview::_ShowGuides()
{
    const DWORD show = IsChecked(GetDlgItem(m_hWnd, IDC_WATERMARK_GUIDES)) ? 1 : 0;
    m_preview.SetGuides(show, kFitMargin, kFitMargin, kFitMargin, kFitMargin);
}

void CDlgWatermarkPreview::OnCommand(WORD controlId, WORD notifyCode)
{
    switch (controlId)
    {
    case IDC_WATERMARK_PORTRAIT:
    case IDC_WATERMARK_LANDSCAPE:
        if (notifyCode == BN_CLICKED && m_bLandscape != (controlId == IDC_WATERMARK_LANDSCAPE))
        {
            m_bLandscape = controlId == IDC_WATERMARK_LANDSCAPE;
            _ShowPage();
        }
        break;
    case IDC_WATERMARK_GUIDES:
        if (notifyCode == BN_CLICKED)
            _ShowGuides();
        break;
    case IDOK:
    case IDCANCEL:
        EndDialog(m_hWnd, controlId);
        break;
    default:
        break;
    }
}
