#include "xp_paint.h"

#include <algorithm>
#include <cstdlib>

namespace kelvaro {

namespace {

int currentScheme = 1;

XpSchemeColours colours() { return xpSchemeColours(currentScheme); }

// The rest of the family around scheme 1's two colours.
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kCheckFrame = RGB(28, 81, 128);
constexpr COLORREF kCheckMark = RGB(33, 161, 33);
constexpr COLORREF kCheckMarkDisabled = RGB(202, 200, 187);
constexpr COLORREF kIndeterminateMark = RGB(115, 200, 115);
constexpr COLORREF kGroupFrame = RGB(208, 208, 191);
constexpr COLORREF kGroupCaption = RGB(0, 70, 213);

struct Gradient {
    COLORREF top;
    COLORREF bottom;
};

// Push-button faces, top to bottom.
constexpr Gradient kFaceNormal{RGB(255, 255, 255), RGB(236, 235, 230)};
constexpr Gradient kFaceHot{RGB(255, 255, 251), RGB(239, 234, 219)};
constexpr Gradient kFacePressed{RGB(205, 202, 194), RGB(240, 239, 234)};
constexpr Gradient kFaceChecked{RGB(227, 226, 219), RGB(250, 250, 247)};
constexpr COLORREF kFaceShadeNear = RGB(226, 223, 214);
constexpr COLORREF kFaceShadeLow = RGB(214, 208, 197);

// The two-pixel ring inside a hot or focused button's border, outermost line first.
struct Ring {
    COLORREF topOuter, topInner, bottomInner, bottomOuter;
};
constexpr Ring kRingHot{RGB(255, 240, 207), RGB(253, 216, 137), RGB(248, 179, 48), RGB(229, 151, 0)};
constexpr Ring kRingFocus{RGB(206, 231, 255), RGB(188, 212, 246), RGB(137, 173, 228),
                          RGB(105, 130, 238)};

// Check box and radio button interiors.
constexpr Gradient kBoxNormal{RGB(220, 220, 215), RGB(255, 255, 255)};
constexpr Gradient kBoxPressed{RGB(176, 176, 167), RGB(250, 250, 248)};
constexpr Gradient kBoxHotRing{RGB(255, 240, 207), RGB(248, 179, 48)};

// Arrow buttons of combo boxes and up-down controls.
struct ArrowLook {
    COLORREF border;
    Gradient face;
    COLORREF glyph;
};
constexpr ArrowLook kArrowNormal{RGB(186, 206, 247), {RGB(222, 233, 255), RGB(184, 205, 249)},
                                 RGB(77, 97, 133)};
constexpr ArrowLook kArrowHot{RGB(186, 206, 247), {RGB(243, 248, 255), RGB(205, 222, 255)},
                              RGB(77, 97, 133)};
constexpr ArrowLook kArrowPressed{RGB(150, 175, 235), {RGB(166, 187, 240), RGB(212, 224, 252)},
                                  RGB(45, 64, 102)};
constexpr ArrowLook kArrowDisabled{RGB(232, 232, 223), {RGB(244, 243, 238), RGB(244, 243, 238)},
                                   RGB(201, 199, 186)};

COLORREF mix(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

// A solid rectangle without creating a brush: an opaque empty text run.
void fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    if (right <= left || bottom <= top) return;
    RECT r{left, top, right, bottom};
    COLORREF old = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, "", 0, nullptr);
    SetBkColor(dc, old);
}

void fill(HDC dc, const RECT& r, COLORREF colour) { fill(dc, r.left, r.top, r.right, r.bottom, colour); }

void frame(HDC dc, const RECT& r, COLORREF colour) {
    fill(dc, r.left, r.top, r.right, r.top + 1, colour);
    fill(dc, r.left, r.bottom - 1, r.right, r.bottom, colour);
    fill(dc, r.left, r.top + 1, r.left + 1, r.bottom - 1, colour);
    fill(dc, r.right - 1, r.top + 1, r.right, r.bottom - 1, colour);
}

RECT inset(const RECT& r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

TRIVERTEX vertex(int x, int y, COLORREF c) {
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
    return v;
}

void gradient(HDC dc, const RECT& r, Gradient g) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    TRIVERTEX v[2] = {vertex(r.left, r.top, g.top), vertex(r.right, r.bottom, g.bottom)};
    GRADIENT_RECT mesh{0, 1};
    if (!GradientFill(dc, v, 2, &mesh, 1, GRADIENT_FILL_RECT_V)) fill(dc, r, mix(g.top, g.bottom));
}

// A one-pixel border with its corners cut off by one pixel, the cut softened.
void roundedBorder(HDC dc, const RECT& r, COLORREF border, COLORREF outside) {
    const int l = r.left, t = r.top, rt = r.right, b = r.bottom;
    fill(dc, l + 2, t, rt - 2, t + 1, border);
    fill(dc, l + 2, b - 1, rt - 2, b, border);
    fill(dc, l, t + 2, l + 1, b - 2, border);
    fill(dc, rt - 1, t + 2, rt, b - 2, border);
    for (POINT p : {POINT{l + 1, t + 1}, POINT{rt - 2, t + 1}, POINT{l + 1, b - 2}, POINT{rt - 2, b - 2}})
        SetPixelV(dc, p.x, p.y, border);
    const COLORREF soft = mix(border, outside);
    for (POINT p : {POINT{l + 1, t}, POINT{l, t + 1}, POINT{rt - 2, t}, POINT{rt - 1, t + 1},
                    POINT{l, b - 2}, POINT{l + 1, b - 1}, POINT{rt - 1, b - 2}, POINT{rt - 2, b - 1}})
        SetPixelV(dc, p.x, p.y, soft);
    for (POINT p : {POINT{l, t}, POINT{rt - 1, t}, POINT{l, b - 1}, POINT{rt - 1, b - 1}})
        SetPixelV(dc, p.x, p.y, outside);
}

void ring(HDC dc, const RECT& face, const Ring& c) {
    const int l = face.left, t = face.top, r = face.right, b = face.bottom;
    gradient(dc, RECT{l, t + 1, l + 2, b - 1}, Gradient{c.topInner, c.bottomInner});
    gradient(dc, RECT{r - 2, t + 1, r, b - 1}, Gradient{c.topInner, c.bottomInner});
    fill(dc, l + 1, t, r - 1, t + 1, c.topOuter);
    fill(dc, l + 2, t + 1, r - 2, t + 2, c.topInner);
    fill(dc, l + 2, b - 2, r - 2, b - 1, c.bottomInner);
    fill(dc, l + 1, b - 1, r - 1, b, c.bottomOuter);
}

// Keeps a DC's state (objects, colours, clipping) for the length of a scope.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDc() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int saved_;
};

