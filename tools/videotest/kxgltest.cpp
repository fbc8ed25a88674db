// kxgltest: the game's video test with 3D acceleration. It loads the OpenGL driver the player chose
// through the driver module, the same way the game does, and draws the test card with it: every
// pixel-format, WGL and GL call goes through the entry points the module bound.
#include <algorithm>
#include <array>
#include <string>

#include "gls/gls.h"
#include "tools/videotest/TestProgram.h"

namespace {

using namespace videotest;

std::string LoadResultText(uint32_t result)
{
    switch (result) {
    case GLS_OK: return "loaded";
    case GLS_ERROR_NOT_LOADED: return "its file could not be loaded";
    case GLS_ERROR_MISSING: return "a function it must offer or its GLU library is missing";
    case GLS_ERROR_NO_DRIVER: return "no driver loaded";
    case GLS_ERROR_BAD_ARGUMENT: return "no such driver is installed";
    default: return "unknown result";
    }
}

std::string GlString(GLenum name)
{
    const GLubyte* text = _glsEntryPoints.glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "(none)";
}

class OpenGLCard : public Renderer {
public:
    std::string AskedBeyondMode(const Settings& asked) const override
    {
        return ", OpenGL driver " + std::to_string(asked.driver) +
               (asked.textures16 ? ", 16-bit textures" : ", 32-bit textures");
    }

    std::optional<Failure> Start(HWND window, const Settings& asked, const CardLayout& layout, Report& report) override
    {
        layout_ = &layout;
        textures16_ = asked.textures16;
        std::optional<Failure> failure = Load(asked.driver, report);
        if (!failure) failure = MakeContext(window, asked, report);
        if (failure) {
            for (const char* name : {"vendor", "renderer", "version"}) report.Add(name, "none");
            return failure;
        }
        report.Add("vendor", GlString(GL_VENDOR));
        report.Add("renderer", GlString(GL_RENDERER));
        report.Add("version", GlString(GL_VERSION));
        PrepareDrawing();
        return std::nullopt;
    }

    std::string Drawing() const override
    {
        return "OpenGL driver: " + driverName_ + (textures16_ ? ", 16-bit textures" : ", 32-bit textures");
    }

    void Draw(double seconds, const std::vector<std::string>& text) override
    {
        auto& gl = _glsEntryPoints;
        const CardLayout& card = *layout_;
        gl.glClear(GL_COLOR_BUFFER_BIT);
        for (const ColourBar& bar : card.Bars()) Quad(bar.box, bar.colour);

        // The screen's ramp: black to white across the quad. Dithering is off, so the steps of a
        // 16-bit picture stay visible instead of turning into noise.
        const Box& ramp = card.Ramp();
        gl.glBegin(GL_QUADS);
        gl.glColor3ub(0, 0, 0);
        gl.glVertex2i(ramp.left, ramp.top);
        gl.glVertex2i(ramp.left, ramp.bottom);
        gl.glColor3ub(255, 255, 255);
        gl.glVertex2i(ramp.right, ramp.bottom);
        gl.glVertex2i(ramp.right, ramp.top);
        gl.glEnd();

        // The texture's ramp, in the texture depth under test.
        const Box& textured = card.TextureRamp();
        gl.glEnable(GL_TEXTURE_2D);
        gl.glBegin(GL_QUADS);
        gl.glTexCoord2f(0, 0);
        gl.glVertex2i(textured.left, textured.top);
        gl.glTexCoord2f(0, 1);
        gl.glVertex2i(textured.left, textured.bottom);
        gl.glTexCoord2f(1, 1);
        gl.glVertex2i(textured.right, textured.bottom);
        gl.glTexCoord2f(1, 0);
        gl.glVertex2i(textured.right, textured.top);
        gl.glEnd();
        gl.glDisable(GL_TEXTURE_2D);

        Quad(card.Square(seconds), {255, 255, 255});

        if (text != shownText_) {
            shownText_ = text;
            textPicture_ = RenderText(text, card.TextArea().Width(), card.FontPixels(), card.Background());
        }
        if (textPicture_.height > 0) {
            // Rows top first, downwards from the top of the text area.
            gl.glRasterPos2i(card.TextArea().left, card.TextArea().top);
            gl.glPixelZoom(1.0f, -1.0f);
            gl.glDrawPixels(textPicture_.width, textPicture_.height, GL_RGBA, GL_UNSIGNED_BYTE,
                            textPicture_.rgba.data());
        }
    }

