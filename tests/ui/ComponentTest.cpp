#include "tests/ui/UiTest.h"

#include <cstdlib>
#include <vector>

#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/Memo.h"
#include "ui/OpenDialog.h"
#include "ui/PageControl.h"
#include "ui/RadioButton.h"
#include "ui/SpeedButton.h"
#include "ui/TrackBar.h"
#include "ui/UpDown.h"

using namespace ui;

namespace {

class Counted : public TComponent {
public:
    Counted(TComponent* owner, std::string name, int& alive) : TComponent(owner, std::move(name)), alive_(alive)
    {
        ++alive_;
    }
    ~Counted() override { --alive_; }
    const char* ClassName() const override { return "Counted"; }

private:
    int& alive_;
};

std::string NameProperty(HWND hwnd)
{
    auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, "Name")));
    char name[256] = {};
    if (!atom || !GlobalGetAtomNameA(atom, name, sizeof name)) return {};
    return name;
}

std::string WindowClass(HWND hwnd)
{
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// What the platform draws in a window of that size, printed into a bitmap: a pixel a value, row by row.
std::vector<DWORD> Printed(HWND hwnd, int width, int height)
{
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + width * height);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// The first columns of a printed picture.
std::vector<DWORD> Columns(const std::vector<DWORD>& pixels, int width, int height, int columns)
{
    std::vector<DWORD> part;
    for (int y = 0; y < height; ++y) part.insert(part.end(), pixels.begin() + y * width, pixels.begin() + y * width + columns);
    return part;
}

}  // namespace

TEST(Component, OwnerKeepsCreationOrderFindsByNameIgnoringCaseAndDestroysWhatItOwns)
{
    int alive = 0;
    {
        Counted owner(nullptr, "owner", alive);
        auto* first = new Counted(&owner, "cbFootsteps", alive);
        auto* second = new Counted(&owner, "lHelp", alive);
        auto* grandchild = new Counted(second, "inner", alive);
        EXPECT_EQ(alive, 4);
        ASSERT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.Components(0), first);
        EXPECT_EQ(owner.Components(1), second);
        EXPECT_EQ(owner.FindComponent("CBFOOTSTEPS"), first);
        EXPECT_EQ(owner.FindComponent("lhelp"), second);
        EXPECT_EQ(owner.FindComponent("inner"), nullptr) << "only the owner's own components are found";
        EXPECT_EQ(owner.FindComponent(""), nullptr);
        EXPECT_EQ(grandchild->Owner(), second);

        delete first;  // a component destroyed early leaves its owner's list
        EXPECT_EQ(owner.ComponentCount(), 1);
        EXPECT_EQ(owner.FindComponent("cbFootsteps"), nullptr);
        EXPECT_EQ(alive, 3);
    }
    EXPECT_EQ(alive, 0);
}

