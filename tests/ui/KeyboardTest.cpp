// The keyboard in a form, driven by key messages as the keyboard sends them.
#include "tests/ui/UiTest.h"

#include <string>
#include <vector>

#include "tests/support/Keys.h"
#include "ui/AccessKey.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/PageControl.h"
#include "ui/RadioButton.h"
#include "ui/SpeedButton.h"
#include "ui/SystemText.h"

using namespace ui;

namespace {

// A form with one of each kind of stop: an edit, a radio group, a check box, a picture of keys
// in two rows, and OK and Cancel.
class KeyboardTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        lName = Make<TLabel>("lName", 10, 10, 60, 17);
        lName->SetCaption("&Name");
        eName = Make<TEdit>("eName", 80, 10, 100, 24);
        auto* group = Make<TGroupBox>("gbChoice", 10, 40, 180, 90);
        r1 = Make<TRadioButton>("rbOne", 8, 16, 150, 20, group);
        r2 = Make<TRadioButton>("rbTwo", 8, 38, 150, 20, group);
        r3 = Make<TRadioButton>("rbThree", 8, 60, 150, 20, group);
        r1->SetCaption("&One");
        r2->SetCaption("T&wo");
        r3->SetCaption("Th&ree");
        r2->SetChecked(true);
        cCheck = Make<TCheckBox>("cbCheck", 10, 140, 150, 20);
        cCheck->SetCaption("&Check");
        auto* picture = Make<TGroupBox>("gbKeys", 200, 10, 180, 100);
        k1 = Make<TSpeedButton>("sbQ", 10, 20, 35, 30, picture);
        k2 = Make<TSpeedButton>("sbW", 60, 20, 35, 30, picture);
        k3 = Make<TSpeedButton>("sbA", 20, 60, 35, 30, picture);
        k4 = Make<TSpeedButton>("sbS", 70, 60, 35, 30, picture);
        ok = Make<TButton>("bOK", 200, 250, 80, 25);
        cancel = Make<TButton>("bCancel", 290, 250, 80, 25);
        ok->SetCaption("OK");
        cancel->SetCaption("Cancel");
        ok->SetDefault(true);
        cancel->SetCancel(true);
        for (TControl* c : std::initializer_list<TControl*>{r1, r2, r3, cCheck, ok, cancel})
            c->OnClick = [this](TObject* sender) { clicked.push_back(static_cast<TComponent*>(sender)->Name()); };
        for (TSpeedButton* key : {k1, k2, k3, k4}) {
            key->OnClick = [this](TObject* sender) { clicked.push_back(static_cast<TComponent*>(sender)->Name()); };
            key->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState, int, int) {
                clicked.push_back(static_cast<TComponent*>(sender)->Name() +
                                  (button == TMouseButton::Right ? " right" : " left"));
            };
        }
        SetForegroundWindow(form->Handle());
    }
    std::string Focused() const
    {
        keys::FocusOfFrontForm();  // back in front, should another test program have come there
        TControl* c = form->FocusedControl();
        return c ? c->Name() : "(none)";
    }

    TLabel* lName;
    TEdit* eName;
    TRadioButton *r1, *r2, *r3;
    TCheckBox* cCheck;
    TSpeedButton *k1, *k2, *k3, *k4;
    TButton *ok, *cancel;
    std::vector<std::string> clicked;
};

}  // namespace

