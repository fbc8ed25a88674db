// kxdxtest: the game's video test without 3D acceleration. It draws the test card with GDI into a
// DirectDraw surface in the screen's own format and copies it to the window, as the game's 2D
// drawing does; where DirectDraw cannot be had, into a GDI bitmap of the screen's format.
#include <ddraw.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/videotest/TestProgram.h"

namespace {

using namespace videotest;

template <class T>
void Release(T*& object)
{
    if (object) object->Release();
    object = nullptr;
}

int MaskBits(DWORD mask)
{
    int bits = 0;
    for (; mask; mask &= mask - 1) ++bits;
    return bits;
}

std::string HresultText(HRESULT result)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(result));
    return text;
}

class TwoDimensionalCard : public Renderer {
public:
    std::optional<Failure> Start(HWND window, const Settings&, const CardLayout& layout, Report& report) override
    {
        window_ = window;
        layout_ = &layout;
        const std::string whyNot = StartDirectDraw();
        if (whyNot.empty()) {
            report.Add("driver", "DirectDraw, " + std::to_string(bitsPerPixel_) + "-bit surfaces");
            return std::nullopt;
        }
        StopDirectDraw();
        report.Add("driver", "GDI (no DirectDraw: " + whyNot + ")");
        windowDc_ = GetDC(window);
        memoryDc_ = windowDc_ ? CreateCompatibleDC(windowDc_) : nullptr;
        bitmap_ = memoryDc_ ? CreateCompatibleBitmap(windowDc_, layout.Width(), layout.Height()) : nullptr;
        if (!bitmap_)
            return Failure{kNoSurface, "Windows offers no picture of " + std::to_string(layout.Width()) + " x " +
                                           std::to_string(layout.Height()) + " to draw in."};
        oldBitmap_ = SelectObject(memoryDc_, bitmap_);
        bitsPerPixel_ = GetDeviceCaps(windowDc_, BITSPIXEL);
        channelBits_ = bitsPerPixel_ <= 16 ? 5 : 8;
        return std::nullopt;
    }

    std::string Drawing() const override
    {
        return std::string("Drawn without 3D, with ") + (primary_ ? "DirectDraw" : "GDI");
    }

    void Draw(double seconds, const std::vector<std::string>& text) override
    {
        if (HDC dc = BackDc()) {
            PaintCard(dc, *layout_, seconds, text);
            ReleaseBackDc(dc);
        }
    }

    std::optional<Failure> Present() override
    {
        if (!primary_) {
            if (BitBlt(windowDc_, 0, 0, layout_->Width(), layout_->Height(), memoryDc_, 0, 0, SRCCOPY))
                return std::nullopt;
            return Failure{kNotPresented, "Windows could not copy the picture into the window (BitBlt failed)."};
        }
        RECT screen{0, 0, layout_->Width(), layout_->Height()};
        MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&screen), 2);
        const HRESULT result = primary_->Blt(&screen, back_, nullptr, DDBLT_WAIT, nullptr);
        // Surfaces lost to another program's use of the screen come back for the next frame; this
        // one is not shown.
        if (result == DDERR_SURFACELOST) RestoreSurfaces();
        if (SUCCEEDED(result) || result == DDERR_SURFACELOST) return std::nullopt;
        return Failure{kNotPresented,
                       "DirectDraw could not copy the picture to the screen (Blt failed, " + HresultText(result) + ")."};
    }

    int ChannelBits() const override { return channelBits_; }

    void Stop() override
    {
        StopDirectDraw();
        if (memoryDc_) {
            SelectObject(memoryDc_, oldBitmap_);
            DeleteDC(memoryDc_);
        }
        if (bitmap_) DeleteObject(bitmap_);
        if (windowDc_) ReleaseDC(window_, windowDc_);
        memoryDc_ = nullptr;
        bitmap_ = nullptr;
        windowDc_ = nullptr;
    }

private:
    // Empty when DirectDraw is ready, else why not.
    std::string StartDirectDraw()
    {
        ddraw_ = LoadLibraryA("ddraw.dll");
        if (!ddraw_) return "ddraw.dll cannot be loaded";
        using Create = HRESULT(WINAPI*)(GUID*, LPDIRECTDRAW*, IUnknown*);
        auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(ddraw_, "DirectDrawCreate")));
        if (!create) return "ddraw.dll has no DirectDrawCreate";
        HRESULT result = create(nullptr, &directDraw_, nullptr);
        if (FAILED(result)) return "DirectDrawCreate failed, " + HresultText(result);
        // The normal level: the mode is already set, and the window is the card's frame.
        result = directDraw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
        if (FAILED(result)) return "SetCooperativeLevel failed, " + HresultText(result);

        DDSURFACEDESC primary{};
        primary.dwSize = sizeof primary;
        primary.dwFlags = DDSD_CAPS;
        primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        result = directDraw_->CreateSurface(&primary, &primary_, nullptr);
        if (FAILED(result)) return "no primary surface, " + HresultText(result);
        result = directDraw_->CreateClipper(0, &clipper_, nullptr);
        if (FAILED(result) || FAILED(clipper_->SetHWnd(0, window_)) || FAILED(primary_->SetClipper(clipper_)))
            return "no clipper for the window";

        DDSURFACEDESC back{};
        back.dwSize = sizeof back;
        back.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        back.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        back.dwWidth = static_cast<DWORD>(layout_->Width());
        back.dwHeight = static_cast<DWORD>(layout_->Height());
        result = directDraw_->CreateSurface(&back, &back_, nullptr);
        if (FAILED(result)) return "no surface of the card's size, " + HresultText(result);

        DDSURFACEDESC described{};
        described.dwSize = sizeof described;
        if (FAILED(back_->GetSurfaceDesc(&described))) return "the surface cannot be described";
        const DDPIXELFORMAT& format = described.ddpfPixelFormat;
        bitsPerPixel_ = static_cast<int>(format.dwRGBBitCount);
        channelBits_ = std::min({MaskBits(format.dwRBitMask), MaskBits(format.dwGBitMask), MaskBits(format.dwBBitMask)});
        if (channelBits_ <= 0) channelBits_ = 8;
        return {};
    }

    void StopDirectDraw()
    {
        Release(back_);
        Release(clipper_);
        Release(primary_);
        Release(directDraw_);
        if (ddraw_) FreeLibrary(ddraw_);
        ddraw_ = nullptr;
    }

    void RestoreSurfaces()
    {
        primary_->Restore();
        back_->Restore();
    }

    HDC BackDc()
    {
        if (!primary_) return memoryDc_;
        HDC dc = nullptr;
        HRESULT result = back_->GetDC(&dc);
        if (result == DDERR_SURFACELOST) {
            RestoreSurfaces();
            result = back_->GetDC(&dc);
        }
        return SUCCEEDED(result) ? dc : nullptr;
    }

    void ReleaseBackDc(HDC dc)
    {
        if (primary_) back_->ReleaseDC(dc);
    }

    HWND window_ = nullptr;
    const CardLayout* layout_ = nullptr;
    int bitsPerPixel_ = 32;
    int channelBits_ = 8;

    HMODULE ddraw_ = nullptr;
    IDirectDraw* directDraw_ = nullptr;
    IDirectDrawSurface* primary_ = nullptr;
    IDirectDrawSurface* back_ = nullptr;
    IDirectDrawClipper* clipper_ = nullptr;

    HDC windowDc_ = nullptr;
    HDC memoryDc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
};

}  // namespace

int main()
{
    TwoDimensionalCard card;
    return RunVideoTest("kxdxtest", card);
}
