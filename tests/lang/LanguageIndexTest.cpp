#include "lang/LanguageIndex.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ui/Exception.h"
#include "ui/WideText.h"

namespace {

using Lines = std::vector<std::string>;

class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        folder_ = std::string(temp) + "kxlang-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++counter);
        std::filesystem::remove_all(folder_);
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string FileWith(const std::string& name, const std::string& bytes) const
    {
        std::string path = folder_ + "\\" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string folder_;
};

TEST(SplitLanguageLines, LinesEndAtCrLfOrCrLf)
{
    EXPECT_EQ(SplitLanguageLines("a\rb\nc\r\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLanguageLines("a\n\rb"), (Lines{"a", "", "b"})) << "LF CR is two line ends";
    EXPECT_EQ(SplitLanguageLines("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLanguageLines("a\n\nb\r\rc"), (Lines{"a", "", "b", "", "c"}));
    // A line end at the very end closes the last line and opens none.
    EXPECT_EQ(SplitLanguageLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(SplitLanguageLines("a\r"), (Lines{"a"}));
    EXPECT_EQ(SplitLanguageLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitLanguageLines("\n"), (Lines{""}));
    EXPECT_EQ(SplitLanguageLines("\n\n"), (Lines{"", ""}));
    EXPECT_EQ(SplitLanguageLines(""), Lines{});
    EXPECT_EQ(SplitLanguageLines("no end"), (Lines{"no end"}));
}

TEST(SplitLanguageLines, NulEndsTheText)
{
    using namespace std::string_literals;
    EXPECT_EQ(SplitLanguageLines("a=1\nb=2\0c=3\nd=4"s), (Lines{"a=1", "b=2"}));
    EXPECT_EQ(SplitLanguageLines("a=1\n\0b=2"s), (Lines{"a=1"}));
    EXPECT_EQ(SplitLanguageLines("\0a=1"s), Lines{});
}

TEST(SplitLanguageLines, NothingIsTrimmedAndTheByteOrderMarkStays)
{
    Lines lines = SplitLanguageLines("\xEF\xBB\xBF" "fConfig=Settings\r\n  lHelp = Help text \t\r\n\t\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "\xEF\xBB\xBF" "fConfig=Settings");
    EXPECT_EQ(lines[1], "  lHelp = Help text \t");
    EXPECT_EQ(lines[2], "\t");

    LanguageIndex index(lines);
    EXPECT_EQ(index.Text("fConfig"), "") << "the mark is part of the first name";
    EXPECT_EQ(index.Text("\xEF\xBB\xBF" "fConfig"), "Settings");
    EXPECT_EQ(index.Text("lHelp"), "");
    EXPECT_EQ(index.Text("  lHelp "), " Help text \t");
}

TEST(LanguageEntries, NameAndValueSplitAtTheFirstEquals)
{
    EXPECT_EQ(EntryName("lHelp = x"), "lHelp ");
    EXPECT_EQ(EntryValue("lHelp = x"), " x");
    EXPECT_EQ(EntryName("a=b=c"), "a");
    EXPECT_EQ(EntryValue("a=b=c"), "b=c");
    EXPECT_EQ(EntryName("k="), "k");
    EXPECT_EQ(EntryValue("k="), "");
    EXPECT_EQ(EntryName("=v"), "");
    EXPECT_EQ(EntryValue("=v"), "v");
    EXPECT_EQ(EntryName("[Codes]"), "");
    EXPECT_EQ(EntryValue("[Codes]"), "");
}

TEST(LanguageEntries, SpellPrefixLooksForSpprThenSpwiAnywhere)
{
    EXPECT_EQ(SpellPrefix("SPPR101=Bless"), "P ");
    EXPECT_EQ(SpellPrefix("SPWI201=Magic Missile"), "W ");
    EXPECT_EQ(SpellPrefix("msgSpell=see SPPR101"), "P ") << "in the value too";
    EXPECT_EQ(SpellPrefix("SPWI201=like SPPR101"), "P ") << "SPPR wins";
    EXPECT_EQ(SpellPrefix("no equals SPWI"), "W ");
    EXPECT_EQ(SpellPrefix("sppr101=Bless"), "") << "the test is case-sensitive";
    EXPECT_EQ(SpellPrefix("SPP=R"), "");
    EXPECT_EQ(SpellPrefix(""), "");
}

TEST(LanguageIndex, NamesMatchIgnoringCaseAndTheFirstLineWins)
{
    LanguageIndex index({"lHelp=first", "LHELP=second", "[Codes]", "Germany=DE", "=nameless", "",
                         "\xC9t\xE9=summer", "Empty=", "empty=later"});
    EXPECT_EQ(index.FirstLineNamed("lhelp"), 0);
    EXPECT_EQ(index.Text("LHelp"), "first");
    EXPECT_EQ(index.Text("GERMANY"), "DE");
    EXPECT_EQ(index.Text("\xE9T\xC9"), "summer") << "accented letters of the code page fold too";
    EXPECT_EQ(index.FirstLineNamed("EMPTY"), 7);
    EXPECT_EQ(index.Text("empty"), "") << "an empty value still shadows later lines";
    // Lines without a name match nothing, and nothing matches an empty name.
    EXPECT_EQ(index.FirstLineNamed("[Codes]"), -1);
    EXPECT_EQ(index.FirstLineNamed(""), -1);
    EXPECT_EQ(index.Text(""), "");
    EXPECT_EQ(index.FirstLineNamed("missing"), -1);
    EXPECT_EQ(index.Text("lHelp "), "");
}

TEST(LanguageIndex, DisplayListShowsPrefixAndTheFirstText)
{
    Lines lines = {"SPPR101=Bless", "SPPR101=Curse", "sppr101=lower", "SPWI201=Magic Missile", "lHelp=Help",
                   "[Import]", "noname SPPR", "msgSpell=uses SPPR", "SPWI999="};
    LanguageIndex index(lines);
    EXPECT_EQ(index.DisplayList(),
              (Lines{"P Bless", "P Bless", "Bless", "W Magic Missile", "Help", "", "P ", "P uses SPPR", "W "}));
    EXPECT_EQ(index.DisplayList(), scan::DisplayList(lines));
    EXPECT_EQ(index.Lines(), lines);
    EXPECT_TRUE(LanguageIndex({}).DisplayList().empty());
}

TEST(LanguageIndex, KeyOfFindsTheFirstLineShowingAText)
{
    LanguageIndex index({"[Import]", "noname SPPR", "SPPR101=Bless", "SPPR102=Haste", "SPWI201=Magic Missile",
                         "SPWI202=Haste", "SPPR101=Shadowed", "aAction=Attack", "SPWI203="});
    EXPECT_EQ(index.KeyOf("p bless"), "SPPR101");
    EXPECT_EQ(index.KeyOf("W MAGIC MISSILE"), "SPWI201");
    EXPECT_EQ(index.KeyOf("P Haste"), "SPPR102");
    EXPECT_EQ(index.KeyOf("W Haste"), "SPWI202");
    EXPECT_EQ(index.KeyOf("attack"), "aAction");
    EXPECT_EQ(index.FirstDisplayIndex("P Bless"), 2);
    // Texts no line shows have no key: callers skip such functions.
    EXPECT_EQ(index.KeyOf("Bless"), std::nullopt) << "spells are shown with their prefix";
    EXPECT_EQ(index.KeyOf("P Shadowed"), std::nullopt) << "the repeated line shows the first text";
    EXPECT_EQ(index.KeyOf("Fireball"), std::nullopt);
    EXPECT_EQ(index.KeyOf(""), std::nullopt);
    EXPECT_EQ(index.FirstDisplayIndex(""), -1);
    EXPECT_EQ(index.KeyOf("P "), std::nullopt) << "the first line showing it has no name";
    EXPECT_EQ(index.KeyOf("W "), "SPWI203");
}

// Names are compared as the system's code page spells them, whatever the user's locale: "Ямайка"
// and "ямайка" on a Russian system; in Shift-JIS, letters written full width fold, while two kanji
// whose second bytes are "A" and "a" stay two names, and a kanji's second byte "S" starts no "SPPR".
TEST(LanguageIndex, LookupsAndSpellMarkersReadTheTextInTheSystemCodePage)
{
    struct Row {
        unsigned codePage;
        const char *name, *asked;
        bool found;
    };
    const Row rows[] = {
        {1252, "\xC9t\xE9", "\xE9T\xC9", true},
        {1251, "\xDF\xEC\xE0\xE9\xEA\xE0", "\xFF\xEC\xE0\xE9\xEA\xE0", true},   // Jamaica, Ja lower
        {1251, "\xDF\xEC\xE0\xE9\xEA\xE0", "\xDF\xCC\xC0\xC9\xCA\xC0", true},   // all upper
        {1251, "\xDF\xEC\xE0\xE9\xEA\xE0", "\xFF\xEC\xE0\xE9\xEA\xE8", false},  // another ending
        {932, "\x82`\x82" "a\x82" "b", "\x82\x81\x82\x82\x82\x83", true},           // full-width ABC, abc
        {932, "\x89" "A", "\x89" "a", false},                                          // two kanji
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("code page ") + std::to_string(row.codePage) + ", " + row.asked);
        ui::ScopedCodePage codePage(row.codePage);
        LanguageIndex index({std::string(row.name) + "=value"});
        EXPECT_EQ(index.Text(row.asked), row.found ? "value" : "");
        EXPECT_EQ(scan::Text(index.Lines(), row.asked), index.Text(row.asked));
        EXPECT_EQ(CountryCodeOf({std::string(row.name) + "=XY"}, row.asked), row.found ? "XY" : "");
    }
    const std::string kanjiThenPpr = "SONG=\x89SPPR";
    EXPECT_EQ(SpellPrefix(kanjiThenPpr), "P ") << "one kanji byte and SPPR in a single-byte code page";
    ui::ScopedCodePage japanese(932);
    EXPECT_EQ(SpellPrefix(kanjiThenPpr), "");
    EXPECT_EQ(SpellPrefix("\x89" "A SPWI101"), "W ");
}

// Texts built from characters the locale compares in special ways: case pairs, accented letters
// of the code page, expansions (sharp s, ae), ignorable and weighted punctuation, a control character.
Lines TrickyTexts()
{
    const std::string alphabet = "aAe\xC9\xE9-' s\xDF\xAD\xE6\x01";
    Lines texts;
    for (char a : alphabet) {
        texts.push_back(std::string(1, a));
        for (char b : alphabet) {
            texts.push_back(std::string{a, b});
            for (char c : alphabet) texts.push_back(std::string{a, b, c});
        }
    }
    for (const char* extra : {"co-op", "coop", "it's", "its", "ss", "SS", "ae", "AE", "Stra\xDF" "e", "STRASSE",
                              "\xC9t\xE9", "\xE9t\xE9", "ete", "\x8A", "\x9A", "\xFF", "\x9F", "1", "\xB9", "\xA0"})
        texts.push_back(extra);
    return texts;
}

TEST(FoldedText, EqualKeysExactlyWhenTheLocaleComparesEqual)
{
    const Lines texts = TrickyTexts();
    Lines keys;
    for (const std::string& text : texts) keys.push_back(FoldedText(text));
    int equalPairs = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            bool same = SameTextIgnoringCase(texts[i], texts[j]);
            equalPairs += same;
            if (same != (keys[i] == keys[j]))
                ADD_FAILURE() << "\"" << texts[i] << "\" and \"" << texts[j] << "\": comparison says "
                              << (same ? "equal" : "different") << ", keys say the opposite";
        }
    }
    // Not only the obvious case pairs are equal.
    EXPECT_TRUE(SameTextIgnoringCase("\xC9", "\xE9"));
    EXPECT_TRUE(SameTextIgnoringCase("STRASSE", "Stra\xDF" "e"));
    EXPECT_FALSE(SameTextIgnoringCase("\xC9", "E"));
    EXPECT_GT(equalPairs, 2000);

    // Long texts (a hint may run to a paragraph) fold as a whole.
    std::string longText, longUpper;
    for (int i = 0; i < 3000; ++i) {
        longText += "a\xE9-s"[i % 4];
        longUpper += "A\xC9-S"[i % 4];
    }
    EXPECT_EQ(FoldedText(longText), FoldedText(longUpper));
    EXPECT_TRUE(SameTextIgnoringCase(longText, longUpper));
    std::string changedAtTheEnd = longText;
    changedAtTheEnd.back() = 't';
    EXPECT_NE(FoldedText(longText), FoldedText(changedAtTheEnd));
    EXPECT_FALSE(SameTextIgnoringCase(longText, changedAtTheEnd));
}

// Lines of a language file whose names and texts collide in every way the lookups must resolve.
Lines GeneratedLanguageLines(unsigned seed, int count)
{
    std::mt19937 random(seed);
    const Lines names = {"lHelp", "LHELP", "lhelp", "SPPR101", "sppr101", "SPWI201", "Spwi201", "\xC9t\xE9",
                         "\xE9T\xC9", "ete", "co-op", "coop", "it's", "its", "Stra\xDF" "e", "STRASSE", "a b",
                         "ab", "fConfig", "lHelp ", " lHelp", "\xAD", "-", "'", "Germany", "GERMANY"};
    const Lines values = {"Help", "HELP", "help", "Bless", "bless", "", "P Bless", "Magic Missile", "\xC9t\xE9",
                          "\xE9t\xE9", "uses SPPR", "SPWI", "a|b", "co-op", "coop", "=x", " "};
    Lines lines;
    for (int i = 0; i < count; ++i) {
        int kind = static_cast<int>(random() % 10);
        if (kind == 0) lines.push_back("");
        else if (kind == 1) lines.push_back("[Codes]");
        else if (kind == 2) lines.push_back("=" + values[random() % values.size()]);
        else if (kind == 3) lines.push_back(names[random() % names.size()] + " SPPR without equals");
        else lines.push_back(names[random() % names.size()] + "=" + values[random() % values.size()]);
    }
    return lines;
}

void ExpectIndexAnswersAsTheScan(const Lines& lines, const Lines& extraQueries)
{
    LanguageIndex index(lines);
    const Lines displayList = scan::DisplayList(lines);
    ASSERT_EQ(index.DisplayList(), displayList);

    Lines names = extraQueries;
    Lines shown = extraQueries;
    for (const std::string& line : lines) {
        names.push_back(EntryName(line));
        names.push_back(line);
    }
    for (const std::string& text : displayList) {
        shown.push_back(text);
        shown.push_back(text + " ");
        if (text.size() > 2) shown.push_back(text.substr(2));
    }
    for (const std::string& name : names) {
        ASSERT_EQ(index.FirstLineNamed(name), scan::FirstLineNamed(lines, name)) << "name \"" << name << "\"";
        ASSERT_EQ(index.Text(name), scan::Text(lines, name)) << "name \"" << name << "\"";
    }
    for (const std::string& text : shown)
        ASSERT_EQ(index.FirstDisplayIndex(text), scan::FirstDisplayIndex(displayList, text)) << "text \"" << text << "\"";
}

TEST(LanguageIndex, AnswersAsTheScanOnGeneratedLines)
{
    const Lines queries = TrickyTexts();
    for (unsigned seed = 1; seed <= 5; ++seed) {
        SCOPED_TRACE(seed);
        ExpectIndexAnswersAsTheScan(GeneratedLanguageLines(seed, 300), queries);
    }
    // Tricky texts as names and texts, so that pairs the locale calls equal meet in one file.
    Lines lines;
    for (const std::string& text : queries)
        if (text.size() != 3) lines.push_back(text + "=" + text);
    ExpectIndexAnswersAsTheScan(lines, {"STRASSE", "strasse", "\xE9t\xE9", "Co-Op"});
}

TEST(LanguageIndex, AnswersAsTheScanOnTheShippedFile)
{
    if (!std::filesystem::exists(KX_SHIPPED_LANGUAGE_FILE)) GTEST_SKIP() << "no " KX_SHIPPED_LANGUAGE_FILE " yet";
    Lines lines = ReadLanguageFile(ui::Widen(KX_SHIPPED_LANGUAGE_FILE));
    ASSERT_FALSE(lines.empty());
    Lines queries = {"fConfig", "FCONFIG", "msgAdvanced", "msg3dAcceleration", "lDifficultyDesc", "Codes", "Import"};
    for (const std::string& line : lines) queries.push_back(EntryValue(line));
    ExpectIndexAnswersAsTheScan(lines, queries);
}

TEST_F(LanguageFileTest, ReadLanguageFileKeepsTheBytes)
{
    std::string bytes = "\xEF\xBB\xBF" "a=1\r\nb = 2 \n\rc\r\n\x81\x90\xFF=\xC9\r\n";
    bytes += '\0';
    bytes += "after=nul\r\n";
    EXPECT_EQ(ReadLanguageFile(ui::Widen(FileWith("Language.txt", bytes))),
              (Lines{"\xEF\xBB\xBF" "a=1", "b = 2 ", "", "c", "\x81\x90\xFF=\xC9"}));
    EXPECT_EQ(ReadLanguageFile(ui::Widen(FileWith("empty.txt", ""))), Lines{});
}

TEST_F(LanguageFileTest, FileThatCannotBeOpenedIsReportedWithItsPath)
{
    for (const std::string& path : {folder_ + "\\Language.txt", folder_ + "\\no folder\\Language.txt", folder_}) {
        try {
            ReadLanguageFile(ui::Widen(path));
            ADD_FAILURE() << path << " was read";
        } catch (const ui::Exception& e) {
            EXPECT_EQ(e.Message(), "Cannot open file " + path);
        }
    }
}

TEST_F(LanguageFileTest, CountryCodesComeFromTheCodesSection)
{
    const std::string path = FileWith("Language.txt",
                                      "fConfig=Settings\r\n"
                                      "Germany=flat text\r\n"
                                      "[Codes]\r\n"
                                      "Germany=DE\r\n"
                                      "France=\r\n"
                                      "Italy = IT \r\n"
                                      "GERMANY=XX\r\n"
                                      "United Kingdom=GB\r\n"
                                      "Great Britain=GB\r\n"
                                      "[Import]\r\n"
                                      "Spain=ES\r\n");
    const Lines codes = ReadCountryCodes(ui::Widen(path));
    EXPECT_EQ(codes, (Lines{"Germany=DE", "Italy=IT", "United Kingdom=GB", "Great Britain=GB"}));

    EXPECT_EQ(CountryCodeOf(codes, "GERMANY"), "DE");
    EXPECT_EQ(CountryCodeOf(codes, "italy"), "IT");
    EXPECT_EQ(CountryCodeOf(codes, "France"), "") << "a country without a code is not offered";
    EXPECT_EQ(CountryCodeOf(codes, "Spain"), "") << "only the Codes section counts";
    EXPECT_EQ(CountryCodeOf(codes, "Ital"), "");
    EXPECT_EQ(CountryCodeOf(codes, ""), "");

    EXPECT_EQ(CountryIndexOfCode(codes, "IT"), 1);
    EXPECT_EQ(CountryIndexOfCode(codes, "GB"), 2) << "the first country with the code";
    EXPECT_EQ(CountryIndexOfCode(codes, "it"), -1) << "codes compare exactly";
    EXPECT_EQ(CountryIndexOfCode(codes, "XX"), -1);
    EXPECT_EQ(CountryIndexOfCode(codes, ""), -1);

    // The flat reading sees the section's lines too, after the earlier flat line of the same name.
    LanguageIndex index(ReadLanguageFile(ui::Widen(path)));
    EXPECT_EQ(index.Text("germany"), "flat text");
    EXPECT_EQ(index.Text("Italy"), "");
    EXPECT_EQ(index.Text("Italy "), " IT ");

    EXPECT_TRUE(ReadCountryCodes(ui::Widen(FileWith("nocodes.txt", "fConfig=Settings\r\n"))).empty());
    EXPECT_TRUE(ReadCountryCodes(ui::Widen(folder_ + "\\missing.txt")).empty());
}

}  // namespace