TEST(AccessKeyText, MarksAreFoundStrippedAndAddedWhereALetterIsFree)
{
    struct Case {
        unsigned codePage;
        const char* caption;
        const char* text;
        wchar_t key;
    };
    const Case cases[] = {
        {1252, "&Apply", "Apply", L'A'},
        {1252, "Te&xt", "Text", L'X'},
        {1252, "Fish && &Chips", "Fish & Chips", L'C'},
        {1252, "No key", "No key", 0},
        {1252, "Trailing&", "Trailing", 0},
        {1252, "&&Literal", "&Literal", 0},
        {1252, "&32 bit", "32 bit", L'3'},
        {1252, "&\xFC" "bernehmen", "\xFC" "bernehmen", L'\xDC'},                                // u umlaut
        {1251, "&\xEE\xF1\xED\xEE\xE2\xED\xFB\xE5", "\xEE\xF1\xED\xEE\xE2\xED\xFB\xE5", L'\x41E'},  // Cyrillic o
        {1250, "\xA3\xF3" "d&\x9F", "\xA3\xF3" "d\x9F", L'\x179'},                            // z acute
        // A key in brackets after the words is no word of the text: kanji, then (&S); before " ..."
        {932, "\x90\xDD\x92\xE8(&S)", "\x90\xDD\x92\xE8", L'S'},
        {932, "\x88\xEA\x97\x97 (&L) ...", "\x88\xEA\x97\x97 ...", L'L'},
        {1252, "Keys (&&K)", "Keys (&K)", 0},
        {932, "&\x83|", "\x83|", L'\x30DD'},  // a katakana whose second byte is "|"
        {932, "\x83|&&\x83{", "\x83|&\x83{", 0},
    };
    for (const Case& c : cases) {
        ScopedCodePage codePage(c.codePage);
        EXPECT_EQ(StripAccessKeys(c.caption), c.text) << c.caption;
        EXPECT_EQ(AccessKeyOf(c.caption), c.key) << c.caption;
    }

    struct Added {
        unsigned codePage;
        const char* text;
        const wchar_t *usedBefore, *usedAfter;
        const char* caption;
    };
    const Added added[] = {
        {1252, "Normal", L"N", L"NO", "N&ormal"},                // taken letters are passed over
        {1252, "Easy Going", L"NO", L"NOE", "&Easy Going"},      // word starts first
        {1252, "Eve", L"NOE", L"NOEV", "E&ve"},                  // then any letter
        {1252, "R & D", L"", L"R", "&R && D"},                   // a plain & is kept as one
        {1252, "Ever", L"EVR", L"EVR", "Ever"},                  // no letter free
        {1251, "\xFD\xEA\xF1\xEF\xE5\xF0\xF2", L"", L"\x42D", "&\xFD\xEA\xF1\xEF\xE5\xF0\xF2"},  // Cyrillic, lower case
        {1250, "\xA3\xF3" "d\x9F", L"", L"\x141", "&\xA3\xF3" "d\x9F"},                       // Polish L stroke
        // Katakana only: no key of one stroke (the second byte "G" of the first is no letter), so one is added.
        {932, "\x83G\x83L\x83X\x83p\x81[\x83g", L"A", L"AB", "\x83G\x83L\x83X\x83p\x81[\x83g(&B)"},
        {932, "\x83G\x83L Go", L"", L"G", "\x83G\x83L &Go"},
    };
    for (const Added& a : added) {
        ScopedCodePage codePage(a.codePage);
        std::wstring used = a.usedBefore;
        EXPECT_EQ(WithAccessKey(a.text, used), a.caption) << a.text;
        EXPECT_EQ(used, a.usedAfter) << a.text;
    }
}

TEST_F(KeyboardTest, TabGoesThroughTheStopsInOrderWithARadioGroupAndAPictureOfKeysOnce)
{
    form->FocusFirstControl();
    const std::vector<std::string> forward = {"eName", "rbTwo", "cbCheck", "sbQ", "bOK", "bCancel", "eName"};
    EXPECT_EQ(Focused(), forward.front()) << "the first stop has the focus";
    for (std::size_t i = 1; i < forward.size(); ++i) {
        keys::Post(VK_TAB);
        EXPECT_EQ(Focused(), forward[i]) << "Tab number " << i;
    }
    // Shift+Tab from the keys goes back to the check box; the picture of keys keeps its last key.
    k3->SetFocus();
    keys::Type({VK_SHIFT, VK_TAB});
    EXPECT_EQ(Focused(), "cbCheck");
    keys::Type({VK_SHIFT, VK_TAB});
    EXPECT_EQ(Focused(), "rbTwo") << "a radio group is entered at its checked button";
    keys::Post(VK_TAB);
    keys::Post(VK_TAB);
    EXPECT_EQ(Focused(), "sbA") << "the picture of keys is entered at the key used last";
    EXPECT_TRUE(clicked.empty()) << "moving the focus clicks nothing";

    // Disabled and hidden controls are passed over.
    cCheck->SetEnabled(false);
    r2->SetVisible(false);
    r1->SetChecked(true);
    eName->SetFocus();
    keys::Post(VK_TAB);
    EXPECT_EQ(Focused(), "rbOne");
    keys::Post(VK_TAB);
    EXPECT_EQ(Focused(), "sbA");
}

