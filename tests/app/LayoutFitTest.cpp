// Every caption of the shipped language file fits its control and keeps clear of its neighbours,
// and the summary fits its memo, measured with the form's own font at 96, 120 and 144 pixels per inch;
// with captions 40% longer, each still fits, after widening into its group or cut with "..." and
// whole in its tool tip.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <utility>

#include "lang/LanguageIndex.h"
#include "presets/Difficulty.h"
#include "ui/Button.h"
#include "tests/support/WindowTest.h"
#include "ui/AccessKey.h"

using namespace ui;

namespace {

struct Placed {
    TControl* control;
    RECT box;   // the control in its parent, screen pixels
    RECT text;  // where its caption is drawn
};

std::string Describe(const RECT& r)
{
    std::ostringstream out;
    out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    return out.str();
}

bool Overlap(const RECT& a, const RECT& b)
{
    RECT both;
    return IntersectRect(&both, &a, &b);
}

// What the window shows of the caption, as words.
std::string ShownText(TControl* c)
{
    auto* label = dynamic_cast<TLabel*>(c);
    return label && !label->ShowAccelChar() ? c->ShownCaption() : StripAccessKeys(c->ShownCaption());
}

// The caption's extent with the font the window draws it in; a word-wrapped label is measured
// over its width.
SIZE TextSize(TControl* c, int wrapWidth)
{
    HWND h = c->Handle();
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0)));
    std::string text = ShownText(c);
    SIZE size{};
    if (wrapWidth > 0) {
        RECT r{0, 0, wrapWidth, 0};
        DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        size = {r.right, r.bottom};
    } else {
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    return size;
}

// A caption that is cut ends in "..." and is whole in the control's tool tip; with cut false, none is.
void CheckCut(TForm& form, TControl* c, bool cutAllowed, std::vector<std::string>& faults)
{
    if (!c->CaptionCut()) return;
    if (!cutAllowed) {
        faults.push_back(c->Name() + " \"" + c->CaptionText() + "\" is cut to \"" + c->ShownCaption() + "\"");
        return;
    }
    const std::string& shown = c->ShownCaption();
    if (shown.size() < 3 || shown.compare(shown.size() - 3, 3, "...") != 0)
        faults.push_back(c->Name() + " is cut without \"...\": " + shown);
    auto* label = dynamic_cast<TLabel*>(c);
    const std::string whole = label && !label->ShowAccelChar() ? c->Caption() : c->CaptionText();
    if (c->ToolTipText() != whole) faults.push_back(c->Name() + "'s tool tip is \"" + c->ToolTipText() + "\"");
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = form.Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(c->Handle());
    if (!form.ToolTipWindow() || !SendMessageA(form.ToolTipWindow(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)))
        faults.push_back(c->Name() + " is cut and has no tool tip");
}

// Labels, check boxes and radio buttons of a form with a caption, and where they draw it; group
// boxes' and buttons' captions are measured, not placed.
std::vector<Placed> Captions(TForm& form, bool cutAllowed, std::vector<std::string>& faults)
{
    std::vector<Placed> placed;
    const int glyph = MulDiv(16, form.PixelsPerInch(), 96);  // a check box's box and the gap after it
    for (int i = 0; i < form.ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(form.Components(i));
        if (!c || !c->Visible() || c->CaptionText().empty()) continue;
        auto* label = dynamic_cast<TLabel*>(c);
        bool box = dynamic_cast<TCheckBox*>(c) || dynamic_cast<TRadioButton*>(c);
        bool group = dynamic_cast<TGroupBox*>(c);
        bool button = dynamic_cast<TButton*>(c);
        if (!label && !box && !group && !button) continue;
        CheckCut(form, c, cutAllowed, faults);
        RECT r;
        GetWindowRect(c->Handle(), &r);
        MapWindowPoints(nullptr, GetParent(c->Handle()), reinterpret_cast<POINT*>(&r), 2);
        const int width = r.right - r.left, height = r.bottom - r.top;
        SIZE text = TextSize(c, label && label->WordWrap() ? width : 0);
        // A group's caption runs 7 pixels in from either side, a button's inside its edges.
        const int room = box ? width - glyph : group ? width - 14 : button ? width - MulDiv(6, form.PixelsPerInch(), 96) : width;
        if (text.cx > room || text.cy > height)
            faults.push_back(c->Name() + " \"" + c->CaptionText() + "\" needs " + std::to_string(text.cx) + "x" +
                             std::to_string(text.cy) + ", has " + std::to_string(room) + "x" + std::to_string(height));
        RECT drawn = r;
        const int used = (box ? glyph : 0) + static_cast<int>(text.cx);
        if (label && label->Alignment() == TAlignment::Right) drawn.left = r.right - used;
        else if (label && label->Alignment() == TAlignment::Center) drawn.left = r.left + (width - used) / 2;
        drawn.right = drawn.left + used;
        if (!group && !button) placed.push_back({c, r, drawn});
    }
    return placed;
}

