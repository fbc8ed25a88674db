#include "tests/ui/UiTest.h"

#include <utility>

#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/GroupBox.h"
#include "ui/RadioButton.h"
#include "ui/SpeedButton.h"

using namespace ui;

namespace {
int CheckOf(TControl* control) { return static_cast<int>(SendMessageA(control->Handle(), BM_GETCHECK, 0, 0)); }
}  // namespace

TEST_F(UiTest, CheckBoxRunsOnClickOnlyWhenItsStateChangesByCodeOrByClick)
{
    auto* box = Make<TCheckBox>("cbBox", 10, 10, 120, 21);
    int clicks = 0;
    box->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, box);
        ++clicks;
    };
    box->SetChecked(false);
    EXPECT_EQ(clicks, 0) << "already unchecked";
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(CheckOf(box), BST_CHECKED);
    box->SetState(TCheckBoxState::Checked);
    EXPECT_EQ(clicks, 1);
    box->SetState(TCheckBoxState::Grayed);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(CheckOf(box), BST_INDETERMINATE);

    // A user's click on the indeterminate box checks it, another unchecks it.
    Click(box);
    EXPECT_EQ(box->State(), TCheckBoxState::Checked);
    EXPECT_EQ(CheckOf(box), BST_CHECKED);
    Click(box);
    EXPECT_EQ(box->State(), TCheckBoxState::Unchecked);
    EXPECT_EQ(clicks, 4);

    // Detached for one assignment, attached again afterwards.
    auto saved = std::exchange(box->OnClick, nullptr);
    box->SetChecked(true);
    box->OnClick = saved;
    EXPECT_EQ(clicks, 4);
    box->SetChecked(false);
    EXPECT_EQ(clicks, 5);
}

TEST_F(UiTest, RadioButtonFiresWhenItBecomesCheckedAndUnchecksItsSiblingsOnly)
{
    auto* groupA = Make<TGroupBox>("gbA", 0, 0, 190, 120);
    auto* groupB = Make<TGroupBox>("gbB", 200, 0, 190, 120);
    auto* a1 = Make<TRadioButton>("rbA1", 5, 20, 100, 21, groupA);
    auto* a2 = Make<TRadioButton>("rbA2", 5, 45, 100, 21, groupA);
    auto* b1 = Make<TRadioButton>("rbB1", 5, 20, 100, 21, groupB);
    std::vector<std::string> fired;
    for (TRadioButton* r : {a1, a2, b1}) r->OnClick = [&fired, r](TObject*) { fired.push_back(r->Name()); };

    b1->SetChecked(true);
    a1->SetChecked(true);
    a2->SetChecked(true);
    EXPECT_FALSE(a1->Checked());
    EXPECT_EQ(CheckOf(a1), BST_UNCHECKED);
    EXPECT_TRUE(b1->Checked()) << "a radio button of another parent is no sibling";
    EXPECT_EQ(fired, (std::vector<std::string>{"rbB1", "rbA1", "rbA2"})) << "an unchecked sibling fires nothing";

    fired.clear();
    Click(a2);  // already checked
    EXPECT_TRUE(fired.empty());
    Click(a1);
    EXPECT_EQ(fired, std::vector<std::string>{"rbA1"});
    EXPECT_TRUE(a1->Checked());
    EXPECT_FALSE(a2->Checked());
    EXPECT_EQ(CheckOf(a1), BST_CHECKED);
    EXPECT_EQ(CheckOf(a2), BST_UNCHECKED);

    fired.clear();
    a1->SetChecked(false);
    EXPECT_TRUE(fired.empty());
    EXPECT_FALSE(a1->Checked());
}

TEST_F(UiTest, PushButtonClickRunsOnClickThroughTheRealMessage)
{
    auto* button = Make<TButton>("bOK", 10, 10, 75, 25);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    Click(button);
    Click(button);
    EXPECT_EQ(clicks, 2);
    button->SetEnabled(false);
    Click(button);
    EXPECT_EQ(clicks, 2) << "a disabled button takes no clicks";
}

