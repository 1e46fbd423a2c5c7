#include "app/window_builder.h"

#include "app/placement.h"
#include "app/window_classes.h"
#include "platform/text_codec.h"

namespace br {
namespace {

constexpr DWORD kCaptionFrame = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kNoFrame = WS_POPUP;
// A CJK character, for the height an edit box needs.
constexpr wchar_t kCjkSample[] = L"国";

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD extended_style;
};

ControlClass control_class(const ControlDefinition& control) {
    switch (control.kind) {
        case ControlKind::Button:
            return {L"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER, 0};
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | BS_LEFT | BS_VCENTER, 0};
        case ControlKind::Edit: {
            const DWORD align = control.align == TextAlign::Right    ? ES_RIGHT
                                : control.align == TextAlign::Centre ? ES_CENTER
                                                                     : ES_LEFT;
            return {L"EDIT", ES_AUTOHSCROLL | align, WS_EX_CLIENTEDGE};
        }
        case ControlKind::Label: return {kLabelClass, 0, 0};
        case ControlKind::Timer: return {kTimerClass, 0, 0};
    }
    return {kLabelClass, 0, 0};
}

}  // namespace

HWND create_frame(const WindowDefinition& definition, HWND owner, HINSTANCE instance, void* self) {
    const int left = centred(GetSystemMetrics(SM_CXSCREEN), definition.width);
    const int top = centred(GetSystemMetrics(SM_CYSCREEN), definition.height);
    const DWORD style = definition.frame == Frame::FixedCaption ? kCaptionFrame : kNoFrame;
    HWND window = CreateWindowExW(0, kWindowClass, to_wide(definition.title).c_str(), style, left,
                                  top, definition.width, definition.height, owner, nullptr,
                                  instance, self);
    if (!window) return nullptr;
    RECT outer;
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != definition.width || outer.bottom - outer.top != definition.height) {
        SetWindowPos(window, nullptr, left, top, definition.width, definition.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return window;
}

HWND create_control(const ControlDefinition& control, HWND parent, int id, HINSTANCE instance,
                    void* param) {
    const ControlClass kind = control_class(control);
    // Overlapping controls paint in their stacking order, the first on top.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
    if (control.tab_stop) style |= WS_TABSTOP;
    if (control.disabled) style |= WS_DISABLED;
    const Rect& r = control.rect;
    return CreateWindowExW(kind.extended_style, kind.name, to_wide(control.text).c_str(), style,
                           r.left, r.top, r.width, r.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, param);
}

Font create_control_font(const ControlDefinition& control) {
    if (control.font_height == 0 || control.kind == ControlKind::Timer) return Font();
    LOGFONTW font{};
    font.lfHeight = control.font_height;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    return Font(CreateFontIndirectW(&font));
}

void finish_edit(HWND edit) {
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    SendMessageW(edit, EM_SETSEL, 0, 0);

    RECT box;
    GetWindowRect(edit, &box);
    const int height = box.bottom - box.top;
    HDC dc = GetDC(edit);
    SIZE glyph{};
    {
        auto font = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
        ScopedSelect select(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
        GetTextExtentPoint32W(dc, kCjkSample, 1, &glyph);
    }
    ReleaseDC(edit, dc);
    const int needed = glyph.cy + 2 * GetSystemMetrics(SM_CYEDGE);
    if (height < needed) {
        SetWindowPos(edit, nullptr, 0, 0, box.right - box.left, needed,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    filter_typed_characters(edit);
}

}  // namespace br
