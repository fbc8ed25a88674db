// The language file applied to the window: captions and hints by exact class, copies, messages, countries.
#include <windows.h>

#include <algorithm>

#include "lang/LanguageIndex.h"
#include "presets/Difficulty.h"
#include "tests/support/WindowTest.h"
#include "ui/Exception.h"
#include "ui/WideText.h"

using namespace ui;

class LanguageTest : public WindowTest {
protected:
    TfConfig& OpenWith(const std::string& lines)
    {
        folder.Write("Language.txt", lines);
        return Open();
    }
};

TEST_F(LanguageTest, EachClassTakesItsCaptionAndHintByItsOwnRule)
{
    TfConfig& w = OpenWith(
        "lHelp=Help|with more\r\n"
        "gbGameplay=Play|How the game plays\r\n"
        "cbFootsteps=Footsteps|Hear them walk.\r\n"
        "tsGameplay=Play|ing\r\n"
        "bImport=Import|all\r\n"
        "rbPage=Pages|x\r\n"
        "eZipCode=not for edits\r\n"
        "cbCountry=not for combo boxes\r\n"
        "tbFrameRate=not for track bars\r\n");
    EXPECT_EQ(w.lHelp->Caption(), "Help");
    EXPECT_EQ(w.lHelp->Hint(), "Help|with more");
    EXPECT_EQ(w.gbGameplay->Caption(), " Play ");
    EXPECT_EQ(w.gbGameplay->Hint(), "Play|How the game plays");
    EXPECT_EQ(w.cbFootsteps->Caption(), "Footsteps");
    EXPECT_EQ(w.cbFootsteps->Hint(), "Footsteps|Hear them walk.");
    EXPECT_EQ(w.tsGameplay->Caption(), " Play|ing ") << "a tab takes the whole value";
    EXPECT_EQ(w.tsGameplay->Hint(), "");
    EXPECT_EQ(w.bImport->Caption(), "Import|all");
    EXPECT_EQ(w.bImport->Hint(), "");
    EXPECT_EQ(w.rbPage->Caption(), "Pages|x");
    EXPECT_EQ(w.eZipCode->Text(), "");
    EXPECT_EQ(w.eZipCode->Hint(), "");
    EXPECT_EQ(w.cbCountry->Hint(), "");
    EXPECT_EQ(w.tbFrameRate->Hint(), "");
    char text[64] = {};
    GetWindowTextA(w.gbGameplay->Handle(), text, sizeof text);
    EXPECT_STREQ(text, " Play ") << "the window shows the caption";
}

TEST_F(LanguageTest, NamesMatchIgnoringCaseFirstLineWinsAndNothingIsTrimmed)
{
    TfConfig& w = OpenWith(
        "LHELP=Upper\r\n"
        "lHelp=Second\r\n"
        "lTopic =Blank before\r\n"
        "lSettings= Blank after\r\n");
    EXPECT_EQ(w.lHelp->Caption(), "Upper");
    EXPECT_EQ(w.lTopic->Caption(), "") << "a name ending in a blank matches no component";
    EXPECT_EQ(w.lSettings->Caption(), " Blank after");
    EXPECT_EQ(w.LanguageText("lhelp"), "Upper");
    EXPECT_EQ(w.languageDisplayList()[1], "Upper") << "a repeated name shows the first line's value";
}

TEST_F(LanguageTest, ComponentsWithoutAnEntryKeepTheirFormTextsAndMissingTextsAreEmpty)
{
    TfConfig& w = OpenWith("lHelp=Help\r\n");
    EXPECT_EQ(w.cbFootsteps->Caption(), "&Footsteps");
    EXPECT_EQ(w.gbGameplay->Caption(), " Gameplay ");
    EXPECT_EQ(w.tsSimple->Caption(), "&Basic");
    EXPECT_EQ(w.Caption(), "") << "the window's caption is looked up whatever the file holds";
    EXPECT_EQ(w.dlgDifficulty->Caption(), "");
    EXPECT_EQ(w.msgVideoTest, "");
    EXPECT_EQ(w.dlgDifficulty->lCoreDesc->Caption(), "");
    EXPECT_TRUE(w.cbCountry->Items().empty());
    EXPECT_TRUE(w.countryCodes.empty());
}