TEST_F(UiTest, EveryKindReportsItsExactClassNameAndCarriesItsNameOnItsWindow)
{
    auto* group = Make<TGroupBox>("gbGroup", 0, 0, 200, 200);
    std::vector<TControl*> controls = {
        group,
        Make<TLabel>("lLabel", 5, 20, 50, 17, group),
        Make<TCheckBox>("cbCheck", 5, 40, 50, 21, group),
        Make<TRadioButton>("rbRadio", 5, 60, 50, 21, group),
        Make<TButton>("bButton", 5, 80, 50, 25, group),
        Make<TSpeedButton>("sbSpeed", 5, 110, 35, 36, group),
        Make<TTrackBar>("tbTrack", 210, 0, 150, 30),
        Make<TEdit>("eEdit", 210, 40, 80, 24),
        Make<TUpDown>("udUpDown", 300, 40, 17, 24),
        Make<TComboBox>("cbCombo", 210, 70, 150, 24),
        Make<TMemo>("mMemo", 210, 100, 150, 60),
        Make<TPageControl>("pcPages", 210, 170, 150, 100),
    };
    const char* expected[] = {"TGroupBox",    "TLabel", "TCheckBox", "TRadioButton", "TButton", "TSpeedButton",
                              "TTrackBar",    "TEdit",  "TUpDown",   "TComboBox",    "TMemo",   "TPageControl"};
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_STREQ(controls[i]->ClassName(), expected[i]);
        ASSERT_NE(controls[i]->Handle(), nullptr) << controls[i]->Name();
        EXPECT_EQ(NameProperty(controls[i]->Handle()), controls[i]->Name());
        EXPECT_EQ(TControl::FromHandle(controls[i]->Handle()), controls[i]);
    }
    auto* sheet = Make<TTabSheet>("tsSheet", 0, 0, 10, 10, controls.back());
    EXPECT_STREQ(sheet->ClassName(), "TTabSheet");
    EXPECT_EQ(NameProperty(sheet->Handle()), "tsSheet");
    TOpenDialog dialog(form.get(), "openImport");
    EXPECT_STREQ(dialog.ClassName(), "TOpenDialog");

    EXPECT_EQ(WindowClass(controls[1]->Handle()), "Static");
    EXPECT_EQ(WindowClass(controls[2]->Handle()), "Button");
    EXPECT_EQ(WindowClass(controls[6]->Handle()), TRACKBAR_CLASSA);
    EXPECT_EQ(WindowClass(controls[7]->Handle()), "Edit");
    EXPECT_EQ(WindowClass(controls[9]->Handle()), "ComboBox");
    EXPECT_EQ(WindowClass(form->Handle()), "TTestForm");
    EXPECT_EQ(NameProperty(form->Handle()), "fTest");
}

TEST_F(UiTest, BoundsAreDesignPixelsScaledToTheScreen)
{
    auto* label = Make<TLabel>("lLabel", 120, 60, 240, 30);
    RECT r;
    GetWindowRect(label->Handle(), &r);
    MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
    int dpi = form->PixelsPerInch();
    EXPECT_EQ(r.left, MulDiv(120, dpi, 120));
    EXPECT_EQ(r.top, MulDiv(60, dpi, 120));
    EXPECT_EQ(r.right - r.left, MulDiv(240, dpi, 120));
    EXPECT_EQ(label->Left(), 120) << "the control keeps its design bounds";

    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, MulDiv(400, dpi, 120));
    EXPECT_EQ(client.bottom, MulDiv(300, dpi, 120));
}

// The forms' font draws the system's own script: on a Japanese system the katakana and kanji of a
// caption have glyphs (not boxes); where the system has the face the layout is designed for in its
// script, that face stays. ctest runs this also on a Japanese system (ui_tests_japanese).
TEST_F(UiTest, TheFormsFontDrawsTheSystemsScript)
{
    if (const char* expected = std::getenv("KX_EXPECT_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected))) << "the system code page of this run";
    }
    auto* label = Make<TLabel>("lLabel", 0, 0, 100, 17);
    HDC dc = GetDC(label->Handle());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label->Handle(), WM_GETFONT, 0, 0)));
    CHARSETINFO system{};
    ASSERT_TRUE(TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(GetACP())), &system, TCI_SRCCODEPAGE));
    EXPECT_EQ(GetTextCharset(dc), static_cast<int>(system.ciCharset));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    EXPECT_EQ(face, WindowFontFace());
    // "Supported" in katakana and kanji, in Cyrillic, or "take over" in German.
    const std::wstring word = GetACP() == 932    ? L"\u30B5\u30DD\u30FC\u30C8\u5BFE\u8C61"
                              : GetACP() == 1251 ? L"\u041F\u043E\u0434\u0434\u0435\u0440\u0436\u043A\u0430"
                                                 : L"\u00DCbernehmen";
    WORD glyphs[16] = {};
    // A bitmap font answers no glyph question; it draws the characters of its character set.
    if (GetGlyphIndicesW(dc, word.c_str(), static_cast<int>(word.size()), glyphs, GGI_MARK_NONEXISTING_GLYPHS) !=
        GDI_ERROR) {
        for (std::size_t i = 0; i < word.size(); ++i) EXPECT_NE(glyphs[i], 0xFFFF) << face << ", character " << i;
    }
    SelectObject(dc, old);
    ReleaseDC(label->Handle(), dc);
}

