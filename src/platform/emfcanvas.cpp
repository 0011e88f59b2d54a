// Enhanced metafile recording. Records are built with libUEMF and collected in memory; the
// header (sizes, record and handle counts, bounds) is written when the picture completes.
// Pens, brushes and fonts live in fixed handle slots: two per kind, so that a new object can be
// created and selected before the previous one is deleted.

#include "platform/emfcanvas.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/cp1252.h"
#include "platform/rastercanvas.h"

extern "C" {
#include <uemf.h>
}

namespace zeigora {

namespace {

// The screen as reference device: 96 pixels per inch.
constexpr int DeviceWidth = 1920, DeviceHeight = 1440;  // 508 mm x 381 mm
constexpr int DeviceWidthMm = 508, DeviceHeightMm = 381;
constexpr std::uint32_t PenSlots[2] = {1, 2}, BrushSlots[2] = {3, 4}, FontSlots[2] = {5, 6};

U_COLORREF ColorRef(TColor c) {
    return U_RGB(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

U_POINTL Pt(int x, int y) {
    return point32_set(x, y);
}

U_RECTL Rect(int l, int t, int r, int b) {
    return rectl_set(Pt(l, t), Pt(r, b));
}

// What a drawing needs selected; compared with what is selected.
struct TPenKey {
    int Style = -1, Width = 0;
    TColor Color = 0;
    bool operator==(const TPenKey&) const = default;
};
struct TBrushKey {
    bool Solid = false;
    TColor Color = 0;
    bool operator==(const TBrushKey&) const = default;
};
struct TFontKey {
    std::string Name;
    int PixelSize = 0;
    bool Bold = false;
    bool operator==(const TFontKey&) const = default;
};

// One kind of object with its two slots.
struct TSlotPair {
    const std::uint32_t* Slots;
    int Current = -1;  // index into Slots of the selected created object, -1: stock object
    bool Valid = false;
};

}  // namespace

struct TEmfCanvas::TState {
    std::vector<char> Body;
    std::uint32_t Records = 0;
    std::uint32_t HighestSlot = 0;
    bool HasBounds = false;
    U_RECTL Bounds{};
    TSlotPair Pen{PenSlots}, Brush{BrushSlots}, Font{FontSlots};
    TPenKey PenKey;
    TBrushKey BrushKey;
    TFontKey FontKey;
    int BkMode = 0;
    TColor BkColor = 0, TextColor = 0;
    bool BkColorValid = false, TextColorValid = false;

    void Append(char* record) {
        if (!record) return;
        const auto* emr = reinterpret_cast<const U_EMR*>(record);
        Body.insert(Body.end(), record, record + emr->nSize);
        ++Records;
        std::free(record);
    }

    void Include(int l, int t, int r, int b) {
        if (r < l || b < t) return;
        if (!HasBounds) {
            Bounds = Rect(l, t, r, b);
            HasBounds = true;
            return;
        }
        Bounds.left = std::min(Bounds.left, l);
        Bounds.top = std::min(Bounds.top, t);
        Bounds.right = std::max(Bounds.right, r);
        Bounds.bottom = std::max(Bounds.bottom, b);
    }

    // Selects a stock object and deletes the created one it replaces.
    void SelectStock(TSlotPair& pair, std::uint32_t stock) {
        Append(U_EMRSELECTOBJECT_set(stock));
        DeleteOld(pair, pair.Current);
        pair.Current = -1;
    }

    // Creates a new object in the free slot, selects it and deletes the one it replaces.
    void SelectCreated(TSlotPair& pair, char* (*create)(std::uint32_t, const void*),
                       const void* key) {
        const int old = pair.Current, slot = old == 0 ? 1 : 0;
        Append(create(pair.Slots[slot], key));
        Append(U_EMRSELECTOBJECT_set(pair.Slots[slot]));
        HighestSlot = std::max(HighestSlot, pair.Slots[slot]);
        DeleteOld(pair, old);
        pair.Current = slot;
    }

    void DeleteOld(TSlotPair& pair, int old) {
        if (old >= 0) Append(U_EMRDELETEOBJECT_set(pair.Slots[old]));
        pair.Valid = true;
    }

    void SelectPen(const TPenKey& key) {
        if (Pen.Valid && key == PenKey) return;
        PenKey = key;
        if (key.Style == psClear)
            SelectStock(Pen, U_NULL_PEN);
        else
            SelectCreated(Pen, CreatePen, &key);
    }

    static char* CreatePen(std::uint32_t slot, const void* k) {
        const TPenKey& key = *static_cast<const TPenKey*>(k);
        if (key.Width <= 1 && key.Style == psSolid) {
            U_POINT width{1, 0};
            return U_EMRCREATEPEN_set(slot, logpen_set(U_PS_SOLID, width, ColorRef(key.Color)));
        }
        // Geometric pens: readers honour their width and dashes. Wide pens draw solid; a
        // one-pixel dashed pen names the classic pattern by its style code (same numbers as
        // ours), which readers know better than an explicit user style.
        std::uint32_t style = U_PS_GEOMETRIC | U_PS_SOLID | U_PS_ENDCAP_ROUND | U_PS_JOIN_ROUND;
        if (key.Width <= 1)
            style = U_PS_GEOMETRIC | static_cast<std::uint32_t>(key.Style) | U_PS_ENDCAP_FLAT |
                    U_PS_JOIN_MITER;
        PU_EXTLOGPEN elp = extlogpen_set(style, std::max(1, key.Width), U_BS_SOLID,
                                         ColorRef(key.Color), 0, 0, nullptr);
        char* record = U_EMREXTCREATEPEN_set(slot, nullptr, 0, nullptr, elp);
        std::free(elp);
        return record;
    }

    void SelectBrush(const TBrushKey& key) {
        if (Brush.Valid && key == BrushKey) return;
        BrushKey = key;
        if (!key.Solid)
            SelectStock(Brush, U_NULL_BRUSH);
        else
            SelectCreated(Brush, CreateBrush, &key);
    }

    static char* CreateBrush(std::uint32_t slot, const void* k) {
        const TBrushKey& key = *static_cast<const TBrushKey*>(k);
        return U_EMRCREATEBRUSHINDIRECT_set(slot, logbrush_set(U_BS_SOLID, ColorRef(key.Color), 0));
    }

    void SelectFont(const TFontKey& key) {
        if (Font.Valid && key == FontKey) return;
        FontKey = key;
        SelectCreated(Font, CreateFont, &key);
    }

    static char* CreateFont(std::uint32_t slot, const void* k) {
        const TFontKey& key = *static_cast<const TFontKey*>(k);
        std::uint16_t face[U_LF_FACESIZE] = {};
        const QString name = QString::fromStdString(key.Name).left(U_LF_FACESIZE - 1);
        std::copy(name.utf16(), name.utf16() + name.size(), face);
        U_LOGFONT lf =
            logfont_set(-key.PixelSize, 0, 0, 0, key.Bold ? U_FW_BOLD : U_FW_NORMAL, 0, 0, 0,
                        U_ANSI_CHARSET, U_OUT_DEFAULT_PRECIS, U_CLIP_DEFAULT_PRECIS,
                        U_DEFAULT_QUALITY, U_DEFAULT_PITCH | U_FF_DONTCARE, face);
        return U_EMREXTCREATEFONTINDIRECTW_set(slot, reinterpret_cast<const char*>(&lf), nullptr);
    }

    // Background of dash gaps and text: the brush colour when solid, none when clear.
    void SelectBackground(const TBrushKey& brush) {
        const int mode = brush.Solid ? U_OPAQUE : U_TRANSPARENT;
        if (mode != BkMode) {
            Append(U_EMRSETBKMODE_set(mode));
            BkMode = mode;
        }
        if (brush.Solid && (!BkColorValid || BkColor != brush.Color)) {
            Append(U_EMRSETBKCOLOR_set(ColorRef(brush.Color)));
            BkColor = brush.Color;
            BkColorValid = true;
        }
    }

    void SelectTextColor(TColor c) {
        if (TextColorValid && TextColor == c) return;
        Append(U_EMRSETTEXTCOLOR_set(ColorRef(c)));
        TextColor = c;
        TextColorValid = true;
    }
};

namespace {

TPenKey PenOf(const TCanvas& c) {
    if (c.PenStyle() == psClear) return {psClear, 0, 0};
    const int width = std::max(1, c.PenWidth());
    // Like the raster canvas: wide pens and styles without a dash pattern draw solid.
    const bool dashed = c.PenStyle() >= psDash && c.PenStyle() <= psDashDotDot;
    const int style = width > 1 || !dashed ? psSolid : c.PenStyle();
    return {style, width, c.PenColor()};
}

TBrushKey BrushOf(const TCanvas& c) {
    return {c.BrushStyle() == TBrushStyle::Solid, c.BrushColor()};
}

void WriteU32(std::vector<char>& out, std::size_t at, std::uint32_t v) {
    std::memcpy(out.data() + at, &v, 4);
}

// The bounds of what was drawn, within the picture: lines and circles drawn past its edges
// would otherwise make readers shift the picture.
U_RECTL PictureBounds(bool drawn, const U_RECTL& bounds, int width, int height) {
    if (!drawn) return Rect(0, 0, -1, -1);
    const U_RECTL b = Rect(std::max(bounds.left, 0), std::max(bounds.top, 0),
                           std::min(bounds.right, width - 1), std::min(bounds.bottom, height - 1));
    return b.right < b.left || b.bottom < b.top ? Rect(0, 0, -1, -1) : b;
}

}  // namespace

TEmfCanvas::TEmfCanvas(int width, int height)
    : Width_(width), Height_(height), State_(std::make_unique<TState>()) {
    State_->Append(U_EMRSETMAPMODE_set(U_MM_TEXT));
    State_->Append(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT | U_TA_NOUPDATECP));
}

TEmfCanvas::~TEmfCanvas() = default;

void TEmfCanvas::DrawLine(TPoint from, TPoint to) {
    if (Finished()) return;
    const TPenKey pen = PenOf(*this);
    State_->SelectPen(pen);
    State_->SelectBackground(BrushOf(*this));
    State_->Append(U_EMRMOVETOEX_set(Pt(from.X, from.Y)));
    State_->Append(U_EMRLINETO_set(Pt(to.X, to.Y)));
    const int half = pen.Width / 2;
    State_->Include(std::min(from.X, to.X) - half, std::min(from.Y, to.Y) - half,
                    std::max(from.X, to.X) + half, std::max(from.Y, to.Y) + half);
}

void TEmfCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (Finished()) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right == left || bottom == top) return;
    State_->SelectPen(PenOf(*this));
    State_->SelectBrush(BrushOf(*this));
    State_->SelectBackground(BrushOf(*this));
    // Boxes are stored inclusive: the right column and bottom row stay out.
    State_->Append(U_EMRRECTANGLE_set(Rect(left, top, right - 1, bottom - 1)));
    State_->Include(left, top, right - 1, bottom - 1);
}

void TEmfCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (Finished()) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return;
    State_->SelectPen(PenOf(*this));
    State_->SelectBrush(BrushOf(*this));
    State_->SelectBackground(BrushOf(*this));
    State_->Append(U_EMRELLIPSE_set(Rect(left, top, right - 1, bottom - 1)));
    State_->Include(left, top, right - 1, bottom - 1);
}

void TEmfCanvas::TextOut(int x, int y, std::string_view text) {
    if (Finished() || text.empty()) return;
    const QFontMetrics& metrics = Fonts_.Metrics(*this);
    const QString s = FromCp1252(text);
    State_->SelectFont({FontName(), FontPixelSize(), FontBold()});
    State_->SelectTextColor(FontColor());
    State_->SelectBackground(BrushOf(*this));
    std::vector<std::uint32_t> dx;
    for (QChar ch : s)
        dx.push_back(static_cast<std::uint32_t>(metrics.horizontalAdvance(ch)));
    const U_RECTL box = Rect(x, y, x + metrics.horizontalAdvance(s) - 1, y + metrics.height() - 1);
    std::vector<std::uint16_t> utf16(s.utf16(), s.utf16() + s.size());
    char* emrtext = emrtext_set(Pt(x, y), static_cast<U_NUM_STR>(utf16.size()), 2, utf16.data(),
                                U_ETO_NONE, box, dx.data());
    // The scales map logical pixels to 0.01 mm at 96 dpi.
    const float scale = 2540.0f / 96.0f;
    State_->Append(U_EMREXTTEXTOUTW_set(box, U_GM_COMPATIBLE, scale, scale,
                                        reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
    State_->Include(box.left, box.top, box.right, box.bottom);
}

int TEmfCanvas::TextWidth(std::string_view text) const {
    return Fonts_.Metrics(*this).horizontalAdvance(FromCp1252(text));
}

int TEmfCanvas::TextHeight(std::string_view) const {
    return Fonts_.Metrics(*this).height();
}

TColor TEmfCanvas::GetPixel(int, int) const {
    return 0;
}

void TEmfCanvas::SetPixel(int x, int y, TColor c) {
    if (Finished()) return;
    c &= 0xFFFFFF;
    State_->SelectPen({psSolid, 1, c});
    State_->SelectBrush({true, c});
    State_->Append(U_EMRRECTANGLE_set(Rect(x, y, x, y)));
    State_->Include(x, y, x, y);
}

std::string TEmfCanvas::Complete() {
    TState& st = *State_;

    U_EMRHEADER header{};
    header.emr.iType = U_EMR_HEADER;
    header.emr.nSize = sizeof(U_EMRHEADER);
    header.rclBounds = PictureBounds(st.HasBounds, st.Bounds, Width_, Height_);
    header.rclFrame = Rect(0, 0, (Width_ * 2540 + 48) / 96, (Height_ * 2540 + 48) / 96);
    header.dSignature = U_ENHMETA_SIGNATURE;
    header.nVersion = U_ENHMETA_VERSION;
    header.nHandles = static_cast<std::uint16_t>(st.HighestSlot + 1);
    header.szlDevice = sizel_set(DeviceWidth, DeviceHeight);
    header.szlMillimeters = sizel_set(DeviceWidthMm, DeviceHeightMm);
    header.szlMicrometers = sizel_set(DeviceWidthMm * 1000, DeviceHeightMm * 1000);

    // End of file: no palette, offset to the (empty) palette 16, then the record size again.
    const std::uint32_t eof[5] = {U_EMR_EOF, 20, 0, 16, 20};
    st.Body.insert(st.Body.end(), reinterpret_cast<const char*>(eof),
                   reinterpret_cast<const char*>(eof) + sizeof eof);
    ++st.Records;

    std::vector<char> file(sizeof header);
    std::memcpy(file.data(), &header, sizeof header);
    file.insert(file.end(), st.Body.begin(), st.Body.end());
    WriteU32(file, offsetof(U_EMRHEADER, nBytes), static_cast<std::uint32_t>(file.size()));
    WriteU32(file, offsetof(U_EMRHEADER, nRecords), st.Records + 1);

    return std::string(file.begin(), file.end());
}

}  // namespace zeigora