TEST_F(LanguageTest, CaptionsAreCopiedBetweenControlsAndToTheDifficultyDialog)
{
    TfConfig& w = OpenWith(
        "fConfig=Torvel II Setup\r\n"
        "cb3dAcceleration=Use 3D|Faster pictures\r\n"
        "cb3dAcceleration2=Ignored caption|Own hint\r\n"
        "rbActions=Deeds\r\n"
        "gbDifficulty=How hard\r\n"
        "lExpert=Deadly\r\n"
        "lNovice=Gentle\r\n"
        "lDifficultyDesc=Pick one.\r\n"
        "lNoviceDesc=Soft.\r\n");
    EXPECT_EQ(w.Caption(), "Torvel II Setup");
    EXPECT_EQ(w.dlgDifficulty->Caption(), "Torvel II Setup");
    EXPECT_EQ(w.cb3dAcceleration2->Caption(), "Use 3D");
    EXPECT_EQ(w.cb3dAcceleration2->Hint(), "Ignored caption|Own hint");
    EXPECT_EQ(w.cbActions->Hint(), "Deeds");
    EXPECT_EQ(w.cbPage->Hint(), "rbPage") << "the radio button's form caption, as text";
    EXPECT_EQ(w.cbFixed->Hint(), "Fixed");
    const TdlgDifficulty& d = *w.dlgDifficulty;
    EXPECT_EQ(d.gbDifficulty2->Caption(), " How hard ");
    EXPECT_EQ(d.rbDifficultyInsane->Caption(), "&Deadly") << "with an access key of its own";
    EXPECT_EQ(d.rbDifficultyNovice->Caption(), "&Gentle");
    EXPECT_EQ(d.rbDifficultyHard->Caption(), "&Hard") << "the main window's label keeps its form caption";
    EXPECT_EQ(d.lDifficultyDesc->Caption(), "Pick one.");
    EXPECT_EQ(d.lNoviceDesc->Caption(), "Soft.");
    EXPECT_EQ(d.bOK->Caption(), "OK");
}

TEST_F(LanguageTest, TheThirteenMessagesComeFromTheirEntries)
{
    const char* keys[] = {"msgAdvanced", "msgCacheSize", "msgNoOpenGL", "msgVideo", "msgVideoGood",
                          "msgVideoBad", "msgAssigned", "msgReassign", "msgVideoTest", "msgResetVideo",
                          "msgRunGLSetup", "msgUnsupportedRes", "msg3dAcceleration"};
    std::string file;
    for (const char* key : keys) file += std::string(key) + "=" + key + " text|not split\r\n";
    TfConfig& w = OpenWith(file);
    const std::string* members[] = {&w.msgAdvanced,  &w.msgCacheSize,  &w.msgNoOpenGL,      &w.msgVideo,
                                    &w.msgVideoGood, &w.msgVideoBad,   &w.msgAssigned,      &w.msgReassign,
                                    &w.msgVideoTest, &w.msgResetVideo, &w.msgRunGLSetup,    &w.msgUnsupportedRes,
                                    &w.msg3dAcceleration};
    for (std::size_t i = 0; i < std::size(keys); ++i) EXPECT_EQ(*members[i], std::string(keys[i]) + " text|not split");
}

TEST_F(LanguageTest, CountriesFillTheCountryListInFileOrderWithoutThoseLackingACode)
{
    TfConfig& w = OpenWith(
        "lHelp=Help\r\n"
        "[Codes]\r\n"
        "Norway=NO\r\n"
        "Atlantis=\r\n"
        "Chile=CL\r\n"
        "norway=XX\r\n");
    EXPECT_EQ(w.cbCountry->Items(), (std::vector<std::string>{"Norway", "Chile"}));
    EXPECT_EQ(w.countryCodes, (std::vector<std::string>{"Norway=NO", "Chile=CL"}));
    EXPECT_EQ(w.languageTable().size(), 6u) << "section lines are lines of the flat reading too";
    EXPECT_EQ(w.LanguageText("Chile"), "CL");
}

TEST_F(LanguageTest, ShownNamesLeadBackToTheirIdentifiersWithTheSpellPrefix)
{
    TfConfig& w = OpenWith(
        "ACT_ATTACK=Attack\r\n"
        "SPWI101=Ember Dart\r\n"
        "SPPR101=Mending Touch\r\n"
        "NOTE=says SPPR in its value\r\n");
    EXPECT_EQ(w.languageDisplayList(),
              (std::vector<std::string>{"Attack", "W Ember Dart", "P Mending Touch", "P says SPPR in its value"}));
    EXPECT_EQ(w.LanguageKeyOf("attack"), "ACT_ATTACK");
    EXPECT_EQ(w.LanguageKeyOf("W Ember Dart"), "SPWI101");
    EXPECT_EQ(w.LanguageKeyOf("Ember Dart"), "") << "a spell is found only with its prefix";
    EXPECT_EQ(w.LanguageKeyOf("Nothing"), "");
}

