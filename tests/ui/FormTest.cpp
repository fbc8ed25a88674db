#include "tests/ui/UiTest.h"

#include "ui/Button.h"
#include "ui/Exception.h"
#include "ui/OpenDialog.h"
#include "ui/PageControl.h"
#include "ui/SystemText.h"

using namespace ui;

namespace {

class DialogForm : public TForm {
public:
    DialogForm() : TForm(nullptr, "dlgTest", "TTestDialog", 13)
    {
        SetClientSize(200, 100);
        ok = new TButton(this, "bOK");
        ok->ModalResult = TModalResult::OK;
        ok->SetBounds(10, 10, 75, 25);
        ok->SetParent(this);
        OnClose = [this](TObject*, TCloseAction&) { ++closes; };
    }
    ~DialogForm() override { BeginDestroy(); }
    TButton* ok;
    int closes = 0;
};

}  // namespace

TEST_F(UiTest, PageControlChangesPagesForTheUserWithOnChangeAndForTheProgramWithout)
{
    auto* pages = Make<TPageControl>("pcPages", 0, 0, 380, 280);
    auto* basic = Make<TTabSheet>("tsBasic", 0, 0, 10, 10, pages);
    auto* keys = Make<TTabSheet>("tsKeys", 0, 0, 10, 10, pages);
    auto* options = Make<TTabSheet>("tsOptions", 0, 0, 10, 10, pages);
    basic->SetCaption("Basic");
    keys->SetCaption(" Hot Keys");
    options->SetCaption("Graphics");
    EXPECT_EQ(pages->ActivePage(), basic) << "the first page is active";
    EXPECT_TRUE(IsWindowVisible(basic->Handle()));
    EXPECT_FALSE(IsWindowVisible(keys->Handle()));
    int changes = 0;
    pages->OnChange = [&](TObject*) { ++changes; };

    pages->SetActivePage(options);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(IsWindowVisible(options->Handle()));

    // The user clicks the second tab.
    RECT tab;
    SendMessageA(pages->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageA(pages->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(pages->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pages->ActivePage(), keys);
    EXPECT_TRUE(IsWindowVisible(keys->Handle()));
    EXPECT_FALSE(IsWindowVisible(options->Handle()));

    char text[32] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(pages->Handle(), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, " Hot Keys");
}

TEST_F(UiTest, HidingTheActivePagesTabActivatesTheNextShownPage)
{
    auto* pages = Make<TPageControl>("pcPages", 0, 0, 380, 280);
    auto* first = Make<TTabSheet>("tsFirst", 0, 0, 10, 10, pages);
    auto* second = Make<TTabSheet>("tsSecond", 0, 0, 10, 10, pages);
    auto* third = Make<TTabSheet>("tsThird", 0, 0, 10, 10, pages);
    auto* fourth = Make<TTabSheet>("tsFourth", 0, 0, 10, 10, pages);
    int changes = 0;
    pages->OnChange = [&](TObject*) { ++changes; };
    fourth->SetTabVisible(false);
    first->SetTabVisible(false);
    EXPECT_EQ(pages->ActivePage(), second);
    EXPECT_EQ(pages->VisibleTabs(), (std::vector<TTabSheet*>{second, third}));
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(pages->Handle(), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(changes, 0) << "the program's change of page is no page change of the user";
    EXPECT_TRUE(IsWindowVisible(second->Handle()));
    EXPECT_FALSE(IsWindowVisible(first->Handle()));
}

TEST_F(UiTest, AnErrorEscapingAHandlerGoesToTheErrorBoxAndTheNextEventStillRuns)
{
    auto* button = Make<TButton>("bFail", 10, 10, 75, 25);
    int runs = 0;
    button->OnClick = [&](TObject*) {
        if (++runs == 1) throw Exception("Unable to write to C:\\Games\\torvel.ini");
    };
    dialogs.Answer(TModalResult::OK);
    Click(button);
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    const auto& box = dialogs.Boxes()[0];
    EXPECT_EQ(box.text, "Unable to write to C:\\Games\\torvel.ini.");
    EXPECT_EQ(box.title, Application().Title());
    EXPECT_EQ(box.type, TMsgDlgType::Error);
    EXPECT_EQ(box.buttons, TMsgDlgButtons::OK);
    Click(button);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(dialogs.Boxes().size(), 1u);
}

TEST(ErrorBox, APeriodFollowsTextsThatEndInACharacterSortingAfterIt)
{
    EXPECT_EQ(TApplication::ErrorBoxText("'' is not a valid integer value"), "'' is not a valid integer value.");
    EXPECT_EQ(TApplication::ErrorBoxText("Cannot open file C:\\Language.txt"), "Cannot open file C:\\Language.txt.");
    EXPECT_EQ(TApplication::ErrorBoxText("List index out of bounds (72)"), "List index out of bounds (72)");
    EXPECT_EQ(TApplication::ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(TApplication::ErrorBoxText("Really!"), "Really!");
    EXPECT_EQ(TApplication::ErrorBoxText("dash-"), "dash-");
    EXPECT_EQ(TApplication::ErrorBoxText("ends in 9"), "ends in 9.");
    EXPECT_EQ(TApplication::ErrorBoxText("caf\xE9"), "caf\xE9.");
    EXPECT_EQ(TApplication::ErrorBoxText(""), "");
    // Japanese ends a sentence with full-width marks, which want no "." after them: "arimasen" then
    // the ideographic full stop, or the full-width "!"; without a mark the period comes.
    ScopedCodePage japanese(932);
    EXPECT_EQ(TApplication::ErrorBoxText("\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42"), "\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42");
    EXPECT_EQ(TApplication::ErrorBoxText("\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x49"), "\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x49");
    EXPECT_EQ(TApplication::ErrorBoxText("\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1"), "\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1.");
    EXPECT_EQ(TApplication::ErrorBoxText(L"\x3042\x308A\x307E\x305B\x3093\x3002"), L"\x3042\x308A\x307E\x305B\x3093\x3002");
}

TEST(Application, TitleIsTheProgramFileNameWithoutExtension)
{
    EXPECT_EQ(Application().Title(), "ui_tests");
}

TEST_F(UiTest, ModalFormRunsUntilItsButtonSetsTheResultOrItIsClosed)
{
    DialogForm dialog;
    dialogs.onModal = [&](TForm& shown) {
        EXPECT_EQ(&shown, &dialog);
        EXPECT_FALSE(IsWindowEnabled(form->Handle())) << "the other forms wait";
        PostMessageA(dialog.ok->Handle(), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(dialog.ShowModal(), TModalResult::OK);
    EXPECT_EQ(dialog.closes, 1);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));

    dialogs.onModal = [&](TForm&) { PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(dialog.ShowModal(), TModalResult::Cancel);
    EXPECT_EQ(dialog.closes, 2);
}

TEST_F(UiTest, ClosingTheMainFormEndsTheProgramUnlessCloseQueryRefuses)
{
    ASSERT_EQ(Application().MainForm(), form.get());
    bool allow = false;
    int closes = 0;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(Application().Terminated());
    EXPECT_EQ(closes, 0);
    allow = true;
    SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(Application().Terminated());
    EXPECT_EQ(closes, 1);
}

TEST_F(UiTest, ScriptedDialogsRecordBoxesAndAnswerTheOpenDialog)
{
    TOpenDialog open(form.get(), "openImport");
    open.Filter = "INI Files (*.ini)|*.ini";
    open.FileName = L"Keymap.ini";
    dialogs.AnswerOpen(std::nullopt);
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName, L"Keymap.ini");
    dialogs.AnswerOpen("C:\\keys\\other.ini");
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, L"C:\\keys\\other.ini");

    dialogs.Answer(TModalResult::Yes);
    EXPECT_EQ(dialogs.ShowMessage(form.get(), "Run it?", "Torvel II", TMsgDlgType::Question, TMsgDlgButtons::YesNo),
              TModalResult::Yes);
    EXPECT_EQ(dialogs.ShowMessage(form.get(), "Surprise", "Torvel II", TMsgDlgType::Information, TMsgDlgButtons::OK),
              TModalResult::OK);
    EXPECT_EQ(dialogs.Unexpected(), 1);
    dialogs.Clear();
}