TEST_F(KeyboardTest, ArrowsChooseInARadioGroupAsAClickAndMoveByPlaceInAPictureOfKeys)
{
    r2->SetFocus();
    struct Step {
        WORD key;
        const char* focused;
    };
    for (const Step& step : {Step{VK_DOWN, "rbThree"}, Step{VK_RIGHT, "rbOne"}, Step{VK_UP, "rbThree"},
                             Step{VK_LEFT, "rbTwo"}}) {
        keys::Post(step.key);
        EXPECT_EQ(Focused(), step.focused);
        auto* radio = dynamic_cast<TRadioButton*>(form->FocusedControl());
        EXPECT_TRUE(radio && radio->Checked()) << step.focused;
    }
    EXPECT_EQ(clicked, (std::vector<std::string>{"rbThree", "rbOne", "rbThree", "rbTwo"}));
    EXPECT_FALSE(r3->Checked());

    clicked.clear();
    k1->SetFocus();
    for (const Step& step : {Step{VK_RIGHT, "sbW"}, Step{VK_DOWN, "sbS"}, Step{VK_LEFT, "sbA"}, Step{VK_UP, "sbQ"},
                             Step{VK_LEFT, "sbQ"}}) {
        keys::Post(step.key);
        EXPECT_EQ(Focused(), step.focused);
    }
    EXPECT_TRUE(clicked.empty());
    // Space and Enter are a left click on the focused key, Delete a right click, with no button
    // message, which the system would follow with a move of the mouse where its pointer rests.
    keys::Post(VK_SPACE);
    keys::Post(VK_RETURN);
    keys::Post(VK_DELETE);
    EXPECT_EQ(clicked, (std::vector<std::string>{"sbQ", "sbQ", "sbQ right"}));
}

TEST_F(KeyboardTest, EnterPressesTheDefaultButtonOrTheFocusedOneAndEscTheCancelButton)
{
    auto style = [](TButton* b) { return GetWindowLongA(b->Handle(), GWL_STYLE) & BS_TYPEMASK; };
    eName->SetFocus();
    Application().ProcessMessages();
    EXPECT_EQ(style(ok), BS_DEFPUSHBUTTON) << "the default button looks it";
    keys::Post(VK_ESCAPE);
    EXPECT_EQ(Focused(), "eName") << "Esc leaves the focus where it is";
    keys::Post(VK_RETURN);
    keys::Post(VK_TAB);
    EXPECT_EQ(Focused(), "bCancel");
    EXPECT_EQ(style(cancel), BS_DEFPUSHBUTTON) << "the focused push button takes the default look";
    EXPECT_EQ(style(ok), BS_PUSHBUTTON);
    keys::Post(VK_RETURN);
    EXPECT_EQ(clicked, (std::vector<std::string>{"bCancel", "bOK", "bCancel"}));

    // A disabled default button is not pressed.
    clicked.clear();
    ok->SetEnabled(false);
    eName->SetFocus();
    keys::Post(VK_RETURN);
    EXPECT_TRUE(clicked.empty());
}

TEST_F(KeyboardTest, EnterAndEscInAModalFormWithoutACancelButton)
{
    class Dialog : public TForm {
    public:
        Dialog() : TForm(nullptr, "dlgTest", "TTestDialog", 13)
        {
            SetClientSize(200, 100);
            choice = new TRadioButton(this, "rbChoice");
            choice->SetBounds(10, 10, 100, 20);
            choice->SetParent(this);
            ok = new TButton(this, "bOK");
            ok->ModalResult = TModalResult::OK;
            ok->SetDefault(true);
            ok->SetEnabled(false);
            ok->SetBounds(10, 60, 75, 25);
            ok->SetParent(this);
            choice->OnClick = [this](TObject*) { ok->SetEnabled(true); };
        }
        ~Dialog() override { BeginDestroy(); }
        TRadioButton* choice;
        TButton* ok;
    } dialog;
    std::vector<std::string> focusAtStart;
    dialogs.onModal = [&](TForm&) {
        keys::FocusOfFrontForm();
        focusAtStart.push_back(dialog.FocusedControl() ? dialog.FocusedControl()->Name() : "(none)");
        keys::Post(VK_RETURN);  // OK is still disabled
        keys::Post(VK_SPACE);   // chooses, as a click
        keys::Post(VK_RETURN);
    };
    EXPECT_EQ(dialog.ShowModal(), TModalResult::OK);
    EXPECT_TRUE(dialog.choice->Checked());
    dialogs.onModal = [&](TForm&) { keys::Post(VK_ESCAPE); };
    EXPECT_EQ(dialog.ShowModal(), TModalResult::Cancel) << "Esc closes as the close box does";
    EXPECT_EQ(focusAtStart, std::vector<std::string>{"rbChoice"});
}