// The words the program has of its own: each has an optional entry, and without it stays as it was.
TEST_F(LanguageTest, TheSummarysStatesTheErrorsAndTheImportFilterComeFromOptionalEntriesOrStayEnglish)
{
    struct Words {
        const char *entries, *on, *off, *unwritable, *notANumber, *unreadable, *filter;
    };
    const Words files[] = {
        {"", "On", "Off", "Unable to write to ", "'x' is not a valid integer value.", "Cannot open file ",
         "INI Files (*.ini)|*.ini"},
        {"txtOn=An\r\ntxtOff=Aus\r\nerrWriteFile=%s kann nicht geschrieben werden\r\n"
         "errNotInteger=\"%s\" ist keine ganze Zahl\r\nerrOpenFile=Kann %s nicht lesen\r\ntxtIniFiles=INI-Dateien\r\n",
         "An", "Aus", " kann nicht geschrieben werden", "\"x\" ist keine ganze Zahl.", "Kann ", "INI-Dateien|*.ini"},
    };
    for (const Words& words : files) {
        SCOPED_TRACE(words.on);
        TfConfig& w = OpenWith(std::string(words.entries) + "cbFootsteps=Footsteps\r\ncbAttackSounds=Attack Sounds\r\n");
        w.cbFootsteps->SetChecked(true);
        w.cbAttackSounds->SetChecked(false);
        w.RefreshSummary();
        const std::vector<std::string>& summary = w.mSettings->Lines();
        EXPECT_NE(std::find(summary.begin(), summary.end(), std::string("Footsteps = ") + words.on), summary.end());
        EXPECT_NE(std::find(summary.begin(), summary.end(), std::string("Attack Sounds = ") + words.off), summary.end());

        dialogs.AnswerOpen(std::nullopt);
        Click(w.bImport);
        EXPECT_EQ(w.openImport->Filter, words.filter);

        dialogs.Answer(TModalResult::OK);
        SendMessageA(w.ePathSearchNodes->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
        ASSERT_EQ(dialogs.Boxes().size(), 1u);
        EXPECT_EQ(dialogs.Boxes()[0].text, words.notANumber);

        folder.BlockFile("torvel.ini");
        std::string refused;
        try {
            w.SaveSettings();
        } catch (const Exception& e) {
            refused = e.Message();
        }
        EXPECT_NE(refused.find(words.unwritable), std::string::npos) << refused;
        EXPECT_NE(refused.find("torvel.ini"), std::string::npos) << refused;
        folder.Remove("torvel.ini");
        std::string unread;
        try {
            ReadLanguageFile(Widen(folder.Path() + "missing.txt"));
        } catch (const Exception& e) {
            unread = e.Message();
        }
        EXPECT_EQ(unread.rfind(words.unreadable, 0), 0u) << unread;
        dialogs.Clear();
        Close();
    }
}

TEST_F(LanguageTest, TheShippedFileCaptionsTheWindowInEnglish)
{
    TfConfig& w = Open();
    EXPECT_FALSE(w.Caption().empty());
    EXPECT_EQ(w.dlgDifficulty->Caption(), w.Caption());
    for (const std::string* message : {&w.msgAdvanced, &w.msgCacheSize, &w.msgNoOpenGL, &w.msgVideo, &w.msgVideoGood,
                                       &w.msgVideoBad, &w.msgAssigned, &w.msgReassign, &w.msgVideoTest,
                                       &w.msgResetVideo, &w.msgRunGLSetup, &w.msgUnsupportedRes, &w.msg3dAcceleration})
        EXPECT_FALSE(message->empty());
    EXPECT_GT(w.cbCountry->Items().size(), 100u);
    EXPECT_NE(w.rb1024->Caption(), "rb1024") << "the placeholder caption is replaced";
    EXPECT_NE(w.rbPage->Caption(), "rbPage");
    EXPECT_FALSE(w.dlgDifficulty->lCoreDesc->Caption().empty());
}
