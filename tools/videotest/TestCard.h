#pragma once
// The test card both video test programs show: colour bars, grey ramps, a moving square and a few
// lines of text, laid out in whole pixels so that every renderer draws the same picture and a
// pixel read back can be compared with what was meant to be there.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

namespace videotest {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Left, top inclusive; right, bottom exclusive; y grows downwards.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct ColourBar {
    Box box;
    Rgb colour;
};

class CardLayout {
public:
    CardLayout(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // White, yellow, cyan, green, magenta, red, blue, black: together they cover the full width.
    const std::array<ColourBar, 8>& Bars() const { return bars_; }
    // Black on the left to white on the right, drawn in the colours of the screen.
    const Box& Ramp() const { return ramp_; }
    // The same ramp from a texture, in the texture depth under test (OpenGL only).
    const Box& TextureRamp() const { return textureRamp_; }
    // The band in which the square moves.
    const Box& Track() const { return track_; }
    // The square after that many seconds: across the track and back every four seconds, at an even
    // speed, so that a frame drawn late shows as a jump.
    Box Square(double seconds) const;
    const Box& TextArea() const { return text_; }
    int FontPixels() const { return fontPixels_; }

    // Where the picture is read back, and what must be there: the middle of the yellow bar, whose
    // channels differ enough to show red and blue swapped.
    POINT SamplePoint() const;
    Rgb SampleColour() const;
    // Behind everything else.
    Rgb Background() const;

private:
    int width_, height_;
    std::array<ColourBar, 8> bars_;
    Box ramp_, textureRamp_, track_, text_;
    int fontPixels_;
};

// The grey of the ramp at column x of a ramp box: 0 at the left edge, 255 at the right.
int RampGrey(const Box& ramp, int x);

// The text of the card, top to bottom: the mode shown, how it is drawn, what to look for, the time left.
std::vector<std::string> CardText(const std::string& mode, const std::string& drawing, int secondsLeft);

// The font of the card's text, for a text area of that font height.
HFONT CreateCardFont(int pixels);

// The card drawn with GDI into a device context of the card's size (kxdxtest's picture).
void PaintCard(HDC dc, const CardLayout& layout, double seconds, const std::vector<std::string>& text);

// A failure, in plain words, for the rest of the test's time.
void PaintNotice(HDC dc, const RECT& area, const std::vector<std::string>& lines);

// Lines of text as a picture, top row first, four bytes a pixel (red, green, blue, 255): white
// on the background, for renderers that cannot draw text themselves.
struct TextPicture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};
TextPicture RenderText(const std::vector<std::string>& lines, int width, int fontPixels, const Rgb& background);

}  // namespace videotest
