// Every caption of the shipped language file fits its control and keeps clear of its neighbours,
// and the summary fits its memo, measured with the form's own font at 96, 120 and 144 pixels per inch.
#include <windows.h>

#include <algorithm>
#include <sstream>
#include <utility>

#include "presets/Difficulty.h"
#include "ui/Button.h"
#include "tests/support/WindowTest.h"

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

// The caption's extent with the font the window draws it in; a word-wrapped label is measured
// over its width.
SIZE TextSize(TControl* c, int wrapWidth)
{
    HWND h = c->Handle();
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0)));
    std::string text = c->CaptionText();
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

// Labels, check boxes and radio buttons of a form with a caption, and where they draw it; group
// boxes' captions are measured, not placed.
std::vector<Placed> Captions(TForm& form, std::vector<std::string>& faults)
{
    std::vector<Placed> placed;
    const int glyph = MulDiv(16, form.PixelsPerInch(), 96);  // a check box's box and the gap after it
    for (int i = 0; i < form.ComponentCount(); ++i) {
        auto* c = dynamic_cast<TControl*>(form.Components(i));
        if (!c || !c->Visible() || c->CaptionText().empty()) continue;
        auto* label = dynamic_cast<TLabel*>(c);
        bool box = dynamic_cast<TCheckBox*>(c) || dynamic_cast<TRadioButton*>(c);
        bool group = dynamic_cast<TGroupBox*>(c);
        if (auto* button = dynamic_cast<TButton*>(c)) {
            // A push button's caption, centred inside its frame.
            RECT r;
            GetClientRect(button->Handle(), &r);
            const SIZE text = TextSize(button, 0);
            const int room = r.right - MulDiv(6, form.PixelsPerInch(), 96);
            if (text.cx > room)
                faults.push_back(c->Name() + " \"" + c->CaptionText() + "\" needs " + std::to_string(text.cx) +
                                 ", has " + std::to_string(room));
            continue;
        }
        if (!label && !box && !group) continue;
        RECT r;
        GetWindowRect(c->Handle(), &r);
        MapWindowPoints(nullptr, GetParent(c->Handle()), reinterpret_cast<POINT*>(&r), 2);
        const int width = r.right - r.left, height = r.bottom - r.top;
        SIZE text = TextSize(c, label && label->WordWrap() ? width : 0);
        const int room = box ? width - glyph : group ? width - 14 : width;  // a group's 7 pixels in from either side
        if (text.cx > room || text.cy > height)
            faults.push_back(c->Name() + " \"" + c->CaptionText() + "\" needs " + std::to_string(text.cx) + "x" +
                             std::to_string(text.cy) + ", has " + std::to_string(room) + "x" + std::to_string(height));
        RECT drawn = r;
        const int used = (box ? glyph : 0) + static_cast<int>(text.cx);
        if (label && label->Alignment() == TAlignment::Right) drawn.left = r.right - used;
        else if (label && label->Alignment() == TAlignment::Center) drawn.left = r.left + (width - used) / 2;
        drawn.right = drawn.left + used;
        if (!group) placed.push_back({c, r, drawn});
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

TEST_F(LayoutFitTest, ShippedCaptionsAndTheSummaryFitTheirControlsAndOverlapNoNeighbourAtEachResolution)
{
    for (int dpi : {96, 120, 144}) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " pixels per inch");
        Application().SetPixelsPerInch(dpi);
        folder.Write("keymap.ini", ReadFileBytes(SourceFile("data/keymap.ini")));
        TfConfig& w = Open();
        ASSERT_EQ(w.PixelsPerInch(), dpi);
        auto check = [](TForm& form, std::size_t least) {
            std::vector<std::string> faults;
            std::vector<Placed> placed = Captions(form, faults);
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
        ASSERT_EQ(w.lFunction->CaptionText(), "Function for Ctrl+RShift");
        check(w, 80);
        dialogs.onModal = [&](TForm& list) { check(list, 5); list.Close(); };
        Click(w.bKeyList);
        dialogs.onModal = nullptr;
        CheckSummary(w);
        Close();
    }
}
