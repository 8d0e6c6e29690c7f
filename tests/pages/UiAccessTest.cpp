// Every page of the sheet and both form dialogs, in the language and at the
// density of this run (ctest runs the program once for each): readable (no
// text cut, no overlaps, everything inside its window), complete by keyboard
// (Tab in reading order, mnemonics on every text, once, reaching their
// control, Enter and Esc in the dialogs) and named for a screen reader, all
// read off the live windows.
#include "PrinterTest.h"
#include "SheetSession.h"

#include "pages/CDlgOptionSetting.h"
#include "resource.h"

#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <map>

namespace
{
using namespace testhost;
using Offenders = std::vector<std::string>;

enum class Kind
{
    Text, // a static text
    Group,
    Push,
    Check,
    Radio,
    Field, // a control without a text of its own: edit, combo box, list
    Other
};

struct Control
{
    HWND window;
    Kind kind;
    std::wstring text;
    bool visible;
    RECT rect; // on the screen
};

Kind KindOf(HWND window)
{
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG type = style & BS_TYPEMASK;
    if (ClassIs(window, L"Button"))
        return type == BS_GROUPBOX                                    ? Kind::Group
               : type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON ? Kind::Radio
               : type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE
                   ? Kind::Check
                   : Kind::Push;
    if (ClassIs(window, L"Static"))
    {
        const LONG type = style & SS_TYPEMASK;
        return type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP ? Kind::Text : Kind::Other;
    }
    const wchar_t* const fields[] = {L"Edit", L"ComboBox", L"ListBox", WC_LISTVIEWW};
    return std::any_of(std::begin(fields), std::end(fields), [&](auto field) { return ClassIs(window, field); })
               ? Kind::Field
               : Kind::Other;
}

// The direct children of `surface` in their template (z) order.
std::vector<Control> Controls(HWND surface)
{
    std::vector<Control> controls;
    for (HWND child = GetWindow(surface, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        Control control = {child, KindOf(child), WindowText(child), IsWindowVisible(child) != FALSE, {}};
        GetWindowRect(child, &control.rect);
        controls.push_back(control);
    }
    return controls;
}

// A control as a report names it: by its text, else by class and ID.
std::string Name(HWND window)
{
    if (GetWindowTextLengthW(window) > 0)
        return "\"" + Utf8(WindowText(window)) + "\"";
    return Utf8(ClassOf(window)) + " " + std::to_string(GetDlgCtrlID(window));
}

// The extent of `text` drawn by `window` with its own font in `format`,
// wrapped at `width` when the format breaks words.
SIZE Extent(HWND window, const std::wstring& text, UINT format, int width = 0)
{
    HDC dc = GetDC(window);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
    RECT rect = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &rect, format | DT_CALCRECT | DT_EXPANDTABS);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return {rect.right, std::max<LONG>(rect.bottom, metrics.tmHeight)};
}

// What a control needs to show its whole text, by what draws it: a static
// wraps at its width; a box's text stands beside the box; a button's caption
// and a group's title keep margins; a combo box shows its widest item beside
// the drop arrow; an edit its line.
SIZE Needed(const Control& c, const RECT& client)
{
    const LONG style = GetWindowLongW(c.window, GWL_STYLE);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    const SIZE line = Extent(c.window, c.text, DT_SINGLELINE);
    switch (c.kind)
    {
    case Kind::Text:
        if ((style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP || (style & SS_TYPEMASK) == SS_SIMPLE)
            return line;
        return Extent(c.window, c.text, DT_WORDBREAK, client.right);
    case Kind::Check:
    case Kind::Radio: {
        SIZE size = Extent(c.window, c.text, style & BS_MULTILINE ? DT_WORDBREAK : DT_SINGLELINE, client.right);
        return {size.cx + GetSystemMetrics(SM_CXMENUCHECK) + 2 * edge, size.cy};
    }
    case Kind::Push:
        return {line.cx + 4 * edge, line.cy + 2 * edge};
    case Kind::Group:
        return {line.cx + 6 * edge, line.cy};
    case Kind::Field: {
        SIZE needed = Extent(c.window, L"Ag", DT_SINGLELINE);
        needed.cx = 0;
        if (!ClassIs(c.window, WC_COMBOBOXW))
            return needed; // an edit's or a list's text is the user's
        for (const std::wstring& item : Items(GetParent(c.window), GetDlgCtrlID(c.window)))
            needed.cx = std::max(needed.cx,
                                 Extent(c.window, item, DT_SINGLELINE).cx + GetSystemMetrics(SM_CXVSCROLL) + 2 * edge);
        return needed;
    }
    default:
        return {0, 0};
    }
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

Offenders Layout(HWND surface)
{
    Offenders offenders;
    RECT window;
    GetClientRect(surface, &window);
    MapWindowPoints(surface, nullptr, reinterpret_cast<POINT*>(&window), 2);
    std::vector<Control> shown = Controls(surface);
    shown.erase(std::remove_if(shown.begin(), shown.end(), [](const Control& c) { return !c.visible; }), shown.end());
    for (const Control& c : shown)
    {
        if (!Inside(c.rect, window))
            offenders.push_back("outside its window: " + Name(c.window));
        RECT client;
        GetClientRect(c.window, &client);
        const SIZE needed = Needed(c, client);
        if (needed.cx > client.right || needed.cy > client.bottom)
            offenders.push_back("cut: " + Name(c.window) + " needs " + std::to_string(needed.cx) + "x" +
                                std::to_string(needed.cy) + " pixels");
    }
    for (size_t i = 0; i < shown.size(); ++i)
    {
        for (size_t j = i + 1; j < shown.size(); ++j)
        {
            const Control &a = shown[i], &b = shown[j];
            RECT both;
            if (!IntersectRect(&both, &a.rect, &b.rect))
                continue;
            if (a.kind != Kind::Group && b.kind != Kind::Group)
                offenders.push_back("overlap: " + Name(a.window) + " and " + Name(b.window));
            // A group holds a control wholly below its title, or not at all.
            for (const auto& [group, held] : {std::pair(&a, &b), std::pair(&b, &a)})
            {
                RECT inside = group->rect;
                inside.top += Extent(group->window, group->text, DT_SINGLELINE).cy;
                if (group->kind == Kind::Group && !Inside(held->rect, inside) &&
                    !(held->kind == Kind::Group && Inside(group->rect, held->rect)))
                    offenders.push_back("cut by the group " + Name(group->window) + ": " + Name(held->window));
            }
        }
    }
    return offenders;
}

// The focus of the thread that owns `window`.
HWND Focus(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// The units that Tab stops at, each with the rectangle it covers: a control,
// or a group of radio buttons (known by its first).
std::map<HWND, RECT> Stops(const std::vector<Control>& controls)
{
    std::map<HWND, RECT> stops;
    HWND last = nullptr;
    for (size_t i = 0; i < controls.size(); ++i)
    {
        const Control& c = controls[i];
        const LONG style = GetWindowLongW(c.window, GWL_STYLE);
        if (!c.visible)
            continue;
        const bool groupStart = !(i > 0 && controls[i - 1].kind == Kind::Radio) || (style & WS_GROUP);
        if (c.kind == Kind::Radio && !groupStart)
            UnionRect(&stops[last], &stops[last], &c.rect);
        else if (c.kind == Kind::Radio || (style & WS_TABSTOP))
            stops[last = c.window] = c.rect;
    }
    return stops;
}

// The stop that holds `window` (a radio button stands for its group).
HWND StopOf(HWND surface, HWND window)
{
    if (!IsChild(surface, window))
        return nullptr;
    while (GetParent(window) != surface)
        window = GetParent(window);
    while (window && KindOf(window) == Kind::Radio && !(GetWindowLongW(window, GWL_STYLE) & WS_GROUP))
    {
        HWND before = GetWindow(window, GW_HWNDPREV);
        if (!before || KindOf(before) != Kind::Radio)
            break;
        window = before;
    }
    return window;
}

// Reading order: a block (a group box, or a control outside any) wholly
// above another, or beside it on the left, comes first; within a block the
// same holds for its controls.
bool Before(const RECT& a, const RECT& b)
{
    return a.bottom <= b.top || (a.top < b.bottom && b.top < a.bottom && a.right <= b.left);
}

RECT Block(const std::vector<Control>& controls, const RECT& rect)
{
    const POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    RECT block = {LONG_MIN, LONG_MIN, LONG_MAX, LONG_MAX}; // the innermost group holding the centre
    for (const Control& c : controls)
    {
        if (c.kind == Kind::Group && c.visible && PtInRect(&c.rect, centre) && Inside(c.rect, block))
            block = c.rect;
    }
    return block.left == LONG_MIN ? rect : block;
}

// A label: a static text right before a control without a text of its own,
// which it names (for a screen reader too) and whose focus its mnemonic sets.
bool LabelAt(const std::vector<Control>& controls, size_t i)
{
    return controls[i].kind == Kind::Text && i + 1 < controls.size() && controls[i + 1].kind == Kind::Field;
}

// Everything as if enabled: the keyboard reaches what a page's own rules
// enable in other states as well.
void EnableAll(HWND surface)
{
    for (HWND child = GetWindow(surface, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        EnableWindow(child, TRUE);
}

void Post(HWND surface, UINT message, WPARAM key)
{
    HWND focus = Focus(surface);
    PostMessageW(focus ? focus : surface, message, key, message == WM_SYSCHAR ? 1 << 29 : 0);
}

// A screen reader's name of a control, as the platform's accessibility
// interface gives it.
std::wstring AccessibleName(HWND window)
{
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))))
        return L"";
    VARIANT self = {}; // CHILDID_SELF
    self.vt = VT_I4;
    BSTR name = nullptr;
    const std::wstring text = SUCCEEDED(accessible->get_accName(self, &name)) && name ? name : L"";
    SysFreeString(name);
    accessible->Release();
    return text;
}

Offenders Keyboard(HWND surface, HWND context)
{
    Offenders offenders;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EnableAll(surface);
    const std::vector<Control> controls = Controls(surface);
    const bool dialog = context == surface;
    HWND park = dialog ? GetDlgItem(surface, IDCANCEL) : PropSheet_GetTabControl(context);
    const auto parkFocus = [&] { // outside the surface's own controls, or on its Cancel
        SendMessageW(context, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(park), TRUE);
        WaitFor([&] { return Focus(surface) == park; }, 5000);
    };

    // Tab from there until the focus leaves the controls or comes back: every
    // stop once, in reading order.
    std::vector<HWND> reached;
    parkFocus();
    for (int step = 0; step < 64; ++step)
    {
        HWND before = Focus(surface);
        Post(surface, WM_KEYDOWN, VK_TAB);
        if (!WaitFor([&] { return Focus(surface) != before; }, 5000))
        {
            offenders.push_back("Tab does not move on");
            break;
        }
        HWND stop = StopOf(surface, Focus(surface));
        if (!stop || stop == park)
            break;
        if (std::find(reached.begin(), reached.end(), stop) == reached.end())
            reached.push_back(stop);
    }
    if (dialog)
        reached.push_back(park);
    std::map<HWND, RECT> stops = Stops(controls);
    for (const auto& [first, rect] : stops)
    {
        if (std::find(reached.begin(), reached.end(), first) == reached.end())
            offenders.push_back("Tab never reaches " + Name(first));
    }
    for (size_t i = 0; i < reached.size(); ++i)
    {
        for (size_t j = i + 1; j < reached.size(); ++j)
        {
            const RECT a = stops[reached[i]], b = stops[reached[j]];
            const RECT blockA = Block(controls, a), blockB = Block(controls, b);
            if (EqualRect(&blockA, &blockB) ? Before(b, a) : Before(blockB, blockA))
                offenders.push_back("Tab reaches " + Name(reached[i]) + " before " + Name(reached[j]));
        }
    }

    // Every control takes the focus by Tab and has a name for a screen reader
    // (Wine 8 names an edit and a combo box by the static before it and a
    // button by its text, but not a list box or a list view: those by the
    // rule Windows names them by, a static right before); mnemonics on every
    // text a person acts on, once each with the host's own buttons around a page.
    std::map<wchar_t, std::string> letters; // the holders of each, after a space each
    for (const Control& button : dialog ? std::vector<Control>() : Controls(context))
    {
        if (button.visible && button.kind == Kind::Push && Mnemonic(button.text))
            letters[Mnemonic(button.text)] += " the sheet's " + Name(button.window);
    }
    for (size_t i = 0; i < controls.size(); ++i)
    {
        const Control& c = controls[i];
        const bool label = LabelAt(controls, i);
        const int id = GetDlgCtrlID(c.window);
        const bool acted = label || c.kind == Kind::Group || c.kind == Kind::Check || c.kind == Kind::Radio ||
                           (c.kind == Kind::Push && id != IDOK && id != IDCANCEL);
        const bool takesFocus = c.kind == Kind::Field || c.kind == Kind::Push || c.kind == Kind::Check;
        if (c.visible && takesFocus && !(GetWindowLongW(c.window, GWL_STYLE) & WS_TABSTOP))
            offenders.push_back("not a Tab stop: " + Name(c.window));
        if (c.visible && c.kind == Kind::Field && (i == 0 || controls[i - 1].kind != Kind::Text))
            offenders.push_back("no label right before " + Name(c.window));
        const bool named = c.kind == Kind::Text || c.kind == Kind::Group || c.kind == Kind::Other ||
                           !AccessibleName(c.window).empty() ||
                           (c.kind == Kind::Field && !ClassIs(c.window, L"Edit") && i > 0 &&
                            controls[i - 1].kind == Kind::Text && !controls[i - 1].text.empty());
        if (c.visible && !named)
            offenders.push_back("no accessible name: " + Name(c.window));
        if (!c.visible || c.text.empty() || !acted)
            continue;
        if (!Mnemonic(c.text))
            offenders.push_back("no mnemonic: " + Name(c.window));
        else if (!letters[Mnemonic(c.text)].empty())
            offenders.push_back("mnemonic repeats: " + Name(c.window) + " after" + letters[Mnemonic(c.text)]);
        letters[Mnemonic(c.text)] += " " + Name(c.window);
    }

    // Each mnemonic pressed (Alt and the letter) from outside: a label or a
    // group moves the focus to the control after it, a box to itself (push
    // buttons would act: their letters are only held unique above).
    for (size_t i = 0; i < controls.size(); ++i)
    {
        const Control& c = controls[i];
        const wchar_t letter = Mnemonic(c.text);
        if (!c.visible || !letter || c.kind == Kind::Push || c.kind == Kind::Other)
            continue;
        const bool label = LabelAt(controls, i);
        HWND expected = label ? controls[i + 1].window : c.window;
        const bool movesOn = !label && (c.kind == Kind::Text || c.kind == Kind::Group);
        for (size_t next = i + 1; movesOn && expected == c.window && next < controls.size(); ++next)
        {
            if (controls[next].visible &&
                (controls[next].kind == Kind::Radio || (GetWindowLongW(controls[next].window, GWL_STYLE) & WS_TABSTOP)))
                expected = controls[next].window;
        }
        std::vector<LRESULT> checks;
        for (const Control& b : controls)
            checks.push_back(SendMessageW(b.window, BM_GETCHECK, 0, 0));
        parkFocus();
        Post(surface, WM_SYSCHAR, towlower(letter));
        if (!WaitFor([&] { return StopOf(surface, Focus(surface)) == StopOf(surface, expected); }, 5000))
            offenders.push_back("Alt+" + Utf8(std::wstring(1, letter)) + " of " + Name(c.window) +
                                " moves the focus to " + Name(StopOf(surface, Focus(surface))) + ", not " +
                                Name(expected));
        // Boxes back as they were (a radio button by its checked fellow).
        for (size_t b = 0; b < controls.size(); ++b)
        {
            if (SendMessageW(controls[b].window, BM_GETCHECK, 0, 0) != checks[b] &&
                (controls[b].kind == Kind::Check || checks[b] == BST_CHECKED))
                SendMessageW(controls[b].window, BM_CLICK, 0, 0);
        }
        EnableAll(surface);
    }
    CoUninitialize();
    return offenders;
}

// Enter presses the default button, Esc cancels: the command each sends to
// the dialog, seen by a hook on the dialog's thread.
std::atomic<HWND> g_watched{nullptr};
std::atomic<int> g_command{0};

LRESULT CALLBACK SeeCommand(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_COMMAND && message->hwnd == g_watched.load() &&
        HIWORD(message->wParam) == BN_CLICKED)
        g_command = LOWORD(message->wParam);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

Offenders EnterAndEsc(HWND dialog, const std::function<HWND()>& reopen)
{
    Offenders offenders;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, SeeCommand, nullptr, GetWindowThreadProcessId(dialog, nullptr));
    const LRESULT defId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(defId) != DC_HASDEFID || LOWORD(defId) != IDOK)
        offenders.push_back("OK is not the default button");
    for (const auto& [key, command] : {std::pair(VK_ESCAPE, IDCANCEL), std::pair(VK_RETURN, IDOK)})
    {
        g_watched = dialog;
        g_command = 0;
        // From the first field: Enter on a push button would press that one.
        const std::vector<Control> controls = Controls(dialog);
        const auto field =
            std::find_if(controls.begin(), controls.end(), [](auto& c) { return c.kind == Kind::Field; });
        if (field != controls.end())
            SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field->window), TRUE);
        Post(dialog, WM_KEYDOWN, static_cast<WPARAM>(key));
        if (!WaitFor([&] { return g_command != 0; }, 5000) || g_command != command)
            offenders.push_back((key == VK_ESCAPE ? "Esc sends " : "Enter sends ") + std::to_string(g_command));
        if (key == VK_ESCAPE && WaitFor([&] { return !IsWindow(dialog); }, 5000))
            dialog = reopen();
    }
    UnhookWindowsHookEx(hook);
    // OK refuses what the fields hold (a box says why) or closes the dialog.
    const auto box = [] { return WaitForTopWindow(IsMessageBox, 0); };
    WaitFor([&] { return !IsWindow(dialog) || box(); }, 5000);
    if (box())
        AnswerMessageBox(IDOK, 5000);
    if (IsWindow(dialog))
        CloseWith(dialog, IDCANCEL);
    return offenders;
}

