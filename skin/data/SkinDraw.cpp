// Skin drawing primitives over TBitmap and device contexts. Cells are
// rendered in memory (skin/portable/SkinCells) into a reused off-screen
// surface, or kept rendered for a loaded skin's strips, and reach the target
// with one BitBlt or one masked copy; opaque parts drawn into a plain memory
// DC are rendered straight into its pixels.
#include "skin/data/SkinDraw.h"

#include "skin/data/ImgUtilWin.h"
#include "skin/SkinApi.h"
#include "skin/data/SkinElements.h"
#include "classlib/Controls.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

TBitmap* ScratchBitmap = nullptr;

namespace {

// Large surfaces are not kept: their memory would stay for the program's life.
constexpr int64_t kKeptSurfacePixels = 1024 * 1024;
// Kept renderings: each holds a bitmap and its device context.
constexpr size_t kKeptRenderings = 32;
constexpr int64_t kKeptRenderingPixels = 256 * 1024;

struct TPartKey {
    const TBitmap* Strip;
    int Left, Top, Right, Bottom, Index, Count, Width, Height;
    bool Tile, Vertical;
    bool operator==(const TPartKey&) const = default;
};

struct TKeptPart {
    TPartKey Key;
    std::unique_ptr<TBitmap> Rendering;
    uint64_t LastUse;
    bool HoldsKey = true;  // has magenta pixels: only then is it copied masked
};

// Renderings of registered strips. Painting redraws the same cells at the same
// sizes (title bars, buttons, menu items), so most draws become one copy.
struct TPartCache {
    std::unordered_map<const TBitmap*, const void*> Strips;  // strip -> owner
    std::vector<TKeptPart> Parts;
    uint64_t Clock = 0;

    TKeptPart* Find(const TPartKey& Key)
    {
        for (TKeptPart& p : Parts)
            if (p.Key == Key) {
                p.LastUse = ++Clock;
                return &p;
            }
        return nullptr;
    }

    TKeptPart& Add(const TPartKey& Key)
    {
        if (Parts.size() >= kKeptRenderings) {
            const auto older = [](const TKeptPart& A, const TKeptPart& B) { return A.LastUse < B.LastUse; };
            Parts.erase(std::min_element(Parts.begin(), Parts.end(), older));
        }
        auto rendering = std::make_unique<TBitmap>();
        rendering->SetSize(Key.Width, Key.Height);
        Parts.push_back({Key, std::move(rendering), ++Clock});
        return Parts.back();
    }
};

// Null once the program's statics are going (skins freed later must not reach
// it). Not a member: a store to a member in its own destructor may be left out
// by the compiler, the object's life being over.
TPartCache* PartCache = new TPartCache;

struct TDrawUnit {
    TDrawUnit()
    {
        ScratchBitmap = new TBitmap;
        ::SetStretchBltMode(ScratchBitmap->Canvas()->Handle(), COLORONCOLOR);
    }
    ~TDrawUnit()
    {
        delete ScratchBitmap;
        ScratchBitmap = nullptr;
        delete Surface;
        delete PartCache;
        PartCache = nullptr;
    }
    TDrawUnit(const TDrawUnit&) = delete;
    TDrawUnit& operator=(const TDrawUnit&) = delete;