TEST_F(KeyboardTest, AltAndAMarkedLetterClicksTheControlOrFocusesTheOneALabelLeadsTo)
{
    eName->SetFocus();
    keys::PostAlt('c');
    EXPECT_EQ(Focused(), "cbCheck");
    EXPECT_TRUE(cCheck->Checked());
    keys::PostAlt('n');
    EXPECT_EQ(Focused(), "eName") << "the control after the label";
    keys::PostAlt('R');
    EXPECT_EQ(Focused(), "rbThree");
    EXPECT_TRUE(r3->Checked());
    EXPECT_EQ(clicked, (std::vector<std::string>{"cbCheck", "rbThree"}));
    lName->FocusControl = cCheck;
    keys::PostAlt('n');
    EXPECT_EQ(Focused(), "cbCheck") << "the control the label names";

    // Two controls with one key: each press goes on to the next, clicking neither.
    clicked.clear();
    ok->SetCaption("&OK");
    r1->SetCaption("&Other");
    keys::PostAlt('o');
    EXPECT_EQ(Focused(), "rbOne");
    keys::PostAlt('o');
    EXPECT_EQ(Focused(), "bOK");
    EXPECT_TRUE(clicked.empty());
    EXPECT_FALSE(r1->Checked());
    keys::PostAlt('z');
    EXPECT_EQ(Focused(), "bOK") << "an unknown key does nothing";
}

// The letter as the keyboard types it with Alt, lower or upper case, in the system's code page.
TEST_F(KeyboardTest, AltAndALetterOfAnyAlphabetInEitherCaseClicksTheControlItMarks)
{
    struct Row {
        unsigned codePage;
        const char* caption;
        char lower, upper;
    };
    const Row rows[] = {
        {1252, "&\xDC" "bernehmen", '\xFC', '\xDC'},
        {1251, "&\xCE\xF1\xED\xEE\xE2\xED\xFB\xE5", '\xEE', '\xCE'},
        {1250, "&\xA3\xF3" "d\x9F", '\xB3', '\xA3'},
        {932, "\x90\xDD\x92\xE8(&S)", 's', 'S'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        ScopedCodePage codePage(row.codePage);
        cCheck->SetCaption(row.caption);
        cCheck->SetChecked(false);
        eName->SetFocus();
        keys::PostAlt(row.lower);
        EXPECT_EQ(Focused(), "cbCheck");
        EXPECT_TRUE(cCheck->Checked());
        keys::PostAlt(row.upper);
        EXPECT_FALSE(cCheck->Checked());
    }
}

TEST_F(UiTest, PageKeysAndATabsAccessKeyChangeThePageAsAClickOnTheTabDoes)
{
    auto* pages = Make<TPageControl>("pcPages", 0, 0, 380, 280);
    std::vector<TTabSheet*> sheets;
    std::vector<TEdit*> edits;
    for (const char* name : {"&First", "&Second", "&Hidden", "&Last"}) {
        auto* sheet = Make<TTabSheet>(name + 1, 0, 0, 10, 10, pages);
        sheet->SetCaption(name);
        sheets.push_back(sheet);
        edits.push_back(Make<TEdit>((std::string("e") + (name + 1)).c_str(), 10, 10, 100, 24, sheet));
    }
    sheets[2]->SetTabVisible(false);
    std::vector<std::string> changes;
    pages->OnChange = [&](TObject*) { changes.push_back(pages->ActivePage()->Name()); };
    SetForegroundWindow(form->Handle());
    edits[0]->SetFocus();
    struct Step {
        std::initializer_list<WORD> chord;
        const char* page;
    };
    for (const Step& step : {Step{{VK_CONTROL, VK_TAB}, "Second"}, Step{{VK_CONTROL, VK_TAB}, "Last"},
                             Step{{VK_CONTROL, VK_TAB}, "First"}, Step{{VK_CONTROL, VK_SHIFT, VK_TAB}, "Last"},
                             Step{{VK_CONTROL, VK_PRIOR}, "Second"}, Step{{VK_CONTROL, VK_NEXT}, "Last"}}) {
        keys::Type(step.chord);
        EXPECT_EQ(pages->ActivePage()->Name(), step.page);
        keys::FocusOfFrontForm();
        EXPECT_TRUE(form->FocusedControl() && form->FocusedControl()->Parent() == pages->ActivePage())
            << "the focus follows into the page shown";
    }
    keys::PostAlt('s');
    EXPECT_EQ(pages->ActivePage(), sheets[1]);
    EXPECT_EQ(changes, (std::vector<std::string>{"Second", "Last", "First", "Last", "Second", "Last", "Second"}));
    keys::PostAlt('h');
    EXPECT_EQ(pages->ActivePage(), sheets[1]) << "a hidden tab's key does nothing";

    // On the tabs themselves the focus stays there.
    pages->SetFocus();
    keys::Type({VK_CONTROL, VK_NEXT});
    EXPECT_EQ(pages->ActivePage(), sheets[3]);
    EXPECT_TRUE(pages->Focused());
}
