// The cache size and search node edits of the Gameplay page, driven by focus changes and typing.
#include <windows.h>

#include <cstring>
#include <tuple>

#include "tests/support/Keys.h"
#include "tests/support/WindowTest.h"

using namespace ui;

class NumericEditTest : public WindowTest {
protected:
    TfConfig& OpenOnGameplay()
    {
        TfConfig& w = Open();
        w.Show();
        w.pcConfig->SetActivePage(w.tsGameplay);
        return w;
    }
    // The user types text into the edit and then moves on to another control.
    static void TypeAndLeave(TEdit* edit, const std::string& text, TControl* next)
    {
        edit->SetFocus();
        SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
        for (char c : text) SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
        next->SetFocus();
    }
    // Pasted from the clipboard, as Ctrl+V does.
    static void Paste(TEdit* edit, const std::string& text)
    {
        ASSERT_TRUE(OpenClipboard(edit->Handle()));
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        SetClipboardData(CF_TEXT, memory);
        CloseClipboard();
        SendMessageA(edit->Handle(), WM_PASTE, 0, 0);
    }
};

TEST_F(NumericEditTest, CacheSizeIsHeldInRangeWithAWarningBelow300)
{
    TfConfig& w = OpenOnGameplay();
    dialogs.Answer(TModalResult::OK);
    TypeAndLeave(w.eCacheSize, "120", w.eZipCode);
    EXPECT_EQ(w.eCacheSize->Text(), "150");
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, w.msgCacheSize);
    EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Warning);

    dialogs.Clear();
    dialogs.Answer(TModalResult::OK);
    TypeAndLeave(w.eCacheSize, "250", w.eZipCode);
    EXPECT_EQ(w.eCacheSize->Text(), "250");
    EXPECT_EQ(dialogs.Boxes().size(), 1u);

    dialogs.Clear();
    TypeAndLeave(w.eCacheSize, "20000", w.eZipCode);
    EXPECT_EQ(w.eCacheSize->Text(), "10000");
    EXPECT_TRUE(dialogs.Boxes().empty());
    EXPECT_EQ(w.udCacheSize->Position(), 10000);
}

TEST_F(NumericEditTest, SearchNodesAreHeldInRangeByTheirHundreds)
{
    TfConfig& w = OpenOnGameplay();
    TypeAndLeave(w.ePathSearchNodes, "3999", w.eZipCode);
    EXPECT_EQ(w.ePathSearchNodes->Text(), "4000");
    EXPECT_EQ(w.udPathSearchNodes->Position(), 40);

    TypeAndLeave(w.ePathSearchNodes, "400099", w.eZipCode);
    EXPECT_EQ(w.ePathSearchNodes->Text(), "400099") << "its hundreds are 4000, in range";
    EXPECT_EQ(w.udPathSearchNodes->Position(), 4000);

    TypeAndLeave(w.ePathSearchNodes, "500000", w.eZipCode);
    EXPECT_EQ(w.ePathSearchNodes->Text(), "400000");

    // The spinner's arrows set the edit from the spinner.
    w.udPathSearchNodes->SetPosition(321);
    w.udPathSearchNodesClick(w.udPathSearchNodes);
    EXPECT_EQ(w.ePathSearchNodes->Text(), "32100");
    EXPECT_TRUE(dialogs.Boxes().empty());
}

TEST_F(NumericEditTest, SearchNodesSaveTheSpinnersHundreds)
{
    TfConfig& w = OpenOnGameplay();
    TypeAndLeave(w.ePathSearchNodes, "400099", w.eZipCode);
    Click(w.bApply);
    EXPECT_NE(folder.Read("torvel.ini").find("Path Search Nodes=400000"), std::string::npos);
}

TEST_F(NumericEditTest, EmptyingTheSearchNodesGivesOneConversionErrorPerChange)
{
    TfConfig& w = OpenOnGameplay();
    int position = w.udPathSearchNodes->Position();
    w.ePathSearchNodes->SetFocus();
    SendMessageA(w.ePathSearchNodes->Handle(), EM_SETSEL, 0, -1);
    dialogs.Answer(TModalResult::OK);
    SendMessageA(w.ePathSearchNodes->Handle(), WM_CHAR, VK_BACK, 1);  // the whole text goes at once
    ASSERT_EQ(dialogs.Boxes().size(), 1u);
    EXPECT_EQ(dialogs.Boxes()[0].text, "'' is not a valid integer value.");
    EXPECT_EQ(dialogs.Boxes()[0].type, TMsgDlgType::Error);
    EXPECT_EQ(w.udPathSearchNodes->Position(), position);

    dialogs.Answer(TModalResult::OK);
    Paste(w.ePathSearchNodes, "xy");
    ASSERT_EQ(dialogs.Boxes().size(), 2u);
    EXPECT_EQ(dialogs.Boxes()[1].text, "'xy' is not a valid integer value.");
    EXPECT_EQ(w.ePathSearchNodes->Text(), "xy") << "the text stays as pasted";
}