// Deletes a GDI object at the end of its scope; declare it before the SavedDc
// that deselects it.
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ get() const { return object_; }

private:
    HGDIOBJ object_;
};

SIZE iconSize(HICON icon) {
    SIZE size{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return size;
    BITMAP bm{};
    if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bm, &bm)) {
        size = SIZE{bm.bmWidth, bm.bmHeight};
    } else if (info.hbmMask && GetObjectA(info.hbmMask, sizeof bm, &bm)) {
        size = SIZE{bm.bmWidth, bm.bmHeight / 2};
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

void drawLabel(HDC dc, RECT area, unsigned state, const XpButtonLabel& label) {
    if (state & kXpPressed) OffsetRect(&area, 1, 1);
    if (label.icon) {
        SIZE s = iconSize(label.icon);
        int x = (area.left + area.right - s.cx) / 2, y = (area.top + area.bottom - s.cy) / 2;
        DrawIconEx(dc, x, y, label.icon, s.cx, s.cy, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!label.text || !*label.text) return;
    if (label.font) SelectObject(dc, label.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (state & (kXpDisabled | kXpIndeterminate)) ? kXpDisabledText : kBlack);
    UINT format = label.format;
    if (!(format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) {
        // DrawText centres only single lines vertically; place wrapped text itself.
        RECT need = area;
        DrawTextA(dc, label.text, -1, &need, (format & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
        int height = need.bottom - need.top, room = area.bottom - area.top;
        int shift = (format & DT_BOTTOM) ? room - height : (room - height) / 2;
        if (shift > 0) area.top += shift;
        format &= ~(DT_VCENTER | DT_BOTTOM);
    }
    DrawTextA(dc, label.text, -1, &area, format);
}

// A chevron of two-pixel lines centred in r, half as wide as it may be up to 3.
void chevron(HDC dc, const RECT& r, XpArrow arrow, COLORREF colour) {
    const int room = std::min(r.right - r.left, r.bottom - r.top);
    const int half = std::max(1, std::min(3, (room - 4) / 2));
    const int cx = (r.left + r.right - 1) / 2, cy = (r.top + r.bottom - 1) / 2;
    const int depth = half + 2;  // the chevron's extent along the arrow
    for (int d = -half; d <= half; ++d) {
        const int along = half - std::abs(d);
        for (int thick = 0; thick < 2; ++thick) {
            const int step = along + thick - depth / 2;
            switch (arrow) {
                case XpArrow::down: SetPixelV(dc, cx + d, cy + step, colour); break;
                case XpArrow::up: SetPixelV(dc, cx + d, cy - step, colour); break;
                case XpArrow::right: SetPixelV(dc, cx + step, cy + d, colour); break;
                case XpArrow::left: SetPixelV(dc, cx - step, cy + d, colour); break;
            }
        }
    }
}

}  // namespace

XpSchemeColours xpSchemeColours(int) { return XpSchemeColours{RGB(123, 158, 189), RGB(0, 60, 115)}; }

void useXpScheme(int scheme) { currentScheme = scheme; }

COLORREF xpDisabledColour(COLORREF buttonFace) {
    auto darker = [](int channel) { return static_cast<BYTE>(std::max(0, channel - 0x20)); };
    return RGB(darker(GetRValue(buttonFace)), darker(GetGValue(buttonFace)), darker(GetBValue(buttonFace)));
}

COLORREF xpDisabledColour() { return xpDisabledColour(GetSysColor(COLOR_BTNFACE)); }

void paintXpPushButton(HDC dc, const RECT& rc, unsigned state, const XpButtonLabel& label,
                       COLORREF outside) {
    if (rc.right - rc.left < 6 || rc.bottom - rc.top < 6) return;
    SavedDc saved(dc);
    const bool disabled = state & kXpDisabled;
    const RECT face = inset(rc, 1);
    fill(dc, rc, outside);
    if (disabled) {
        fill(dc, face, kXpDisabledFace);
    } else if (state & kXpPressed) {
        gradient(dc, face, kFacePressed);
    } else {
        const bool hot = state & kXpMouseOver;
        const bool checked = !hot && (state & (kXpChecked | kXpIndeterminate));
        gradient(dc, face, hot ? kFaceHot : checked ? kFaceChecked : kFaceNormal);
        if (!checked) {
            fill(dc, face.left, face.bottom - 2, face.right, face.bottom - 1, kFaceShadeNear);
            fill(dc, face.left, face.bottom - 1, face.right, face.bottom, kFaceShadeLow);
        }
        if (hot)
            ring(dc, face, kRingHot);
        else if (!checked && (state & (kXpFocused | kXpDefaultButton)))
            ring(dc, face, kRingFocus);
    }
    roundedBorder(dc, rc, disabled ? xpDisabledColour() : colours().buttonBorder, outside);
    drawLabel(dc, RECT{rc.left + 3, rc.top + 2, rc.right - 3, rc.bottom - 2}, state, label);
    if ((state & kXpFocused) && !disabled) {
        RECT focus = inset(rc, 3);
        SetTextColor(dc, kBlack);
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
}

void paintXpFieldFrame(HDC dc, const RECT& rc, unsigned state) {
    const bool disabled = state & kXpDisabled;
    frame(dc, rc, disabled ? xpDisabledColour() : colours().frame);
    frame(dc, inset(rc, 1),
          GetSysColor((state & (kXpDisabled | kXpReadOnly)) ? COLOR_BTNFACE : COLOR_WINDOW));
}

void paintXpCheckBox(HDC dc, const RECT& box, unsigned state) {
    const bool disabled = state & kXpDisabled;
    const RECT inside = inset(box, 1);
    if (disabled) {
        fill(dc, inside, kXpDisabledFace);
    } else if (state & kXpPressed) {
        gradient(dc, inside, kBoxPressed);
    } else if (state & kXpMouseOver) {
        gradient(dc, inside, kBoxHotRing);
        gradient(dc, inset(box, 3), kBoxNormal);
    } else {
        gradient(dc, inside, kBoxNormal);
    }
    frame(dc, box, disabled ? xpDisabledColour() : kCheckFrame);

    const int cx = (box.left + box.right - 1) / 2, cy = (box.top + box.bottom - 1) / 2;
    if (state & kXpIndeterminate) {
        fill(dc, cx - 3, cy - 3, cx + 4, cy + 4, disabled ? kCheckMarkDisabled : kIndeterminateMark);
    } else if (state & kXpChecked) {
        // A tick seven pixels wide, its strokes three pixels high.
        const COLORREF mark = disabled ? kCheckMarkDisabled : kCheckMark;
        for (int i = 0; i < 7; ++i) {
            const int top = i <= 2 ? i + 2 : 6 - i;
            fill(dc, cx - 3 + i, cy - 3 + top, cx - 2 + i, cy + top, mark);
        }
    }
}

void paintXpRadioButton(HDC dc, const RECT& box, unsigned state) {
    const bool disabled = state & kXpDisabled;
    const COLORREF border = disabled ? xpDisabledColour() : kCheckFrame;
    {
        GdiObject round(CreateEllipticRgn(box.left, box.top, box.right + 1, box.bottom + 1));
        SavedDc saved(dc);
        ExtSelectClipRgn(dc, static_cast<HRGN>(round.get()), RGN_AND);
        if (disabled)
            fill(dc, box, kXpDisabledFace);
        else if (state & kXpPressed)
            gradient(dc, box, kBoxPressed);
        else if (state & kXpMouseOver) {
            gradient(dc, box, kBoxHotRing);
            GdiObject inner(CreateEllipticRgn(box.left + 3, box.top + 3, box.right - 2, box.bottom - 2));
            ExtSelectClipRgn(dc, static_cast<HRGN>(inner.get()), RGN_AND);
            gradient(dc, box, kBoxNormal);
        } else
            gradient(dc, box, kBoxNormal);
    }
    GdiObject pen(CreatePen(PS_SOLID, 1, border));
    GdiObject dot(CreateSolidBrush(disabled ? kCheckMarkDisabled : kCheckMark));
    GdiObject dotPen(CreatePen(PS_SOLID, 1, disabled ? kCheckMarkDisabled : kCheckMark));
    SavedDc saved(dc);
    SelectObject(dc, pen.get());
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    if (state & (kXpChecked | kXpIndeterminate)) {
        SelectObject(dc, dotPen.get());
        SelectObject(dc, dot.get());
        Ellipse(dc, box.left + 4, box.top + 4, box.right - 4, box.bottom - 4);
    }
}

void paintXpGroupBox(HDC dc, const RECT& rc, unsigned state, const char* text, HFONT font,
                     UINT align, COLORREF background) {
    SavedDc saved(dc);
    if (font) SelectObject(dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    const RECT box{rc.left, rc.top + tm.tmHeight / 2 - 1, rc.right, rc.bottom};
    if (box.right - box.left < 6 || box.bottom - box.top < 6) return;
    // The classic etched frame is two pixels wide; the look's is one.
    frame(dc, box, background);
    frame(dc, inset(box, 1), background);
    roundedBorder(dc, box, kGroupFrame, background);
    if (!text || !*text) return;

    RECT need{0, 0, 0, 0};
    DrawTextA(dc, text, -1, &need, DT_SINGLELINE | DT_CALCRECT);
    const int width = need.right - need.left;
    int left = rc.left + 8;
    if (align & DT_CENTER)
        left = rc.left + 7 + ((rc.right - rc.left - 14) - width) / 2;
    else if (align & DT_RIGHT)
        left = rc.right - 8 - width;
    fill(dc, left - 2, rc.top, left + width + 2, rc.top + tm.tmHeight + 1, background);
    RECT caption{left, rc.top, left + width, rc.top + tm.tmHeight};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (state & kXpDisabled) ? kXpDisabledText : kGroupCaption);
    DrawTextA(dc, text, -1, &caption, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOCLIP);
}

void paintXpArrowButton(HDC dc, const RECT& rc, unsigned state, XpArrow arrow) {
    if (rc.right - rc.left < 3 || rc.bottom - rc.top < 3) return;
    SavedDc saved(dc);
    IntersectClipRect(dc, rc.left, rc.top, rc.right, rc.bottom);
    const ArrowLook& look = (state & kXpDisabled)  ? kArrowDisabled
                            : (state & kXpPressed)   ? kArrowPressed
                            : (state & kXpMouseOver) ? kArrowHot
                                                     : kArrowNormal;
    gradient(dc, rc, look.face);
    roundedBorder(dc, rc, look.border, mix(look.border, look.face.top));
    chevron(dc, rc, arrow, look.glyph);
}

}  // namespace kelvaro