// A caption too long for its control first takes the free width beside it inside its group; what
// still does not fit is cut with "..." and is whole in the control's tool tip.
TEST_F(UiTest, ACaptionThatDoesNotFitWidensIntoItsGroupThenIsCutAndIsWholeInItsToolTip)
{
    auto* group = Make<TGroupBox>("gbGroup", 0, 0, 390, 300);
    Make<TEdit>("eBeside", 150, 80, 60, 24, group);
    const std::string text = "A caption much longer than its box";
    struct Row {
        const char* name;
        TControl* control;
        int left, width;      // where it ends up
        const char* shown;    // how the cut caption ends; nullptr: the whole caption
    };
    auto* free = Make<TCheckBox>("cbFree", 8, 20, 60, 20, group);
    auto* beside = Make<TCheckBox>("cbBeside", 8, 80, 60, 20, group);
    auto* right = Make<TLabel>("lRight", 300, 140, 80, 17, group);
    right->SetAlignment(TAlignment::Right);
    auto* outside = Make<TLabel>("lOutside", 0, 310, 60, 17);
    auto* wrapped = Make<TLabel>("lWrapped", 8, 170, 120, 34, group);
    wrapped->SetWordWrap(true);
    auto* bracketed = Make<TLabel>("lBracketed", 0, 330, 120, 17);
    auto* narrow = Make<TLabel>("lNarrow", 0, 350, 40, 17);
    for (TControl* c : std::initializer_list<TControl*>{free, beside, right, outside}) c->SetCaption(text);
    for (TControl* c : std::initializer_list<TControl*>{bracketed, narrow}) c->SetCaption(text + "(&K)");
    wrapped->SetCaption(text + ", " + text + ", " + text);
    const Row rows[] = {
        {"free width to the frame", free, 8, -1, nullptr},
        {"up to the edit beside it", beside, 8, 150 - 4 - 8, "..."},
        {"a right-aligned label to the left", right, -1, -1, nullptr},
        {"outside a group", outside, 0, 60, "..."},
        {"wrapped over its lines", wrapped, 8, 120, "..."},
        {"its key in brackets after the words kept", bracketed, 0, 120, "...(&K)"},
        {"the words before its key where it would leave too few", narrow, 0, 40, "..."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TControl* c = row.control;
        if (row.left >= 0) {
            EXPECT_EQ(c->Left(), row.left);
        }
        if (row.width >= 0) {
            EXPECT_EQ(c->Width(), row.width);
        }
        EXPECT_EQ(c->CaptionCut(), row.shown != nullptr);
        RECT r;
        GetWindowRect(c->Handle(), &r);
        EXPECT_EQ(r.right - r.left, form->ScaleValue(c->Width())) << "the window has the widened size";
        char shown[256] = {};
        GetWindowTextA(c->Handle(), shown, sizeof shown);
        EXPECT_EQ(shown, c->ShownCaption());
        if (!row.shown) {
            EXPECT_EQ(c->ShownCaption(), c->Caption());
            continue;
        }
        const std::string cut = c->ShownCaption(), end = row.shown;
        ASSERT_GT(cut.size(), end.size()) << cut;
        EXPECT_EQ(cut.substr(cut.size() - end.size()), end);
        EXPECT_LT(cut.size(), c->Caption().size());
        EXPECT_EQ(c->Caption().rfind(cut.substr(0, cut.size() - end.size()), 0), 0u) << "the beginning of the caption: " << cut;
        EXPECT_EQ(c->ToolTipText(), c == bracketed || c == narrow ? text : c->Caption()) << "the whole caption, as words";
    }
    EXPECT_GT(free->Width(), 60);
    EXPECT_LT(right->Left(), 300);
    EXPECT_EQ(right->Left() + right->Width(), 380) << "it grows to the left";

    // The mouse comes to rest over the cut check box: the tip shows its whole caption.
    HWND tip = form->ToolTipWindow();
    ASSERT_NE(tip, nullptr);
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = tip;
    info.hdr.idFrom = reinterpret_cast<UINT_PTR>(beside->Handle());
    info.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(info.lpszText, text.c_str());
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    RECT r;
    GetWindowRect(beside->Handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(beside->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
    const DWORD until = GetTickCount() + 3000;
    while (!IsWindowVisible(tip) && GetTickCount() < until) {
        ui::Application().ProcessMessages();
        Sleep(10);
    }
    EXPECT_TRUE(IsWindowVisible(tip));

    // A caption that fits again is shown whole.
    beside->SetCaption("On");
    EXPECT_FALSE(beside->CaptionCut());
    EXPECT_EQ(beside->Width(), 60);
}

// A check box or radio button keeps the room the platform takes before and after its caption: at
// the narrowest width that shows the caption whole, the platform draws it and the focus frame around
// it as in a wide window; a pixel less, and it would draw less of them.
TEST_F(UiTest, ABoxOrCircleKeepsTheRoomThePlatformDrawsBesideItsCaption)
{
    const std::string text = "Translucent Shadows";
    auto* box = Make<TCheckBox>("cbBox", 8, 20, 300, 20);
    auto* circle = Make<TRadioButton>("rbCircle", 8, 60, 300, 20);
    for (TControl* c : std::initializer_list<TControl*>{box, circle}) {
        SCOPED_TRACE(c->Name());
        c->SetCaption(text);
        int width = 300;
        while (width > 0) {
            c->SetBounds(8, c->Top(), width - 1, 20);
            if (c->CaptionCut()) break;
            --width;
        }
        c->SetBounds(8, c->Top(), width, 20);
        ASSERT_FALSE(c->CaptionCut());
        c->SetFocus();
        RECT r;
        GetClientRect(c->Handle(), &r);
        const int shown = r.right, height = r.bottom, wide = shown + 60;
        const std::vector<DWORD> all = Columns(Printed(c->Handle(), wide, height), wide, height, shown);
        EXPECT_EQ(Printed(c->Handle(), shown, height), all) << "the whole caption in " << shown << " pixels";
        SetWindowTextA(c->Handle(), text.c_str());
        EXPECT_NE(Columns(Printed(c->Handle(), shown - 1, height), shown - 1, height, shown - 1),
                  Columns(all, shown, height, shown - 1))
            << "room to spare in " << shown << " pixels";
    }
}

TEST_F(UiTest, LabelShowsItsFontStyleAlignmentAndWrapOnItsWindow)
{
    auto* label = Make<TLabel>("lLabel", 0, 0, 300, 17);
    EXPECT_EQ(GetWindowLongA(label->Handle(), GWL_STYLE) & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
    label->SetWordWrap(true);
    EXPECT_EQ(GetWindowLongA(label->Handle(), GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
    label->SetAlignment(TAlignment::Right);
    EXPECT_EQ(GetWindowLongA(label->Handle(), GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);

    label->SetBold(true);
    auto font = reinterpret_cast<HFONT>(SendMessageA(label->Handle(), WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfFaceName, WindowFontFace()) << "the face the layout is designed for, or the one with the system's script";

    label->SetFontColor(clRed);
    HDC dc = GetDC(label->Handle());
    SendMessageA(form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label->Handle()));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
    ReleaseDC(label->Handle(), dc);

    label->SetCaption("Information and Help:");
    char text[64] = {};
    GetWindowTextA(label->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Information and Help:");
}

TEST_F(UiTest, EnabledAndVisibleAreMirroredToTheWindow)
{
    auto* group = Make<TGroupBox>("gbGroup", 0, 0, 200, 100);
    auto* box = Make<TCheckBox>("cbBox", 5, 20, 100, 21, group);
    box->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(box->Handle()));
    box->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(box->Handle()));
    group->SetVisible(false);
    EXPECT_FALSE(box->Showing());
    EXPECT_TRUE(box->Visible());
    EXPECT_FALSE(IsWindowVisible(box->Handle()));
}