    std::optional<Failure> Present() override
    {
        auto& gl = _glsEntryPoints;
        // A single-buffered picture is drawn where it is seen; it only has to be finished.
        if (!doubleBuffered_) {
            gl.glFinish();
            return std::nullopt;
        }
        if (gl.SwapBuffers(dc_)) return std::nullopt;
        return Failure{kNotPresented, "The OpenGL driver could not show the picture it drew (SwapBuffers failed)."};
    }

    // The front buffer (PrepareDrawing chose it for reading): after a swap, the frame shown.
    std::optional<Rgb> ReadFront(POINT at) override
    {
        std::array<GLubyte, 4> pixel{};
        _glsEntryPoints.glReadPixels(at.x, layout_->Height() - 1 - at.y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
        return Rgb{pixel[0], pixel[1], pixel[2]};
    }

    int ChannelBits() const override { return channelBits_; }

    void Stop() override
    {
        auto& gl = _glsEntryPoints;
        if (context_) {
            if (texture_) gl.glDeleteTextures(1, &texture_);
            gl.wglMakeCurrent(nullptr, nullptr);
            gl.wglDeleteContext(context_);
        }
        if (dc_) ReleaseDC(window_, dc_);
        // Also after a failed load, which may leave the module's changes to the environment in place.
        if (loadTried_) glsUnloadDriver();
        loadTried_ = false;
        context_ = nullptr;
        dc_ = nullptr;
        texture_ = 0;
    }

private:
    std::optional<Failure> Load(int driver, Report& report)
    {
        const uint32_t found = glsFindDrivers();
        DriverInfo info{};
        const bool installed = driver >= 0 && glsGetDriverInfo(static_cast<uint32_t>(driver), &info) == GLS_OK;
        driverName_ = installed ? info.aDriverDescription : "number " + std::to_string(driver);
        // A negative number stands for no driver at all; the module answers it as an unknown one.
        loadTried_ = true;
        const uint32_t result = glsLoadDriver(static_cast<uint32_t>(driver));
        std::string line = std::to_string(driver) + (installed ? " " + driverName_ : "") + ", load result " +
                           std::to_string(result) + " (" + LoadResultText(result) + ")";
        if (result == GLS_OK) line += ", " + std::string(_glsGLDriverFilePath);
        else if (!installed) line += ", " + std::to_string(found) + " found";
        report.Add("driver", line);
        if (result == GLS_OK) return std::nullopt;
        if (!installed)
            return Failure{kDriverNotLoaded, "The chosen OpenGL driver is not installed on this computer (" +
                                                 std::to_string(found) + " found)."};
        return Failure{kDriverNotLoaded,
                       "The OpenGL driver \"" + driverName_ + "\" did not load: " + LoadResultText(result) + "."};
    }

    std::optional<Failure> MakeContext(HWND window, const Settings& asked, Report& report)
    {
        const int bitsPerPixel = asked.bitsPerPixel;
        const std::string where = asked.fullScreen ? "in full screen" : "in a window";
        auto& gl = _glsEntryPoints;
        window_ = window;
        dc_ = GetDC(window);
        PIXELFORMATDESCRIPTOR wanted{};
        wanted.nSize = sizeof wanted;
        wanted.nVersion = 1;
        wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        wanted.iPixelType = PFD_TYPE_RGBA;
        wanted.cColorBits = static_cast<BYTE>(bitsPerPixel);
        wanted.iLayerType = PFD_MAIN_PLANE;
        const int format = dc_ ? gl.ChoosePixelFormat(dc_, &wanted) : 0;
        PIXELFORMATDESCRIPTOR got{};
        if (!format || !gl.DescribePixelFormat(dc_, format, sizeof got, &got) || !gl.SetPixelFormat(dc_, format, &wanted)) {
            report.Add("pixel format", "none");
            return Failure{kNoPixelFormat, "The OpenGL driver cannot draw " + std::to_string(bitsPerPixel) +
                                               "-bit colour " + where + " on this computer."};
        }
        channelBits_ = std::min({got.cRedBits, got.cGreenBits, got.cBlueBits});
        doubleBuffered_ = (got.dwFlags & PFD_DOUBLEBUFFER) != 0;
        report.Add("pixel format", std::to_string(format) + ": " + std::to_string(got.cColorBits) + " bit colour (" +
                                       std::to_string(got.cRedBits) + " " + std::to_string(got.cGreenBits) + " " +
                                       std::to_string(got.cBlueBits) + "), " +
                                       ((got.dwFlags & PFD_DOUBLEBUFFER) ? "double" : "single") + " buffered");
        context_ = gl.wglCreateContext(dc_);
        if (!context_ || !gl.wglMakeCurrent(dc_, context_))
            return Failure{kNoContext, "The OpenGL driver could not start drawing " + where + "."};
        return std::nullopt;
    }

    void PrepareDrawing()
    {
        auto& gl = _glsEntryPoints;
        const CardLayout& card = *layout_;
        // Movement shows best in step with the screen, where the driver offers it.
        using SwapInterval = BOOL(WINAPI*)(int);
        if (PROC swapInterval = gl.wglGetProcAddress("wglSwapIntervalEXT"))
            reinterpret_cast<SwapInterval>(reinterpret_cast<void*>(swapInterval))(1);

        gl.glViewport(0, 0, card.Width(), card.Height());
        gl.glMatrixMode(GL_PROJECTION);
        gl.glLoadIdentity();
        gl.glOrtho(0, card.Width(), card.Height(), 0, -1, 1);  // card pixels, y downwards
        gl.glMatrixMode(GL_MODELVIEW);
        gl.glLoadIdentity();
        gl.glDisable(GL_DITHER);
        gl.glDisable(GL_DEPTH_TEST);
        gl.glShadeModel(GL_SMOOTH);
        const Rgb ground = card.Background();
        gl.glClearColor(ground.r / 255.0f, ground.g / 255.0f, ground.b / 255.0f, 1);
        gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
        gl.glReadBuffer(GL_FRONT);

        std::array<GLubyte, 256 * 3> greys{};
        for (std::size_t i = 0; i < greys.size(); ++i) greys[i] = static_cast<GLubyte>(i / 3);
        gl.glGenTextures(1, &texture_);
        gl.glBindTexture(GL_TEXTURE_2D, texture_);
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        gl.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        gl.glTexImage2D(GL_TEXTURE_2D, 0, textures16_ ? GL_RGB5 : GL_RGB8, 256, 1, 0, GL_RGB, GL_UNSIGNED_BYTE,
                        greys.data());
    }

    static void Quad(const Box& box, const Rgb& colour)
    {
        auto& gl = _glsEntryPoints;
        gl.glColor3ub(static_cast<GLubyte>(colour.r), static_cast<GLubyte>(colour.g), static_cast<GLubyte>(colour.b));
        gl.glBegin(GL_QUADS);
        gl.glVertex2i(box.left, box.top);
        gl.glVertex2i(box.left, box.bottom);
        gl.glVertex2i(box.right, box.bottom);
        gl.glVertex2i(box.right, box.top);
        gl.glEnd();
    }

    const CardLayout* layout_ = nullptr;
    bool textures16_ = false;
    bool loadTried_ = false;
    std::string driverName_;
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC context_ = nullptr;
    GLuint texture_ = 0;
    int channelBits_ = 8;
    bool doubleBuffered_ = true;
    std::vector<std::string> shownText_;
    TextPicture textPicture_;
};

}  // namespace

int main()
{
    OpenGLCard card;
    return RunVideoTest("kxgltest", card);
}