// The surfaces: a tab of the sheet by its title (the option page in a sheet
// of its own), or a dialog reached from it by clicking a button, then the
// next: the button and a control that tells the dialog opened.
struct Surface
{
    const char* name;
    UINT title;
    std::vector<int> steps; // button, control, button, control...
};
const Surface kSurfaces[] = {
    {"paper", IDS_TITLE_FORM, {}},
    {"fonts", IDS_TITLE_FONT, {}},
    {"graphics", IDS_TITLE_GRAPHICS, {}},
    {"document", IDS_TITLE_DOCINFO, {}},
    {"security", IDS_TITLE_SECURITY, {}},
    {"about", IDS_TITLE_INFO, {}},
    {"options", IDS_TITLE_OPTION, {}},
    {"favorites", IDS_TITLE_FORM, {IDC_FORM_FAVORITES, IDC_FAVORITE_LIST}},
    {"custom_form", IDS_TITLE_FORM, {IDC_FORM_FAVORITES, IDC_FAVORITE_LIST, IDC_FAVORITE_ADD, IDC_CUSTOM_FORM_NAME}},
    {"save_preset", IDS_TITLE_FORM, {IDC_PRESET_SAVE, IDC_PRESET_NAME}},
};

HWND OpenDialog(HWND parent, int button, int control)
{
    ClickOpening(parent, button);
    return WaitForTopWindow([&](HWND w) { return IsDialog(w) && GetDlgItem(w, control); });
}

