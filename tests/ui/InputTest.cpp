#include "tests/ui/UiTest.h"

#include "ui/Button.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/GroupBox.h"
#include "ui/TrackBar.h"
#include "ui/UpDown.h"

using namespace ui;

namespace {

void Type(HWND hwnd, const std::string& text)
{
    for (char c : text) SendMessageA(hwnd, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void Key(HWND hwnd, UINT key)
{
    SendMessageA(hwnd, WM_KEYDOWN, key, 1);
    SendMessageA(hwnd, WM_KEYUP, key, 0xC0000001);
}

HWND ComboEdit(TComboBox* combo) { return FindWindowExA(combo->Handle(), nullptr, "Edit", nullptr); }

}  // namespace

TEST_F(UiTest, TrackBarFiresOnProgramChangesOfPositionAndOnEveryScrollNotification)
{
    auto* bar = new TTrackBar(form.get(), "tbLevel");
    bar->SetOrientation(TTrackBarOrientation::Vertical);
    bar->SetRange(1, 6);
    bar->SetPosition(3);
    bar->SetBounds(10, 10, 40, 200);
    bar->SetParent(form.get());
    EXPECT_TRUE(GetWindowLongA(bar->Handle(), GWL_STYLE) & TBS_VERT);
    EXPECT_EQ(SendMessageA(bar->Handle(), TBM_GETPOS, 0, 0), 3);
    std::vector<int> seen;
    bar->OnChange = [&](TObject*) { seen.push_back(bar->Position()); };

    bar->SetPosition(3);
    EXPECT_TRUE(seen.empty()) << "the same position fires nothing";
    bar->SetPosition(9);
    EXPECT_EQ(seen, std::vector<int>{6}) << "held at the end of the range";
    EXPECT_EQ(SendMessageA(bar->Handle(), TBM_GETPOS, 0, 0), 6);

    // The user's keyboard: one step up, then the end of the action.
    seen.clear();
    SetFocus(bar->Handle());
    Key(bar->Handle(), VK_UP);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 5);
    EXPECT_EQ(bar->Position(), 5);

    // A notification that leaves the position where it was still fires.
    seen.clear();
    SendMessageA(form->Handle(), WM_VSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar->Handle()));
    EXPECT_EQ(seen, std::vector<int>{5});
}

TEST_F(UiTest, EditFiresOnChangeForEveryChangeOfItsText)
{
    auto* edit = Make<TEdit>("eText", 10, 10, 100, 24);
    std::vector<std::string> seen;
    edit->OnChange = [&](TObject*) { seen.push_back(edit->Text()); };
    edit->SetText("20000");
    edit->SetText("20000");
    EXPECT_EQ(seen, std::vector<std::string>{"20000"});
    char shown[32] = {};
    GetWindowTextA(edit->Handle(), shown, sizeof shown);
    EXPECT_STREQ(shown, "20000");

    seen.clear();
    SetFocus(edit->Handle());
    SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
    Type(edit->Handle(), "12");
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "12"}));
    EXPECT_EQ(edit->Text(), "12");
}

TEST_F(UiTest, ExitFiresWhenTheFocusMovesToAnotherControlOfTheWindowOnly)
{
    auto* group = Make<TGroupBox>("gbGroup", 0, 0, 200, 100);
    auto* edit = Make<TEdit>("eText", 10, 20, 100, 24, group);
    auto* other = Make<TButton>("bOther", 10, 60, 75, 25, group);
    int exits = 0;
    edit->OnExit = [&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        ++exits;
    };
    edit->SetFocus();
    ASSERT_TRUE(edit->Focused());
    other->SetFocus();
    EXPECT_EQ(exits, 1);

    // Another window taking the focus is no exit.
    edit->SetFocus();
    TestForm second;
    second.Show();
    SetFocus(second.Handle());
    EXPECT_EQ(exits, 1);
}

