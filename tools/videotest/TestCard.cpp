#include "tools/videotest/TestCard.h"

#include <algorithm>
#include <cmath>

namespace videotest {

namespace {

constexpr double kSquarePeriodSeconds = 4.0;

// Rows of the card, in hundredths of its height.
constexpr int kBarsTop = 6, kBarsBottom = 44;
constexpr int kRampTop = 48, kRampBottom = 56;
constexpr int kTextureRampTop = 57, kTextureRampBottom = 64;
constexpr int kTrackTop = 68, kTrackBottom = 78;
constexpr int kTextTop = 81, kTextBottom = 98;
constexpr int kTextLines = 4;

constexpr std::array<Rgb, 8> kBarColours{{{255, 255, 255},
                                          {255, 255, 0},
                                          {0, 255, 255},
                                          {0, 255, 0},
                                          {255, 0, 255},
                                          {255, 0, 0},
                                          {0, 0, 255},
                                          {0, 0, 0}}};
constexpr std::size_t kSampleBar = 1;
// Dark grey, so that the black bar and the black end of the ramps stand out.
constexpr Rgb kBackground{40, 40, 40};

int Part(int whole, int hundredths) { return whole * hundredths / 100; }

COLORREF Colour(const Rgb& c) { return RGB(c.r, c.g, c.b); }

void Fill(HDC dc, const Box& box, COLORREF colour)
{
    RECT r{box.left, box.top, box.right, box.bottom};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// One line after another from the top of area; wrapped lines break between words.
void DrawLines(HDC dc, const RECT& area, const std::vector<std::string>& lines, int fontPixels, COLORREF colour,
               bool wrap)
{
    HFONT font = CreateCardFont(fontPixels);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    const UINT format = DT_LEFT | DT_TOP | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE);
    int y = area.top;
    for (const std::string& line : lines) {
        RECT row{area.left, y, area.right, y + fontPixels * 5 / 4};
        if (wrap) DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &row, format | DT_CALCRECT);
        row.right = area.right;
        DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &row, format);
        y = row.bottom + (wrap ? fontPixels / 2 : 0);
    }
    SelectObject(dc, old);
    DeleteObject(font);
}

}  // namespace

CardLayout::CardLayout(int width, int height) : width_(std::max(width, 8)), height_(std::max(height, 8))
{
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        const int n = static_cast<int>(i);
        bars_[i] = {{width_ * n / 8, Part(height_, kBarsTop), width_ * (n + 1) / 8, Part(height_, kBarsBottom)},
                    kBarColours[i]};
    }
    const int margin = width_ / 40;
    ramp_ = {margin, Part(height_, kRampTop), width_ - margin, Part(height_, kRampBottom)};
    textureRamp_ = {margin, Part(height_, kTextureRampTop), width_ - margin, Part(height_, kTextureRampBottom)};
    track_ = {margin, Part(height_, kTrackTop), width_ - margin, Part(height_, kTrackBottom)};
    text_ = {margin, Part(height_, kTextTop), width_ - margin, Part(height_, kTextBottom)};
    fontPixels_ = std::max(8, text_.Height() * 7 / (10 * kTextLines));
}

Box CardLayout::Square(double seconds) const
{
    const int size = track_.Height();
    const int travel = std::max(0, track_.Width() - size);
    double phase = std::fmod(std::max(seconds, 0.0), kSquarePeriodSeconds) / (kSquarePeriodSeconds / 2);
    if (phase > 1) phase = 2 - phase;
    const int left = track_.left + static_cast<int>(std::lround(phase * travel));
    return {left, track_.top, left + size, track_.bottom};
}

POINT CardLayout::SamplePoint() const
{
    const Box& bar = bars_[kSampleBar].box;
    return {(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
}

Rgb CardLayout::SampleColour() const { return bars_[kSampleBar].colour; }

Rgb CardLayout::Background() const { return kBackground; }

int RampGrey(const Box& ramp, int x)
{
    if (ramp.Width() <= 1) return 0;
    return std::clamp((x - ramp.left) * 255 / (ramp.Width() - 1), 0, 255);
}

std::vector<std::string> CardText(const std::string& mode, const std::string& drawing, int secondsLeft)
{
    return {mode, drawing, "Even bars? Smooth ramps (steps mean 16-bit colour)? A smoothly gliding square?",
            std::to_string(secondsLeft) + " s left. Esc, a key or a click ends the test."};
}

HFONT CreateCardFont(int pixels)
{
    return CreateFontA(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

void PaintCard(HDC dc, const CardLayout& layout, double seconds, const std::vector<std::string>& text)
{
    Fill(dc, {0, 0, layout.Width(), layout.Height()}, Colour(kBackground));
    for (const ColourBar& bar : layout.Bars()) Fill(dc, bar.box, Colour(bar.colour));

    // Without 3D there is no texture: the screen's ramp takes both bands. Stretched from one row
    // of 256 greys, it is copied to the screen's depth without dithering, so 16 bits show steps.
    Box ramp = layout.Ramp();
    ramp.bottom = layout.TextureRamp().bottom;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 256, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::array<DWORD, 256> greys{};
    for (DWORD g = 0; g < greys.size(); ++g) greys[g] = g << 16 | g << 8 | g;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, ramp.left, ramp.top, ramp.Width(), ramp.Height(), 0, 0, 256, 1, greys.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);

    Fill(dc, layout.Square(seconds), RGB(255, 255, 255));
    const Box& area = layout.TextArea();
    DrawLines(dc, {area.left, area.top, area.right, area.bottom}, text, layout.FontPixels(), RGB(255, 255, 255),
              false);
}

void PaintNotice(HDC dc, const RECT& area, const std::vector<std::string>& lines)
{
    HBRUSH brush = CreateSolidBrush(RGB(32, 32, 48));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    const int height = area.bottom - area.top;
    const int fontPixels = std::clamp(height / 18, 12, 28);
    const int margin = fontPixels * 2;
    RECT text{area.left + margin, area.top + margin, area.right - margin, area.bottom - margin};
    DrawLines(dc, text, lines, fontPixels, RGB(255, 255, 255), true);
}

TextPicture RenderText(const std::vector<std::string>& lines, int width, int fontPixels, const Rgb& background)
{
    TextPicture picture;
    picture.width = std::max(width, 1);
    picture.height = static_cast<int>(lines.size()) * fontPixels * 5 / 4;
    if (picture.height <= 0) return picture;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    picture.rgba.assign(static_cast<std::size_t>(picture.width) * picture.height * 4, 0);
    if (dc && bitmap) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        Fill(dc, {0, 0, picture.width, picture.height}, Colour(background));
        DrawLines(dc, {0, 0, picture.width, picture.height}, lines, fontPixels, RGB(255, 255, 255), false);
        GdiFlush();
        const auto* bgra = static_cast<const unsigned char*>(bits);
        for (std::size_t i = 0; i < picture.rgba.size(); i += 4) {
            picture.rgba[i] = bgra[i + 2];
            picture.rgba[i + 1] = bgra[i + 1];
            picture.rgba[i + 2] = bgra[i];
            picture.rgba[i + 3] = 255;
        }
        SelectObject(dc, old);
    }
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    return picture;
}

}  // namespace videotest