TEST_F(NumericEditTest, NumericEditsTakeOnlyDigitsAsTypedButAPastedTextStays)
{
    TfConfig& w = OpenOnGameplay();
    for (TEdit* edit : {w.eTilesPrecache, w.ePathSearchNodes, w.eCacheSize}) {  // the cache size last: left at 45 it warns
        SCOPED_TRACE(edit->Name());
        edit->SetFocus();
        SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
        for (char c : std::string("4a-5 "))
            SendMessageA(edit->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
        EXPECT_EQ(edit->Text(), "45");
    }
    EXPECT_FALSE(GetWindowLongA(w.eZipCode->Handle(), GWL_STYLE) & ES_NUMBER) << "zip codes may hold letters";
}

// A pasted text that is no number: Search Nodes, which checks every change, reports it at once.
// Leaving with Tab, as the keyboard does, reports it, then the focus is back in the edit with its
// whole text selected, so that typing replaces it.
TEST_F(NumericEditTest, ANonNumberPastedInANumericEditIsReportedOnLeavingAndTheFocusComesBack)
{
    for (const auto& [name, reportedOnPaste] : {std::pair{"eCacheSize", false}, std::pair{"ePathSearchNodes", true}}) {
        SCOPED_TRACE(name);
        TfConfig& w = OpenOnGameplay();
        auto* edit = dynamic_cast<TEdit*>(w.FindComponent(name));
        edit->SetFocus();
        SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
        dialogs.Clear();
        if (reportedOnPaste) dialogs.Answer(TModalResult::OK);
        Paste(edit, "300abc");
        EXPECT_EQ(dialogs.Boxes().size(), reportedOnPaste ? 1u : 0u);
        dialogs.Clear();
        dialogs.Answer(TModalResult::OK);
        keys::Post(VK_TAB);
        ASSERT_EQ(dialogs.Boxes().size(), 1u);
        EXPECT_EQ(dialogs.Boxes()[0].text, "'300abc' is not a valid integer value.");
        EXPECT_EQ(edit->Text(), "300abc");
        keys::FocusOfFrontForm();  // back in front, should another test program have come there
        EXPECT_TRUE(edit->Focused());
        DWORD from = 0, to = 0;
        SendMessageA(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, 0u);
        EXPECT_EQ(to, 6u);
        Close();
    }
}

// The search nodes' spinner stands apart from its edit, yet the edit's keys step it as its arrows
// do, from the typed number's hundreds and within its range, and the edit follows it.
TEST_F(NumericEditTest, UpAndDownInANumericEditStepItsSpinner)
{
    TfConfig& w = OpenOnGameplay();
    const std::tuple<TEdit*, WORD, const char*> steps[] = {
        {w.eCacheSize, VK_UP, "301"}, {w.ePathSearchNodes, VK_UP, "32100"}, {w.ePathSearchNodes, VK_PRIOR, "33100"},
        {w.ePathSearchNodes, VK_NEXT, "32100"}, {w.ePathSearchNodes, VK_DOWN, "32000"}};
    for (const auto& [edit, key, shows] : steps) {
        edit->SetFocus();
        keys::Post(key);
        EXPECT_EQ(edit->Text(), shows) << edit->Name() << ", key " << key;
    }
    SendMessageA(w.ePathSearchNodes->Handle(), EM_SETSEL, 0, -1);
    for (char c : std::string("4050")) SendMessageA(w.ePathSearchNodes->Handle(), WM_CHAR, c, 1);
    keys::Post(VK_DOWN);
    EXPECT_EQ(w.ePathSearchNodes->Text(), "4000") << "the least, 40 hundreds";
}

TEST_F(NumericEditTest, FrameRateSliderShowsItsPosition)
{
    TfConfig& w = OpenOnGameplay();
    w.tbFrameRate->SetFocus();
    SendMessageA(w.tbFrameRate->Handle(), WM_KEYDOWN, VK_RIGHT, 1);
    SendMessageA(w.tbFrameRate->Handle(), WM_KEYUP, VK_RIGHT, 0xC0000001);
    EXPECT_EQ(w.tbFrameRate->Position(), 35) << "the arrow keys step by 5";
    EXPECT_EQ(w.lUpdatesValue->Caption(), "35");
}