TEST_F(UiTest, EnterFiresWhenTheFocusComesFromTheWindowOrAnotherOfItsControlsOnly)
{
    auto* group = Make<TGroupBox>("gbGroup", 0, 0, 200, 100);
    auto* edit = Make<TEdit>("eText", 10, 20, 100, 24, group);
    auto* other = Make<TButton>("bOther", 10, 60, 75, 25, group);
    int enters = 0;
    edit->OnEnter = [&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        ++enters;
    };
    other->SetFocus();
    edit->SetFocus();
    EXPECT_EQ(enters, 1);
    edit->SetFocus();
    EXPECT_EQ(enters, 1) << "already there";
    SetFocus(form->Handle());
    edit->SetFocus();
    EXPECT_EQ(enters, 2);

    // Coming back from another window, or from none, is no entry: the message says where from.
    TestForm second;
    SendMessageA(edit->Handle(), WM_SETFOCUS, reinterpret_cast<WPARAM>(second.Handle()), 0);
    SendMessageA(edit->Handle(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(enters, 2);
}

TEST_F(UiTest, AttachedUpDownShowsItsPositionInTheEditAndStepsFromWhatTheEditShows)
{
    auto* edit = Make<TEdit>("eCache", 10, 10, 90, 24);
    auto* upDown = new TUpDown(form.get(), "udCache");
    upDown->SetRange(150, 10000);
    upDown->SetPosition(300);
    upDown->SetBounds(83, 10, 17, 24);
    upDown->SetParent(form.get());
    upDown->SetAssociate(edit);
    EXPECT_EQ(edit->Text(), "300");
    EXPECT_EQ(edit->Width() + upDown->Width(), 90) << "the arrows sit inside the edit's width";

    upDown->SetPosition(12000);
    EXPECT_EQ(edit->Text(), "10000");
    upDown->SetPosition(2500);
    EXPECT_EQ(edit->Text(), "2500") << "no thousands separator";

    edit->SetText("120");
    EXPECT_EQ(upDown->Position(), 2500) << "a number out of range is no position";
    edit->SetText("250");
    EXPECT_EQ(upDown->Position(), 250);
    edit->SetText("abc");
    EXPECT_EQ(upDown->Position(), 250);

    // The user's arrow key in the edit steps from the typed number.
    edit->SetText("400");
    int clicks = 0;
    upDown->OnClick = [&](TObject*) { ++clicks; };
    SetFocus(edit->Handle());
    Key(edit->Handle(), VK_UP);
    EXPECT_EQ(edit->Text(), "401");
    EXPECT_EQ(upDown->Position(), 401);
    EXPECT_EQ(clicks, 1);
}

TEST_F(UiTest, StandaloneUpDownRunsOnClickAfterItsArrowMovedThePosition)
{
    auto* upDown = new TUpDown(form.get(), "udNodes");
    upDown->SetRange(40, 4000);
    upDown->SetPosition(40);
    upDown->SetBounds(10, 10, 17, 24);
    upDown->SetParent(form.get());
    std::vector<int> seen;
    upDown->OnClick = [&](TObject*) { seen.push_back(upDown->Position()); };

    // A press and release on the upper arrow.
    RECT r;
    GetClientRect(upDown->Handle(), &r);
    LPARAM upper = MAKELPARAM(r.right / 2, r.bottom / 4);
    SendMessageA(upDown->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, upper);
    SendMessageA(upDown->Handle(), WM_LBUTTONUP, 0, upper);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], 41);
    upDown->SetPosition(4000);
    LPARAM lower = MAKELPARAM(r.right / 2, r.bottom * 3 / 4);
    SendMessageA(upDown->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, lower);
    SendMessageA(upDown->Handle(), WM_LBUTTONUP, 0, lower);
    EXPECT_EQ(seen.back(), 3999);
}

TEST_F(UiTest, ComboBoxFiresOnlyForTheUsersChanges)
{
    auto* combo = Make<TComboBox>("cbList", 10, 10, 200, 24, nullptr, /*sorted=*/true);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->Add("Pick Lock");
    combo->Add("attack");
    combo->Add("Cast Spell");
    EXPECT_EQ(combo->Items(), (std::vector<std::string>{"attack", "Cast Spell", "Pick Lock"}))
        << "a sorted list sorts as the platform does, ignoring case";
    EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
    combo->SetText("Cast Spell");
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->SetItemIndex(0);
    EXPECT_EQ(combo->Text(), "attack");
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Text(), "");
    EXPECT_EQ(changes, 0) << "program changes fire nothing";
    EXPECT_EQ(combo->IndexOf("ATTACK"), -1) << "the item lookup is exact";

    // Picking the next item with the keyboard.
    HWND editBox = ComboEdit(combo);
    ASSERT_NE(editBox, nullptr);
    combo->SetItemIndex(0);
    SetFocus(editBox);
    std::string pickedText;
    combo->OnChange = [&](TObject*) {
        ++changes;
        pickedText = combo->Text();
    };
    Key(editBox, VK_DOWN);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pickedText, "Cast Spell") << "the handler sees the picked item as the text";

    // Typing.
    changes = 0;
    SendMessageA(editBox, EM_SETSEL, 0, -1);
    Type(editBox, "Pi");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(combo->Text().substr(0, 2), "Pi");
}

TEST_F(UiTest, TabMovesTheFocusToTheNextControlAndThatIsAnExit)
{
    auto* first = Make<TEdit>("eFirst", 10, 10, 100, 24);
    auto* second = Make<TEdit>("eSecond", 10, 40, 100, 24);
    int exits = 0;
    first->OnExit = [&](TObject*) { ++exits; };
    SetForegroundWindow(form->Handle());
    first->SetFocus();
    PostMessageA(first->Handle(), WM_KEYDOWN, VK_TAB, 1);
    PostMessageA(first->Handle(), WM_KEYUP, VK_TAB, 0xC0000001);
    Application().ProcessMessages();
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(exits, 1);
}