// Captions clear of every other shown control of the same parent, and inside their group's frame.
void CheckNeighbours(TForm& form, const std::vector<Placed>& placed, std::vector<std::string>& faults)
{
    const int frame = MulDiv(2, form.PixelsPerInch(), 96);
    for (const Placed& p : placed) {
        for (int i = 0; i < form.ComponentCount(); ++i) {
            auto* other = dynamic_cast<TControl*>(form.Components(i));
            if (!other || other == p.control || other->Parent() != p.control->Parent() || !other->Visible() ||
                !other->Handle())
                continue;
            RECT r;
            GetWindowRect(other->Handle(), &r);
            MapWindowPoints(nullptr, GetParent(other->Handle()), reinterpret_cast<POINT*>(&r), 2);
            if (Overlap(p.text, r))
                faults.push_back(p.control->Name() + " " + Describe(p.text) + " overlaps " + other->Name() + " " +
                                 Describe(r));
        }
        // Rows of check boxes and radio buttons: the glyph or the caption, whichever is taller, and a gap,
        // so that neither the circles nor the underlined letters touch the row below.
        const bool box = dynamic_cast<TCheckBox*>(p.control) || dynamic_cast<TRadioButton*>(p.control);
        const int row = std::max<int>(MulDiv(13, form.PixelsPerInch(), 96), TextSize(p.control, 0).cy) +
                        MulDiv(3, form.PixelsPerInch(), 96);
        for (const Placed& below : placed) {
            const bool belowBox = dynamic_cast<TCheckBox*>(below.control) || dynamic_cast<TRadioButton*>(below.control);
            if (box && belowBox && below.control->Parent() == p.control->Parent() && below.box.top > p.box.top &&
                below.box.left < p.box.right && p.box.left < below.box.right && below.box.top - p.box.top < row)
                faults.push_back(below.control->Name() + " is " + std::to_string(below.box.top - p.box.top) +
                                 " pixels below " + p.control->Name() + ", a row needs " + std::to_string(row));
        }
        if (dynamic_cast<TGroupBox*>(p.control->Parent())) {
            RECT inside;
            GetClientRect(p.control->Parent()->Handle(), &inside);
            InflateRect(&inside, -frame, -frame);
            if (p.box.bottom > inside.bottom || p.text.left < inside.left || p.text.right > inside.right)
                faults.push_back(p.control->Name() + " " + Describe(p.box) + " reaches the frame of " +
                                 p.control->Parent()->Name() + " " + Describe(inside));
        }
    }
}

// The summary at its widest, every option off, six-digit search nodes and a full precache, with
// each resolution in turn: one entry a line, none wrapped, the last in view without scrolling.
void CheckSummary(TfConfig& w)
{
    w.tbGeneral->SetPosition(1);
    w.tbGraphics->SetPosition(1);
    for (TCheckBox* box : {w.cbEnhancedPathfinding, w.cbTranslucentShadows, w.cbLowEndMachine, w.cbLowEndMachine2,
                           w.cb3dAnimations, w.cbBrightenOff, w.cbForce50Transparency, w.cbDisableCastingGlows,
                           w.cbDisableVidCells, w.cbMidLevelBrighten, w.cbHighLevelBrighten, w.cbFootsteps,
                           w.cbAttackSounds})
        box->SetChecked(false);
    HWND memo = w.mSettings->Handle();
    auto top = [&](LRESULT line) {
        LRESULT at = SendMessageA(memo, EM_POSFROMCHAR, SendMessageA(memo, EM_LINEINDEX, line, 0), 0);
        return static_cast<short>(HIWORD(at));
    };
    for (TRadioButton* resolution : w.resolutionButtons) {
        auto rule = std::exchange(resolution->OnClick, nullptr);  // no warning for the unsupported ones
        resolution->SetChecked(true);
        resolution->OnClick = rule;
        w.RefreshSummary();
        const auto lines = static_cast<LRESULT>(w.mSettings->Lines().size());
        RECT shown;
        SendMessageA(memo, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&shown));
        ASSERT_EQ(SendMessageA(memo, EM_GETLINECOUNT, 0, 0), lines) << "mSettings wraps:\n" << w.mSettings->Text();
        ASSERT_LE(top(lines - 1) + top(1) - top(0), shown.bottom) << "mSettings shows its last line out of view";
    }
}

}  // namespace