namespace {
void RightClick(TControl* control)
{
    SendMessageA(control->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageA(control->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
}
}  // namespace

TEST_F(UiTest, SpeedButtonLatchesInItsGroupAndReleasesOnlyWhenReleasable)
{
    auto* a = Make<TSpeedButton>("sbA", 10, 10, 35, 36);
    auto* b = Make<TSpeedButton>("sbB", 60, 10, 35, 36);
    a->SetGroupIndex(7);
    b->SetGroupIndex(7);
    std::vector<bool> downAtClick;
    a->OnClick = [&](TObject*) { downAtClick.push_back(a->Down()); };

    Click(a);  // a released button is pressed, then OnClick runs
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(CheckOf(a), BST_CHECKED);
    Click(a);  // pressed and not releasable: stays pressed
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(downAtClick, (std::vector<bool>{true, true}));

    a->SetAllowAllUp(true);
    Click(a);
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(CheckOf(a), BST_UNCHECKED);

    a->SetDown(true);
    b->SetDown(true);  // pressing one releases the others of its group
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(CheckOf(a), BST_UNCHECKED);
    EXPECT_TRUE(b->AllowAllUp()) << "the group takes the releasable flag of the button pressed";

    b->SetAllowAllUp(false);
    b->SetDown(false);
    EXPECT_TRUE(b->Down()) << "a pressed button that may not be released stays down";
}

TEST_F(UiTest, SpeedButtonWithoutGroupDoesNotLatch)
{
    auto* key = Make<TSpeedButton>("sbKey", 10, 10, 35, 36);
    int clicks = 0;
    key->OnClick = [&](TObject*) { ++clicks; };
    key->SetDown(true);
    EXPECT_FALSE(key->Down());
    Click(key);
    EXPECT_FALSE(key->Down());
    EXPECT_EQ(CheckOf(key), BST_UNCHECKED);
    EXPECT_EQ(clicks, 1);
    key->SetGroupIndex(3);
    key->SetDown(true);
    EXPECT_TRUE(key->Down());
    key->SetGroupIndex(0);
    EXPECT_FALSE(key->Down());
}

TEST_F(UiTest, SpeedButtonRightClickReachesOnlyMouseUpAndLeftReleaseComesBeforeTheClick)
{
    auto* key = Make<TSpeedButton>("sbKey", 10, 10, 35, 36);
    key->SetGroupIndex(1);
    key->SetAllowAllUp(true);
    std::vector<std::string> events;
    key->OnClick = [&](TObject*) { events.push_back(key->Down() ? "click down" : "click up"); };
    key->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int, int) {
        events.push_back(button == TMouseButton::Right ? "right down" : "left down");
    };
    key->OnMouseUp = [&](TObject*, TMouseButton button, TShiftState, int, int) {
        events.push_back(button == TMouseButton::Right ? "right up" : "left up");
    };
    RightClick(key);
    EXPECT_FALSE(key->Down());
    EXPECT_EQ(events, (std::vector<std::string>{"right down", "right up"}));

    events.clear();
    Click(key);
    EXPECT_EQ(events, (std::vector<std::string>{"left down", "left up", "click down"}));

    key->SetDown(true);
    events.clear();
    RightClick(key);
    EXPECT_TRUE(key->Down()) << "a right click never changes the state";
}

TEST_F(UiTest, ADisabledButtonShowsItsToolTipWhenThePointerRestsOnIt)
{
    auto* button = new TButton(form.get(), "bRestore");
    button->SetCaption("Restore");
    button->SetShowHint(true);
    button->SetHint("Why it cannot be used");
    button->SetBounds(10, 60, 90, 30);
    button->SetEnabled(false);
    button->SetParent(form.get());
    HWND tip = nullptr;
    for (HWND w = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); w;
         w = FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr))
        if (GetWindow(w, GW_OWNER) == form->Handle()) tip = w;
    ASSERT_NE(tip, nullptr);
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    // A disabled window gets no mouse messages: its parent gets them over it.
    RECT r;
    GetWindowRect(button->Handle(), &r);
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetCursorPos(at.x, at.y);
    ScreenToClient(form->Handle(), &at);
    SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    const DWORD until = GetTickCount() + 3000;
    while (!IsWindowVisible(tip) && GetTickCount() < until) {
        ui::Application().ProcessMessages();
        Sleep(10);
    }
    EXPECT_TRUE(IsWindowVisible(tip));
    char text[80] = "";
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.lpszText = text;
    SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.uId, reinterpret_cast<UINT_PTR>(button->Handle()));
}

TEST_F(UiTest, SpeedButtonHintIsItsToolTip)
{
    auto* key = new TSpeedButton(form.get(), "sbQ");
    key->SetShowHint(true);
    key->SetBounds(10, 10, 35, 36);
    key->SetParent(form.get());
    key->SetHint("Actions: Attack");
    HWND tip = nullptr;
    for (HWND w = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); w;
         w = FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr))
        if (GetWindow(w, GW_OWNER) == form->Handle()) tip = w;
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    // The tool tip asks the form for the text when it shows.
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = tip;
    info.hdr.idFrom = reinterpret_cast<UINT_PTR>(key->Handle());
    info.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, "Actions: Attack");

    // The mouse comes to rest over the key: the tip shows.
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    RECT r;
    GetWindowRect(key->Handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    POINT inside{(r.right - r.left) / 2, (r.bottom - r.top) / 2};
    SendMessageA(key->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
    const DWORD until = GetTickCount() + 3000;
    while (!IsWindowVisible(tip) && GetTickCount() < until) {
        ui::Application().ProcessMessages();
        Sleep(10);
    }
    EXPECT_TRUE(IsWindowVisible(tip));
}