    // Off-screen surface of the primitives that render and then copy once;
    // only its top-left W x H pixels are used by one call.
    TBitmap* Surface = nullptr;
};

TDrawUnit DrawUnit;

// Whether any pixel of View has the colour Key (exactly, as the mask of a
// masked copy is made).
bool HoldsKey(const TImageView& View, TColor Key)
{
    const uint8_t r = Key & 0xFF, g = (Key >> 8) & 0xFF, b = (Key >> 16) & 0xFF;
    for (int y = 0; y < View.Height; ++y) {
        const uint8_t* p = View.Row(y);
        for (int x = 0; x < View.Width; ++x, p += View.BytesPerPixel)
            if (p[2] == r && p[1] == g && p[0] == b) return true;
    }
    return false;
}

// The kept rendering of a registered strip's cell at W x H, made on first
// use, with whether it holds magenta; null for strips no skin registered and
// for large targets.
TKeptPart* KeptPart(TBitmap& Strip, const TSkinRect& Margins, const TStripCell& Cell, int W, int H)
{
    TPartCache* cache = PartCache;
    if (cache == nullptr || static_cast<int64_t>(W) * H > kKeptRenderingPixels || !cache->Strips.contains(&Strip))
        return nullptr;
    const TPartKey key{&Strip, Margins.Left, Margins.Top, Margins.Right, Margins.Bottom, Cell.Index, Cell.Count, W, H,
                       Cell.Tile, Cell.Vertical};
    if (TKeptPart* kept = cache->Find(key)) return kept;
    TKeptPart& part = cache->Add(key);
    const TImageView rendering = PixelsOf(*part.Rendering);
    RenderNinePart(PixelsOf(Strip), rendering, Margins, Cell.Index, Cell.Count, Cell.Tile, Cell.Vertical);
    part.HoldsKey = HoldsKey(rendering, clKeyMagenta);
    return &part;
}

// The shared surface at least W x H (W, H > 0), or Own when it is too large to keep.
TBitmap& SurfaceFor(int W, int H, std::unique_ptr<TBitmap>& Own)
{
    TBitmap*& surface = DrawUnit.Surface;
    if (static_cast<int64_t>(W) * H > kKeptSurfacePixels) {
        Own = std::make_unique<TBitmap>();
        Own->SetSize(W, H);
        return *Own;
    }
    if (surface == nullptr) surface = new TBitmap;
    if (surface->Width() < W || surface->Height() < H)
        surface->SetSize(std::max(W, surface->Width()), std::max(H, surface->Height()));
    return *surface;
}

TImageView ViewOf(TBitmap& Bitmap, int W, int H)
{
    TImageView view = PixelsOf(Bitmap);
    view.Width = std::min(view.Width, W);
    view.Height = std::min(view.Height, H);
    return view;
}

// The masked copy of DrawTransparentBitmap, W x H from Bitmap's top-left
// corner; both within the bitmap.
void MaskedCopy(HDC DC, const RECT& Rect, int W, int H, TBitmap& Bitmap, TColor TransparentColour);

void CopyOut(HDC DC, const RECT& Rect, TBitmap& Source, bool Transparent)
{
    const int W = Rect.right - Rect.left, H = Rect.bottom - Rect.top;
    if (Transparent) DrawTransparentBitmap(DC, Rect, Source, clKeyMagenta);
    else ::BitBlt(DC, Rect.left, Rect.top, W, H, Source.Canvas()->Handle(), 0, 0, SRCCOPY);
}

// A kept rendering at Rect: masked only when it has magenta pixels.
void CopyOutKept(HDC DC, const RECT& Rect, TKeptPart& Part, bool Transparent)
{
    TBitmap& rendering = *Part.Rendering;
    const int W = std::min<int>(Rect.right - Rect.left, rendering.Width());
    const int H = std::min<int>(Rect.bottom - Rect.top, rendering.Height());
    if (Transparent && Part.HoldsKey) MaskedCopy(DC, Rect, W, H, rendering, clKeyMagenta);
    else ::BitBlt(DC, Rect.left, Rect.top, W, H, rendering.Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool Negative(const RECT& Rect)
{
    return Rect.right < Rect.left || Rect.bottom < Rect.top;
}

// The pixels at Rect of the DIB section selected into DC, when rendering
// there gives what a copy to DC would: a memory DC with no clipping, mirroring,
// mapping or origin, and Rect inside its bitmap. A composed window's back
// buffer is such a DC; its large parts then need no surface of their own.
bool DirectPixels(HDC DC, const RECT& Rect, TImageView& View)
{
    if (::GetObjectType(DC) != OBJ_MEMDC || ::GetLayout(DC) != 0 || ::GetMapMode(DC) != MM_TEXT ||
        ::GetGraphicsMode(DC) != GM_COMPATIBLE)
        return false;
    POINT viewport{}, window{};
    if (!::GetViewportOrgEx(DC, &viewport) || !::GetWindowOrgEx(DC, &window) || viewport.x != 0 || viewport.y != 0 ||
        window.x != 0 || window.y != 0)
        return false;
    DIBSECTION dib{};
    const auto bitmap = static_cast<HBITMAP>(::GetCurrentObject(DC, OBJ_BITMAP));
    if (::GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBits == nullptr ||
        dib.dsBmih.biCompression != BI_RGB || (dib.dsBm.bmBitsPixel != 24 && dib.dsBm.bmBitsPixel != 32))
        return false;
    if (Rect.left < 0 || Rect.top < 0 || Rect.right > dib.dsBm.bmWidth || Rect.bottom > dib.dsBm.bmHeight) return false;
    const HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
    const int clipped = clip != nullptr ? ::GetClipRgn(DC, clip) : -1;
    if (clip != nullptr) ::DeleteObject(clip);
    if (clipped != 0) return false;
    ::GdiFlush();
    const int bytes = dib.dsBm.bmBitsPixel / 8;
    const ptrdiff_t stride = dib.dsBm.bmWidthBytes;
    auto* bits = static_cast<uint8_t*>(dib.dsBm.bmBits);
    // Rows run bottom-up in a DIB of positive height.
    const bool bottomUp = dib.dsBmih.biHeight > 0;
    uint8_t* top = bottomUp ? bits + (dib.dsBm.bmHeight - 1 - Rect.top) * stride : bits + Rect.top * stride;
    View = TImageView{top + Rect.left * bytes, Rect.right - Rect.left, Rect.bottom - Rect.top,
                      bottomUp ? -stride : stride, bytes};
    return true;
}

void ImageToBitmap(const TImage& Image, TBitmap& Bitmap)
{
    Bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    Bitmap.SetSize(Image.Width(), Image.Height());
    if (Bitmap.Empty()) return;
    const TImageView view = PixelsOf(Bitmap);
    for (int y = 0; y < Image.Height(); ++y) std::memcpy(view.Row(y), Image.ScanLine(y), Image.Stride());
}

} // namespace

void KeepSkinPartRenderings(const void* Owner, std::span<const TBitmap* const> Strips)
{
    if (PartCache == nullptr) return;
    for (const TBitmap* strip : Strips)
        if (strip != nullptr) PartCache->Strips[strip] = Owner;
}

void DropSkinPartRenderings(const void* Owner)
{
    TPartCache* cache = PartCache;
    if (cache == nullptr) return;
    std::erase_if(cache->Parts, [&](const TKeptPart& P) {
        const auto s = cache->Strips.find(P.Key.Strip);
        return s != cache->Strips.end() && s->second == Owner;
    });
    std::erase_if(cache->Strips, [&](const auto& S) { return S.second == Owner; });
}

int KeptSkinPartRenderings()
{
    return PartCache != nullptr ? static_cast<int>(PartCache->Parts.size()) : 0;
}

TSkinRect MarginsOf(const TDataSkinObject& Element)
{
    return {Element.FLeftWidth, Element.FTopHeight, Element.FRightWidth, Element.FBottomHeight};
}

std::unique_ptr<TBitmap> CreateSkinPartBitmap(const RECT& Rect, TBitmap& Bitmap, const TSkinRect& Margins,
                                              const TStripCell& Cell)
{
    auto result = std::make_unique<TBitmap>();
    result->Canvas()->SetBrushColor(clKeyMagenta);
    result->SetSize(Rect.right - Rect.left, Rect.bottom - Rect.top);
    ::SetStretchBltMode(result->Canvas()->Handle(), COLORONCOLOR);
    if (!result->Empty() && !Bitmap.Empty())
        RenderNinePart(PixelsOf(Bitmap), PixelsOf(*result), Margins, Cell.Index, Cell.Count, Cell.Tile, Cell.Vertical);
    return result;
}

void DrawSkinPart(HDC DC, const RECT& Rect, TBitmap& Bitmap, const TSkinRect& Margins, const TStripCell& Cell)
{
    const int W = Rect.right - Rect.left, H = Rect.bottom - Rect.top;
    if (W <= 0 || H <= 0 || Bitmap.Empty()) return;
    TSkinCell geometry;
    if (!StripCell(Bitmap.Width(), Bitmap.Height(), Cell.Index, Cell.Count, Cell.Vertical, geometry)) return;
    if (TKeptPart* kept = KeptPart(Bitmap, Margins, Cell, W, H)) {
        CopyOutKept(DC, Rect, *kept, Cell.Transparent);
        return;
    }
    if (TImageView direct; !Cell.Transparent && DirectPixels(DC, Rect, direct)) {
        RenderNinePart(PixelsOf(Bitmap), direct, Margins, Cell.Index, Cell.Count, Cell.Tile, Cell.Vertical);
        return;
    }
    std::unique_ptr<TBitmap> own;
    TBitmap& surface = SurfaceFor(W, H, own);
    RenderNinePart(PixelsOf(Bitmap), ViewOf(surface, W, H), Margins, Cell.Index, Cell.Count, Cell.Tile, Cell.Vertical);
    CopyOut(DC, Rect, surface, Cell.Transparent);
}

void DrawSkinPartInto(TBitmap& Target, const RECT& Rect, TBitmap& Bitmap, const TSkinRect& Margins,
                      const TStripCell& Cell)
{
    const int W = Rect.right - Rect.left, H = Rect.bottom - Rect.top;
    TSkinCell geometry;
    if (W <= 0 || H <= 0 || Bitmap.Empty() || Target.Empty() ||
        !StripCell(Bitmap.Width(), Bitmap.Height(), Cell.Index, Cell.Count, Cell.Vertical, geometry))
        return;
    TImage part(W, H);
    RenderNinePart(PixelsOf(Bitmap), part.View(), Margins, Cell.Index, Cell.Count, Cell.Tile, Cell.Vertical);
    CopyPixels(part.View(), PixelsOf(Target), Rect.left, Rect.top, Cell.Transparent);
}

void DrawSkinCellCenteredInto(TBitmap& Target, const RECT& Rect, TBitmap& Bitmap, const TStripCell& Cell)
{
    TSkinCell c;
    if (Negative(Rect) || Bitmap.Empty() || Target.Empty() ||
        !StripCell(Bitmap.Width(), Bitmap.Height(), Cell.Index, Cell.Count, false, c))
        return;
    const int W = Rect.right - Rect.left, H = Rect.bottom - Rect.top;
    TImage cell(c.Width, c.Height);
    StretchPixels(PixelsOf(Bitmap), {c.X, c.Y, c.X + c.Width, c.Y + c.Height}, cell.View(), {0, 0, c.Width, c.Height});
    CopyPixels(cell.View(), PixelsOf(Target), Rect.left + (W - c.Width) / 2, Rect.top + (H - c.Height) / 2,
               Cell.Transparent);
}

void DrawSkinBar(TCanvas& Canvas, const RECT& Rect, TBitmap& Bitmap, const TSkinRect& Margins, const TStripCell& Cell)
{
    const int W = Rect.right - Rect.left, H = Rect.bottom - Rect.top;
    TSkinCell c;
    if (W <= 0 || H <= 0 || Bitmap.Empty() ||
        !StripCell(Bitmap.Width(), Bitmap.Height(), Cell.Index, Cell.Count, Cell.Vertical, c))
        return;
    const int mL = std::clamp(Margins.Left, 0, c.Width), mR = std::clamp(Margins.Right, 0, c.Width - mL);
    std::unique_ptr<TBitmap> own;
    TBitmap& surface = SurfaceFor(W, H, own);
    const TImageView strip = PixelsOf(Bitmap), target = ViewOf(surface, W, H);
    FillPixels(target, {0, 0, W, H}, clKeyMagenta);
    StretchPixels(strip, {c.X, c.Y, c.X + mL, c.Y + c.Height}, target, {0, 0, mL, H});
    // A cell without a middle leaves the space between the ends transparent.
    const int m = c.Width - mL - mR;
    if (m > 0)
        for (int x = mL; x < W - mR; x += m)
            StretchPixels(strip, {c.X + mL, c.Y, c.X + mL + m, c.Y + c.Height}, target, {x, 0, x + m, H});
    StretchPixels(strip, {c.X + c.Width - mR, c.Y, c.X + c.Width, c.Y + c.Height}, target, {W - mR, 0, W, H});
    CopyOut(Canvas.Handle(), Rect, surface, Cell.Transparent);
}

void DrawSkinCell(HDC DC, const RECT& Rect, TBitmap& Bitmap, const TStripCell& Cell)
{
    const int W = Rect.right - Rect.left, H = Rect.bottom - Rect.top;
    TSkinCell c;
    if (W <= 0 || H <= 0 || Bitmap.Empty() ||
        !StripCell(Bitmap.Width(), Bitmap.Height(), Cell.Index, Cell.Count, false, c))
        return;
    std::unique_ptr<TBitmap> own;
    TBitmap& surface = SurfaceFor(W, H, own);
    StretchPixels(PixelsOf(Bitmap), {c.X, c.Y, c.X + c.Width, c.Y + c.Height}, ViewOf(surface, W, H), {0, 0, W, H});
    CopyOut(DC, Rect, surface, Cell.Transparent);
}

void DrawSkinCellCentered(HDC DC, const RECT& Rect, TBitmap& Bitmap, const TStripCell& Cell)
{
    TSkinCell c;
    if (Negative(Rect) || Bitmap.Empty() ||
        !StripCell(Bitmap.Width(), Bitmap.Height(), Cell.Index, Cell.Count, false, c))
        return;
    const int W = Rect.right - Rect.left, H = Rect.bottom - Rect.top;
    const int left = Rect.left + (W - c.Width) / 2, top = Rect.top + (H - c.Height) / 2;
    std::unique_ptr<TBitmap> own;
    TBitmap& surface = SurfaceFor(c.Width, c.Height, own);
    StretchPixels(PixelsOf(Bitmap), {c.X, c.Y, c.X + c.Width, c.Y + c.Height}, ViewOf(surface, c.Width, c.Height),
                  {0, 0, c.Width, c.Height});
    CopyOut(DC, RECT{left, top, left + c.Width, top + c.Height}, surface, Cell.Transparent);
}

void DrawSkinCellThreePart(HDC DC, const RECT& Rect, TBitmap& Bitmap, const TSkinRect& Margins,
                           const TStripCell& Cell)
{
    const int W = Rect.right - Rect.left, H = Rect.bottom - Rect.top;
    TSkinCell c;
    if (W <= 0 || H <= 0 || Bitmap.Empty() ||
        !StripCell(Bitmap.Width(), Bitmap.Height(), Cell.Index, Cell.Count, Cell.Vertical, c))
        return;
    HDC source = Bitmap.Canvas()->Handle();
    if (c.Width > W) {
        ::StretchBlt(DC, Rect.left, Rect.top, W, H, source, c.X, c.Y, c.Width, c.Height, SRCCOPY);
        return;
    }
    const int mL = std::clamp(Margins.Left, 0, c.Width), mR = std::clamp(Margins.Right, 0, c.Width - mL);
    if (mL > 0) ::StretchBlt(DC, Rect.left, Rect.top, mL, H, source, c.X, c.Y, mL, c.Height, SRCCOPY);
    if (W - mL - mR > 0 && c.Width - mL - mR > 0)
        ::StretchBlt(DC, Rect.left + mL, Rect.top, W - mL - mR, H, source, c.X + mL, c.Y, c.Width - mL - mR, c.Height,
                     SRCCOPY);
    if (mR > 0)
        ::StretchBlt(DC, Rect.right - mR, Rect.top, mR, H, source, c.X + c.Width - mR, c.Y, mR, c.Height, SRCCOPY);
}

void FillColor(HDC DC, const RECT& Rect, TColor Color)
{
    // The DC's own brush: no GDI object is made for a fill.
    const COLORREF old = ::SetDCBrushColor(DC, ColorToRGB(Color));
    if (old == CLR_INVALID) return;
    ::FillRect(DC, &Rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::SetDCBrushColor(DC, old);
}

void DrawTransparentBitmap(HDC DC, const RECT& Rect, TBitmap& Bitmap, TColor TransparentColour)
{
    if (Negative(Rect) || Bitmap.Empty()) return;
    const int W = std::min<int>(Rect.right - Rect.left, Bitmap.Width());
    const int H = std::min<int>(Rect.bottom - Rect.top, Bitmap.Height());
    if (W <= 0 || H <= 0) return;
    // A masked copy costs the system many times a plain one: without a pixel
    // of the transparent colour the plain copy gives the same pixels.
    if (!HoldsKey(ViewOf(Bitmap, W, H), SkinColorToRGB(TransparentColour))) {
        ::BitBlt(DC, Rect.left, Rect.top, W, H, Bitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
        return;
    }
    MaskedCopy(DC, Rect, W, H, Bitmap, TransparentColour);
}

namespace {

void MaskedCopy(HDC DC, const RECT& Rect, int W, int H, TBitmap& Bitmap, TColor TransparentColour)
{
    if (W <= 0 || H <= 0) return;
    HDC source = Bitmap.Canvas()->Handle();

    // Monochrome mask: white where the source has the transparent colour.
    HBITMAP mask = ::CreateBitmap(W, H, 1, 1, nullptr);
    if (mask == nullptr) return;
    HDC maskDC = ::CreateCompatibleDC(DC);
    HGDIOBJ oldMask = ::SelectObject(maskDC, mask);
    const COLORREF oldSourceBk = ::SetBkColor(source, static_cast<COLORREF>(SkinColorToRGB(TransparentColour)));
    ::BitBlt(maskDC, 0, 0, W, H, source, 0, 0, SRCCOPY);
    ::SetBkColor(source, oldSourceBk);

    if (SkinNTPlatform) {
        ::MaskBlt(DC, Rect.left, Rect.top, W, H, source, 0, 0, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY));
    } else {
        const COLORREF oldBk = ::SetBkColor(DC, RGB(255, 255, 255));
        const COLORREF oldText = ::SetTextColor(DC, RGB(0, 0, 0));
        ::BitBlt(DC, Rect.left, Rect.top, W, H, source, 0, 0, SRCINVERT);
        ::BitBlt(DC, Rect.left, Rect.top, W, H, maskDC, 0, 0, SRCAND);
        ::BitBlt(DC, Rect.left, Rect.top, W, H, source, 0, 0, SRCINVERT);
        ::SetBkColor(DC, oldBk);
        ::SetTextColor(DC, oldText);
    }
    ::SelectObject(maskDC, oldMask);
    ::DeleteDC(maskDC);
    ::DeleteObject(mask);
}

} // namespace

HRGN CreateRegionFromBitmap(TBitmap& Bitmap, int XOffset, int YOffset, TColor KeyColour, uint8_t RedTolerance,
                            uint8_t GreenTolerance, uint8_t BlueTolerance)
{
    const int keyR = KeyColour & 0xFF, keyG = (KeyColour >> 8) & 0xFF, keyB = (KeyColour >> 16) & 0xFF;
    const int maxR = MinInt(255, keyR + RedTolerance), maxG = MinInt(255, keyG + GreenTolerance),
              maxB = MinInt(255, keyB + BlueTolerance);
    constexpr size_t kBatch = 2000;
    std::vector<RECT> rects;
    rects.reserve(500);
    HRGN result = nullptr;

    const auto flush = [&] {
        RECT bounds{0, 0, 0, 0};
        if (!rects.empty()) {
            bounds = rects.front();
            for (const RECT& r : rects) {
                bounds.left = std::min(bounds.left, r.left);
                bounds.top = std::min(bounds.top, r.top);
                bounds.right = std::max(bounds.right, r.right);
                bounds.bottom = std::max(bounds.bottom, r.bottom);
            }
        }
        std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
        RGNDATAHEADER header{};
        header.dwSize = sizeof(RGNDATAHEADER);
        header.iType = RDH_RECTANGLES;
        header.nCount = static_cast<DWORD>(rects.size());
        header.rcBound = bounds;
        std::memcpy(data.data(), &header, sizeof header);
        if (!rects.empty()) std::memcpy(data.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
        HRGN part = ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data()));
        rects.clear();
        if (part == nullptr) return;
        if (result == nullptr) {
            result = part;
        } else {
            ::CombineRgn(result, result, part, RGN_OR);
            ::DeleteObject(part);
        }
    };

    if (!Bitmap.Empty()) {
        const TImageView view = PixelsOf(Bitmap);
        const auto transparent = [&](const uint8_t* p) {
            return p[2] >= keyR && p[2] <= maxR && p[1] >= keyG && p[1] <= maxG && p[0] >= keyB && p[0] <= maxB;
        };
        for (int y = 0; y < view.Height; ++y) {
            const uint8_t* row = view.Row(y);
            int x = 0;
            while (x < view.Width) {
                while (x < view.Width && transparent(row + x * view.BytesPerPixel)) ++x;
                const int start = x;
                while (x < view.Width && !transparent(row + x * view.BytesPerPixel)) ++x;
                if (x > start) {
                    rects.push_back(RECT{start + XOffset, y + YOffset, x + XOffset, y + YOffset + 1});
                    if (rects.size() == kBatch) flush();
                }
            }
        }
    }
    flush();
    return result != nullptr ? result : ::CreateRectRgn(0, 0, 0, 0);
}

void PaintControlToDC(TControl* Control, HDC DC)
{
    if (Control == nullptr || Control->Parent() == nullptr) return;
    TWinControl* parent = Control->Parent();
    const int saved = ::SaveDC(DC);
    POINT origin{};
    ::GetViewportOrgEx(DC, &origin);
    ::SetViewportOrgEx(DC, origin.x - Control->Left(), origin.y - Control->Top(), nullptr);
    const RECT client = Control->ClientRect();
    ::IntersectClipRect(DC, client.left + Control->Left(), client.top + Control->Top(), client.right + Control->Left(),
                        client.bottom + Control->Top());
    const TParentImageScope composing;
    try {
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
        parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    } catch (...) {
        if (!Control->InState(csDesigning)) {
            ::RestoreDC(DC, saved);
            throw;
        }
    }
    ::RestoreDC(DC, saved);
}

void TileBitmap(TCanvas& Canvas, const RECT& Dest, TBitmap& Bitmap, const RECT& Src)
{
    const RECT src{std::max<LONG>(Src.left, 0), std::max<LONG>(Src.top, 0), std::min<LONG>(Src.right, Bitmap.Width()),
                   std::min<LONG>(Src.bottom, Bitmap.Height())};
    const int sw = src.right - src.left, sh = src.bottom - src.top;
    if (sw <= 0 || sh <= 0) return;
    HDC target = Canvas.Handle(), source = Bitmap.Canvas()->Handle();
    // Only tiles that meet the clip box can show: the work is bounded by the
    // target's size, not Dest's, and the counters cannot overflow.
    RECT clip;
    const int kind = ::GetClipBox(target, &clip);
    if (kind == NULLREGION || kind == ERROR) return;
    // The first tile of the grid anchored at (From) that reaches Edge.
    const auto first = [](int64_t From, int64_t Edge, int64_t Step) {
        return Edge > From ? From + (Edge - From) / Step * Step : From;
    };
    const int64_t right = std::min<int64_t>(Dest.right, clip.right), bottom = std::min<int64_t>(Dest.bottom, clip.bottom);
    for (int64_t x = first(Dest.left, clip.left, sw); x < right; x += sw)
        for (int64_t y = first(Dest.top, clip.top, sh); y < bottom; y += sh)
            ::BitBlt(target, static_cast<int>(x), static_cast<int>(y), sw, sh, source, src.left, src.top, SRCCOPY);
}

bool LoadBitmapFromBmp(std::span<const uint8_t> File, TBitmap& Bitmap, TBmpError* Error)
{
    TImage image;
    const bool ok = DecodeBmpFile(File, image, Error);
    ImageToBitmap(image, Bitmap);
    return ok;
}

bool LoadBitmapFromDib(std::span<const uint8_t> Dib, TBitmap& Bitmap, TBmpError* Error)
{
    TImage image;
    const bool ok = DecodeDib(Dib, image, Error);
    ImageToBitmap(image, Bitmap);
    return ok;
}

bool LoadBitmapResource(const char* Name, TBitmap& Bitmap)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceA(module, Name, MAKEINTRESOURCEA(2)); // RT_BITMAP
    HGLOBAL data = info != nullptr ? ::LoadResource(module, info) : nullptr;
    const void* bytes = data != nullptr ? ::LockResource(data) : nullptr;
    if (bytes == nullptr) {
        Bitmap.SetSize(0, 0);
        return false;
    }
    return LoadBitmapFromDib({static_cast<const uint8_t*>(bytes), ::SizeofResource(module, info)}, Bitmap);
}
