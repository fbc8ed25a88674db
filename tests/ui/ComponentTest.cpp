#include "tests/ui/UiTest.h"

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

TEST_F(UiTest, LabelShowsItsFontStyleAlignmentAndWrapOnItsWindow)
{
    auto* label = Make<TLabel>("lLabel", 0, 0, 100, 17);
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
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");

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
