// When the component layer makes the windows of a form's controls: those the form shows when it is
// shown, the rest while the program is idle, a few at a time, or at once when one is asked for, a page
// is opened or something modal comes; and that each window is made once with its control's state.
#include "tests/ui/UiTest.h"

#include <algorithm>

#include "tests/support/MessageLog.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Edit.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/Memo.h"
#include "ui/PageControl.h"
#include "ui/TrackBar.h"
#include "ui/UpDown.h"

using namespace ui;

namespace {

std::string TextOf(HWND hwnd)
{
    char text[256] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// A form of two pages and a button below them, its controls given their state before any window exists.
struct TwoPages {
    TestForm form;
    TButton* ok = Place<TButton>("bOK", &form, 300, 260, 80, 30);
    TPageControl* pages = Place<TPageControl>("pcPages", &form, 0, 0, 400, 250);
    TTabSheet* first = Place<TTabSheet>("tsFirst", pages, 0, 0, 10, 10);
    TGroupBox* group = Place<TGroupBox>("gbGroup", first, 8, 8, 200, 100);
    TCheckBox* check = Place<TCheckBox>("cbCheck", group, 8, 20, 150, 21);
    TLabel* label = Place<TLabel>("lLabel", group, 8, 50, 150, 17);
    TLabel* hiddenLabel = Place<TLabel>("lHidden", first, 8, 120, 150, 17);
    TTabSheet* second = Place<TTabSheet>("tsSecond", pages, 0, 0, 10, 10);
    TEdit* edit = Place<TEdit>("eEdit", second, 8, 8, 100, 24);
    TUpDown* upDown = Place<TUpDown>("udUpDown", second, 108, 8, 17, 24);
    TComboBox* combo = Place<TComboBox>("cbCombo", second, 8, 40, 150, 24, true);
    TTrackBar* bar = Place<TTrackBar>("tbBar", second, 8, 70, 200, 34);
    TMemo* memo = Place<TMemo>("mMemo", second, 8, 110, 200, 60);
    TCheckBox* disabled = Place<TCheckBox>("cbDisabled", second, 210, 8, 150, 21);
    TCheckBox* hidden = Place<TCheckBox>("cbHidden", second, 210, 40, 150, 21);

    TwoPages()
    {
        check->SetChecked(true);
        label->SetCaption("Information and Help:");
        label->SetBold(true);
        hiddenLabel->SetVisible(false);
        first->SetCaption("First");
        second->SetCaption("Second");
        upDown->SetRange(150, 10000);
        upDown->SetPosition(300);
        upDown->SetAssociate(edit);
        combo->Add("Pick Lock");
        combo->Add("attack");
        combo->Add("Cast Spell");
        combo->SetText("Cast Spell");
        bar->SetRange(15, 60);
        bar->SetPosition(30);
        memo->SetLines({"one", "two"});
        disabled->SetCaption("Disabled");
        disabled->SetEnabled(false);
        hidden->SetVisible(false);
    }

    template <class T, class... Extra>
    T* Place(const char* name, TControl* parent, int left, int top, int width, int height, Extra... extra)
    {
        T* control = new T(&form, name, extra...);
        control->SetBounds(left, top, width, height);
        control->SetParent(parent);
        return control;
    }

    std::vector<TControl*> All() const
    {
        return {ok, pages, first, group, check, label, hiddenLabel, second, edit, upDown, combo, bar, memo, disabled, hidden};
    }
    int WithWindows() const
    {
        auto all = All();
        return static_cast<int>(std::count_if(all.begin(), all.end(), [](TControl* c) { return c->HandleAllocated(); }));
    }
};

// The user clicks a tab of a page control: the tab control selects it and tells its parent.
void ClickTab(TPageControl* pages, int index)
{
    SendMessageA(pages->Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR header{pages->Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(GetParent(pages->Handle()), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

// A real message box over boxOwner is closed as soon as it is active; whether the form had every
// window of its controls made by then is noted.
TForm* boxOwner = nullptr;
bool completeAtBox = false;
LRESULT CALLBACK CloseBoxOnceActive(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && boxOwner && reinterpret_cast<HWND>(wParam) != boxOwner->Handle()) {
        completeAtBox = boxOwner->HandlesComplete();
        PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class WindowCreation : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application().Initialize();
        Application().SetDialogs(&dialogs);
    }
    void TearDown() override
    {
        EXPECT_EQ(dialogs.Unexpected(), 0);
        Application().SetDialogs(nullptr);
    }
    ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(WindowCreation, ShowingMakesWhatTheFormShowsIdleTimeTheRestFewAtATimeEachOnceWithItsState)
{
    TwoPages w;
    EXPECT_EQ(w.WithWindows(), 0);
    EXPECT_FALSE(w.form.HandleAllocated());

    MessageLog log;
    w.form.Show();
    for (TControl* c : std::initializer_list<TControl*>{&w.form, w.ok, w.pages, w.first, w.group, w.check, w.label})
        EXPECT_TRUE(c->HandleAllocated()) << c->Name() << " is shown with the form";
    for (TControl* c : std::initializer_list<TControl*>{w.hiddenLabel, w.second, w.edit, w.combo, w.hidden})
        EXPECT_FALSE(c->HandleAllocated()) << c->Name() << " is not shown";
    EXPECT_EQ(GetWindow(w.form.Handle(), GW_CHILD), w.ok->Handle()) << "the windows keep the order of the controls";

    // With the queue empty the loop makes the rest; input that comes meanwhile waits for a few windows only.
    const int shown = w.WithWindows();
    int madeBeforeInput = -1;
    log.onMake = [&](int) {
        if (madeBeforeInput >= 0) return;
        madeBeforeInput = w.WithWindows();
        PostMessageA(w.form.Handle(), WM_APP, 0, 0);
    };
    MSG msg;
    for (;;) {  // the shown form is painted first
        ASSERT_TRUE(Application().NextMessage(msg));
        if (msg.message == WM_APP) break;
        ASSERT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(madeBeforeInput, shown);
    EXPECT_GT(w.WithWindows(), shown);
    EXPECT_LE(w.WithWindows() - madeBeforeInput, 8) << "windows made before the input was taken";
    log.onMake = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);  // wakes the loop once all is made
    for (int turns = 0; turns < 100 && !w.form.HandlesComplete(); ++turns) {
        ASSERT_TRUE(Application().NextMessage(msg));
        DispatchMessageA(&msg);
    }
    KillTimer(nullptr, timer);
    EXPECT_TRUE(w.form.HandlesComplete());

    // Each window as its control is, with nothing written twice.
    for (TControl* c : w.All()) {
        HWND hwnd = c->Handle();
        EXPECT_EQ(log.Count(hwnd, WM_SETFONT), 1) << c->Name();
        for (UINT state : {WM_SETTEXT, BM_SETCHECK, TBM_SETPOS, TBM_SETRANGEMAX, UDM_SETPOS32, UDM_SETBUDDY, CB_SETCURSEL})
            EXPECT_LE(log.Count(hwnd, state), 1) << c->Name() << ", message " << state;
        EXPECT_EQ(IsWindowEnabled(hwnd) != 0, c->Enabled()) << c->Name();
        EXPECT_EQ((GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0, c->Visible()) << c->Name();
    }
    EXPECT_EQ(SendMessageA(w.check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(TextOf(w.label->Handle()), "Information and Help:");
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(w.label->Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_EQ(TextOf(w.edit->Handle()), "300");
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(w.upDown->Handle(), UDM_GETBUDDY, 0, 0)), w.edit->Handle());
    EXPECT_EQ(SendMessageA(w.upDown->Handle(), UDM_GETPOS32, 0, 0), 300);
    ASSERT_EQ(SendMessageA(w.combo->Handle(), CB_GETCOUNT, 0, 0), 3);
    for (int i = 0; i < 3; ++i) {
        char item[64] = {};
        SendMessageA(w.combo->Handle(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        EXPECT_EQ(item, w.combo->Items()[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(SendMessageA(w.combo->Handle(), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(TextOf(w.combo->Handle()), "Cast Spell");
    EXPECT_EQ(SendMessageA(w.bar->Handle(), TBM_GETRANGEMIN, 0, 0), 15);
    EXPECT_EQ(SendMessageA(w.bar->Handle(), TBM_GETRANGEMAX, 0, 0), 60);
    EXPECT_EQ(SendMessageA(w.bar->Handle(), TBM_GETPOS, 0, 0), 30);
    EXPECT_EQ(TextOf(w.memo->Handle()), "one\r\ntwo");
    EXPECT_EQ(log.Count(w.label->Handle(), WM_SETTEXT), 0) << "a caption comes with the window";
    EXPECT_EQ(log.Count(w.form.Handle(), WM_SETTEXT), 0) << "the form too is made with its caption";
}

TEST_F(WindowCreation, AWindowAskedForComesWithItsParentsInItsPlaceAndAnOpenedPageWithAllItShows)
{
    TwoPages w;
    w.form.Show();
    int changes = 0;
    bool shownAtChange = false;
    w.pages->OnChange = [&](TObject*) {
        ++changes;
        shownAtChange = w.edit->HandleAllocated() && w.combo->HandleAllocated() && w.memo->HandleAllocated();
    };

    // Asked for out of order: the page and the control, no sibling; a sibling made later goes before it.
    HWND combo = w.combo->Handle();
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(w.second->HandleAllocated());
    EXPECT_FALSE(w.edit->HandleAllocated());
    EXPECT_FALSE(w.upDown->HandleAllocated());
    HWND edit = w.edit->Handle();
    EXPECT_EQ(GetWindow(w.second->Handle(), GW_CHILD), edit);
    EXPECT_EQ(GetWindow(edit, GW_HWNDNEXT), combo);

    // The user opens the page: what it shows is there before the handler runs; the hidden stays unmade.
    ClickTab(w.pages, 1);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(shownAtChange);
    EXPECT_TRUE(IsWindowVisible(w.memo->Handle()));
    EXPECT_FALSE(w.hidden->HandleAllocated());
    EXPECT_FALSE(w.hiddenLabel->HandleAllocated());

    // A control placed in a shown parent is shown at once.
    TLabel* late = w.Place<TLabel>("lLate", w.second, 8, 200, 100, 17);
    EXPECT_TRUE(late->HandleAllocated());
    w.hidden->SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(w.hidden->Handle()));
}

TEST_F(WindowCreation, SomethingModalOverAShownFormComesOnceEveryWindowOfTheFormIsMade)
{
    HHOOK hook = SetWindowsHookExA(WH_CBT, CloseBoxOnceActive, nullptr, GetCurrentThreadId());
    {
        TwoPages w;
        w.form.Show();
        ASSERT_FALSE(w.form.HandlesComplete());
        boxOwner = &w.form;
        completeAtBox = false;
        Win32Dialogs platform;
        EXPECT_EQ(platform.ShowMessage(&w.form, "text", "title", TMsgDlgType::Information, TMsgDlgButtons::OK),
                  TModalResult::OK);
        EXPECT_TRUE(completeAtBox);
        boxOwner = nullptr;
    }
    UnhookWindowsHookEx(hook);

    // A form disabled while a program of the video test runs.
    TwoPages w;
    w.form.Show();
    ASSERT_FALSE(w.form.HandlesComplete());
    w.form.SetEnabled(false);
    EXPECT_TRUE(w.form.HandlesComplete());
    EXPECT_FALSE(IsWindowEnabled(w.form.Handle()));
}

TEST_F(WindowCreation, ASortedComboBoxOrdersItsItemsAsTheSortedListOfThePlatformWithOrWithoutItsWindow)
{
    const std::vector<std::string> items = {"Pick Lock", "attack", "co-op", "Coop", "Zed", "apple pie",
                                            "Apple",     "it's",   "its",   "_x",   "10 Gold", "2 Gold"};
    TestForm form;
    auto* early = new TComboBox(&form, "cbEarly", /*sorted=*/true);
    early->SetBounds(0, 0, 100, 24);
    early->SetParent(&form);
    for (const std::string& item : items) early->Add(item);

    form.Show();
    HWND platform = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWN | CBS_SORT, 0, 0, 100, 100,
                                    form.Handle(), nullptr, nullptr, nullptr);
    auto* late = new TComboBox(&form, "cbLate", /*sorted=*/true);
    late->SetBounds(0, 30, 100, 24);
    late->SetParent(&form);
    ASSERT_TRUE(late->HandleAllocated());
    for (const std::string& item : items) {
        SendMessageA(platform, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        late->Add(item);
    }
    std::vector<std::string> sorted;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        char text[64] = {};
        SendMessageA(platform, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        sorted.push_back(text);
    }
    EXPECT_EQ(early->Items(), sorted) << "sorted before its window was made";
    EXPECT_EQ(late->Items(), sorted) << "sorted by the window's side";
    for (TComboBox* combo : {early, late})
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            char text[64] = {};
            SendMessageA(combo->Handle(), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(text, sorted[static_cast<std::size_t>(i)]) << combo->Name() << " item " << i;
        }
    DestroyWindow(platform);
}