class LayoutFitTest : public WindowTest {
protected:
    void TearDown() override
    {
        Application().SetPixelsPerInch(0);
        WindowTest::TearDown();
    }
};

// The shipped file with every caption about 40% longer: the words of its first part again, after a blank.
std::string LongerCaptions(const std::string& shipped, const TfConfig& w)
{
    std::string longer;
    for (const std::string& line : SplitLanguageLines(shipped)) {
        const std::string name = EntryName(line), value = EntryValue(line);
        const TComponent* c = name.empty() ? nullptr : w.FindComponent(name);
        if (!c) c = name.empty() ? nullptr : w.dlgDifficulty->FindComponent(name);
        const std::string kind = c ? c->ClassName() : "";
        if (kind != "TLabel" && kind != "TCheckBox" && kind != "TRadioButton" && kind != "TGroupBox" &&
            kind != "TButton" && kind != "TTabSheet") {
            longer += line + "\r\n";
            continue;
        }
        const std::size_t bar = value.find('|');
        const std::string title = value.substr(0, bar), words = StripAccessKeys(title);
        const std::string added = words.substr(0, (words.size() * 2 + 4) / 5);
        longer += name + "=" + title + " " + added + (bar == std::string::npos ? "" : value.substr(bar)) + "\r\n";
    }
    return longer;
}

// The English file, or the shipped translation KX_LANGUAGE_FILE names (run under its code page).
TEST_F(LayoutFitTest, ShippedCaptionsAndTheSummaryFitTheirControlsAndOverlapNoNeighbourAtEachResolution)
{
    const char* translation = std::getenv("KX_LANGUAGE_FILE");
    if (const char* expected = std::getenv("KX_EXPECT_CODE_PAGE")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected))) << "the system code page of this run";
    }
    for (int dpi : {96, 120, 144}) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " pixels per inch");
        Application().SetPixelsPerInch(dpi);
        folder.Write("keymap.ini", ReadFileBytes(SourceFile("data/keymap.ini")));
        if (translation) folder.Write("Language.txt", ReadFileBytes(SourceFile(translation)));
        TfConfig& w = Open();
        ASSERT_EQ(w.PixelsPerInch(), dpi);
        auto check = [](TForm& form, std::size_t least) {
            std::vector<std::string> faults;
            std::vector<Placed> placed = Captions(form, false, faults);
            CheckNeighbours(form, placed, faults);
            EXPECT_GT(placed.size(), least) << "the captions were found";
            for (const std::string& fault : faults) ADD_FAILURE() << form.Name() << ": " << fault;
        };
        check(w, 80);
        check(*w.dlgDifficulty, 10);
        // The words under the keyboard change with the layer shown, the function list's label with
        // the key selected: the widest is the right Shift in the Ctrl layer.
        Click(w.sbCtrlLeft);
        Click(w.sbShiftRight);
        if (!translation) {
            ASSERT_EQ(w.lFunction->CaptionText(), "Function for Ctrl+RShift");
        }
        check(w, 80);
        dialogs.onModal = [&](TForm& list) { check(list, 5); list.Close(); };
        Click(w.bKeyList);
        dialogs.onModal = nullptr;
        CheckSummary(w);
        Close();
    }
}

TEST_F(LayoutFitTest, CaptionsFortyPercentLongerFitByWideningOrAreCutWithTheWholeTextInTheirToolTip)
{
    Open();
    const std::string longer = LongerCaptions(ReadFileBytes(SourceFile("data/Language.txt")), *window);
    Close();
    folder.Write("Language.txt", longer);
    for (int dpi : {96, 120, 144}) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " pixels per inch");
        Application().SetPixelsPerInch(dpi);
        TfConfig& w = Open();
        std::size_t cut = 0;
        auto check = [&](TForm& form) {
            std::vector<std::string> faults;
            std::vector<Placed> placed = Captions(form, true, faults);
            CheckNeighbours(form, placed, faults);
            for (const std::string& fault : faults) ADD_FAILURE() << form.Name() << ": " << fault;
            for (int i = 0; i < form.ComponentCount(); ++i)
                if (auto* c = dynamic_cast<TControl*>(form.Components(i))) cut += c->CaptionCut();
        };
        check(w);
        check(*w.dlgDifficulty);
        EXPECT_GT(cut, 0u) << "some captions are too long to fit even so";
        Close();
    }
}