class Surfaces : public PrinterTest, public testing::WithParamInterface<Surface>
{
  protected:
    static void SetUpTestSuite()
    {
        PrinterTest::SetUpTestSuite();
        // The session this run stands for: the density ctest asked for.
        const char* dpi = std::getenv("TARVIK_DPI");
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(dpi ? std::atoi(dpi) : 96, GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
    }

    // Every check on `surface`, shown in `context` (its sheet, or itself).
    static void CheckAll(HWND surface, HWND context, const std::function<HWND()>& reopen)
    {
        EXPECT_EQ(Offenders(), Layout(surface)) << "layout";
        EXPECT_EQ(Offenders(), Keyboard(surface, context)) << "keyboard and screen reader";
        EXPECT_EQ(Offenders(), reopen ? EnterAndEsc(surface, reopen) : Offenders()) << "Enter and Esc";
    }
};

TEST_P(Surfaces, ReadableByKeyboardAndNamed)
{
    const Surface& surface = GetParam();
    if (surface.title == IDS_TITLE_OPTION)
    {
        TARVIK_DEVMODE record = DefaultRecord();
        CDlgOptionSetting page;
        page.AttachRecord(nullptr, &record);
        RunPageSheet({&page}, IDD_OPTION_PAGE, IDS_TITLE_OPTION, [&](HWND sheet) {
            CheckAll(PropSheet_GetCurrentPageHwnd(sheet), sheet, nullptr);
            PropSheet_PressButton(sheet, PSBTN_CANCEL);
        });
        return;
    }
    RunSheet(
        m_printer, DefaultRecord(), surface.title,
        [&](const Sheet& s) {
            HWND parent = s.page, dialog = nullptr;
            std::function<HWND()> reopen;
            for (size_t i = 0; i < surface.steps.size(); i += 2)
            {
                reopen = [parent, step = &surface.steps[i]] { return OpenDialog(parent, step[0], step[1]); };
                parent = dialog = reopen();
                ASSERT_NE(nullptr, dialog);
            }
            CheckAll(dialog ? dialog : s.page, dialog ? dialog : s.window, reopen);
        },
        PSBTN_CANCEL);
}

INSTANTIATE_TEST_SUITE_P(Every, Surfaces, testing::ValuesIn(kSurfaces),
                         [](const testing::TestParamInfo<Surface>& info) { return std::string(info.param.name); });
} // namespace
