#include "settings/IniFile.h"
#include "ui/WideText.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "ui/Exception.h"

namespace {

// A fresh folder per test: the profile reader caches files by name, so no two tests share one.
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        folder_ = std::string(temp) + "kxini-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++counter);
        std::filesystem::remove_all(folder_);
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string PathOf(const std::string& name) const { return folder_ + "\\" + name; }

    std::string FileWith(const std::string& name, const std::string& bytes) const
    {
        std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Wine's reader reads a file again at every call while it is less than about two seconds old:
    // a day-old file is read once, as an installed one is.
    static std::string Installed(const std::string& path)
    {
        HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
        time.QuadPart -= 24ULL * 3600 * 10000000;
        FILETIME dayAgo{time.LowPart, time.HighPart};
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &dayAgo));
        CloseHandle(file);
        return path;
    }

    static std::string BytesOf(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string folder_;
};

using Pairs = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> CrLfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST_F(IniFileTest, IntegersReadAsDecimalOrHexadecimal)
{
    IniFile ini(ui::Widen(FileWith("int.ini",
                         "[N]\r\n"
                         "dec=300\r\nneg=-45\r\nplus=+7\r\nzero=-0\r\nspaced =   42   \r\n"
                         "min=-2147483648\r\nmax=2147483647\r\n"
                         "hex=0x12C\r\nhexUpper=0X1f\r\nhexLeadingZeros=0x000000012C\r\n"
                         "allBits=0xFFFFFFFF\r\nsignBit=0x80000000\r\nhexZero=0x0\r\n")));
    EXPECT_EQ(ini.ReadInteger("N", "dec", 1), 300);
    EXPECT_EQ(ini.ReadInteger("N", "neg", 1), -45);
    EXPECT_EQ(ini.ReadInteger("N", "plus", 1), 7);
    EXPECT_EQ(ini.ReadInteger("N", "zero", 1), 0);
    EXPECT_EQ(ini.ReadInteger("N", "spaced", 1), 42) << "the reader removes the blanks around a value";
    EXPECT_EQ(ini.ReadInteger("N", "min", 1), INT_MIN);
    EXPECT_EQ(ini.ReadInteger("N", "max", 1), INT_MAX);
    EXPECT_EQ(ini.ReadInteger("N", "HEX", 1), 300) << "key names ignore case";
    EXPECT_EQ(ini.ReadInteger("n", "hexUpper", 1), 31) << "section names ignore case";
    EXPECT_EQ(ini.ReadInteger("N", "hexLeadingZeros", 1), 300);
    // Hexadecimal texts are the 32 bits of the number.
    EXPECT_EQ(ini.ReadInteger("N", "allBits", 1), -1);
    EXPECT_EQ(ini.ReadInteger("N", "signBit", 1), INT_MIN);
    EXPECT_EQ(ini.ReadInteger("N", "hexZero", 1), 0);
}

TEST_F(IniFileTest, UnreadableIntegersGiveTheDefault)
{
    IniFile ini(ui::Widen(FileWith("bad.ini",
                         "[N]\r\n"
                         "empty=\r\nhexPrefixOnly=0x\r\nhexSigned=0x-1\r\nhexGarbage=0x1G\r\n"
                         "trailing=12abc\r\nword=abc\r\nfraction=1.5\r\nsignOnly=-\r\n"
                         "tooBig=2147483648\r\ntooSmall=-2147483649\r\nhexTooBig=0x100000000\r\n"
                         "huge=99999999999999999999999\r\nquotedBlank=\" 5\"\r\ninnerBlank=1 2\r\n"
                         "dollarHex=$1F\r\nsignedHex=-0x10\r\n")));
    for (const char* key : {"empty", "hexPrefixOnly", "hexSigned", "hexGarbage", "trailing", "word", "fraction",
                            "signOnly", "tooBig", "tooSmall", "hexTooBig", "huge", "quotedBlank", "innerBlank",
                            "dollarHex", "signedHex", "absent"})
        EXPECT_EQ(ini.ReadInteger("N", key, 77), 77) << key;
    EXPECT_EQ(ini.ReadInteger("No Such Section", "empty", -3), -3);
    EXPECT_EQ(IniFile(ui::Widen(PathOf("missing.ini"))).ReadInteger("N", "dec", 150), 150);
    EXPECT_FALSE(std::filesystem::exists(PathOf("missing.ini"))) << "reading creates no file";
}

TEST_F(IniFileTest, BooleansAreAnyNonZeroNumber)
{
    IniFile ini(ui::Widen(FileWith("bool.ini", "[B]\r\none=1\r\ntwo=2\r\nminus=-1\r\nhex=0x10\r\n"
                                     "zero=0\r\nhexZero=0x0\r\nword=yes\r\nempty=\r\n")));
    for (const char* key : {"one", "two", "minus", "hex"}) {
        EXPECT_TRUE(ini.ReadBool("B", key, false)) << key;
        EXPECT_TRUE(ini.ReadBool("B", key, true)) << key;
    }
    for (const char* key : {"zero", "hexZero"}) {
        EXPECT_FALSE(ini.ReadBool("B", key, true)) << key;
        EXPECT_FALSE(ini.ReadBool("B", key, false)) << key;
    }
    for (const char* key : {"word", "empty", "absent"}) {
        EXPECT_TRUE(ini.ReadBool("B", key, true)) << key;
        EXPECT_FALSE(ini.ReadBool("B", key, false)) << key;
    }
}

TEST_F(IniFileTest, StringsAreTrimmedAndCutAt2047Characters)
{
    std::string longValue;
    for (int i = 0; i < 3000; ++i) longValue += static_cast<char>('a' + i % 26);
    IniFile ini(ui::Widen(FileWith("str.ini", "[S]\r\nlong=" + longValue + "\r\nspaced =  two words  \r\nempty=\r\n")));
    EXPECT_EQ(ini.ReadString("S", "long", ""), longValue.substr(0, 2047));
    EXPECT_EQ(ini.ReadString("S", "spaced", ""), "two words");
    EXPECT_EQ(ini.ReadString("S", "empty", "default"), "") << "a present empty value is not absent";
    EXPECT_EQ(ini.ReadString("S", "absent", "default"), "default");
    EXPECT_EQ(ini.ReadString("T", "long", "default"), "default");
}

TEST_F(IniFileTest, WrittenValuesReadBack)
{
    IniFile ini(ui::Widen(PathOf("new.ini")));
    EXPECT_EQ(ini.FileName(), ui::Widen(PathOf("new.ini")));
    ini.WriteString("Local", "Zip", "12345");
    ini.WriteInteger("Program Options", "Resolution", -1);
    ini.WriteInteger("Config", "CacheSize", 300);
    ini.WriteBool("Gamespy", "Enabled", true);
    ini.WriteBool("Game Options", "Footsteps", false);
    ini.WriteString("Local", "Country Code", "");

    EXPECT_EQ(ini.ReadString("Local", "Zip", ""), "12345");
    EXPECT_EQ(ini.ReadInteger("Program Options", "Resolution", 0), -1);
    EXPECT_EQ(ini.ReadInteger("Config", "CacheSize", 0), 300);
    EXPECT_TRUE(ini.ReadBool("Gamespy", "Enabled", false));
    EXPECT_FALSE(ini.ReadBool("Game Options", "Footsteps", true));
    EXPECT_EQ(ini.ReadString("Local", "Country Code", "none"), "");

    // The texts the game reads.
    std::vector<std::string> lines = CrLfLines(BytesOf(ui::ShownPath(ini.FileName())));
    std::set<std::string> present(lines.begin(), lines.end());
    for (const char* line : {"Zip=12345", "Resolution=-1", "CacheSize=300", "Enabled=1", "Footsteps=0", "Country Code="})
        EXPECT_TRUE(present.count(line)) << line;

    // Texts of the code page go to the file byte for byte, whatever the code page makes of them.
    ini.WriteString("Local", "\xC4rea", "\xC9t\xE9 \x81\x90\xFF");
    EXPECT_EQ(ini.ReadString("Local", "\xC4rea", ""), "\xC9t\xE9 \x81\x90\xFF");
    lines = CrLfLines(BytesOf(ui::ShownPath(ini.FileName())));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\xC4rea=\xC9t\xE9 \x81\x90\xFF"), lines.end());

    ini.WriteInteger("Config", "CacheSize", 150);
    EXPECT_EQ(ini.ReadInteger("Config", "CacheSize", 0), 150) << "a second write replaces the value";
}

// Blank lines and the blanks around "=" are the only things a profile writer may change in lines
// it was not asked to write (Wine's writer drops and trims them, Windows keeps them).
std::vector<std::string> IgnoringBlanks(const std::vector<std::string>& lines)
{
    auto trim = [](std::string text) {
        const char* blanks = " \t";
        std::size_t first = text.find_first_not_of(blanks);
        if (first == std::string::npos) return std::string();
        return text.substr(first, text.find_last_not_of(blanks) - first + 1);
    };
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
        std::size_t equals = line.find('=');
        std::string canonical = equals == std::string::npos || line[0] == ';'
                                    ? trim(line)
                                    : trim(line.substr(0, equals)) + "=" + trim(line.substr(equals + 1));
        if (!canonical.empty()) kept.push_back(canonical);
    }
    return kept;
}

TEST_F(IniFileTest, WritesLeaveEverythingElseAsItWas)
{
    const std::string original =
        "; torvel.ini as the game left it\r\n"
        "\r\n"
        "[Mods]\r\n"
        "  odd key   =   odd value  \r\n"
        "a line without equals sign\r\n"
        "Accented=\xC9t\xE9 \x81\x90\xFF\r\n"
        "\r\n"
        "[Game Options]\r\n"
        "Footsteps=0\r\n"
        "Unknown Option=keep me\r\n"
        "Mixed Case Name=KeepCase\r\n"
        "[Program Options]\r\n"
        "Resolution=640\r\n"
        "; a comment between keys\r\n"
        "Later Key=x=y\r\n"
        "[Trailer]\r\n"
        "last=1\r\n";
    IniFile ini(ui::Widen(FileWith("torvel.ini", original)));
    ini.WriteBool("game options", "FOOTSTEPS", true);
    ini.WriteString("Program Options", "Resolution", "800");
    ini.WriteBool("Program Options", "Full Screen", true);
    ini.WriteBool("Gamespy", "Enabled", false);

    const std::string result = BytesOf(ui::ShownPath(ini.FileName()));
    std::vector<std::string> lines = CrLfLines(result);
    // Every line the writes were not about, byte for byte and in order; the written keys in
    // place; the new key at the end of its section; the missing section at the end of the file.
    std::vector<std::string> expected = {
        "; torvel.ini as the game left it",
        "[Mods]",
        "odd key=odd value",
        "a line without equals sign",
        "Accented=\xC9t\xE9 \x81\x90\xFF",
        "[Game Options]",
        "Footsteps=1",
        "Unknown Option=keep me",
        "Mixed Case Name=KeepCase",
        "[Program Options]",
        "Resolution=800",
        "; a comment between keys",
        "Later Key=x=y",
        "Full Screen=1",
        "[Trailer]",
        "last=1",
        "[Gamespy]",
        "Enabled=0",
    };
    EXPECT_EQ(IgnoringBlanks(lines), expected) << result;
    EXPECT_EQ(result.substr(result.size() - 2), "\r\n");
    std::size_t lineFeeds = std::count(result.begin(), result.end(), '\n');
    EXPECT_EQ(lineFeeds, lines.size()) << "every line keeps its CR LF end";
    EXPECT_EQ(ini.ReadString("Mods", "odd key", ""), "odd value");
}

TEST_F(IniFileTest, RefusedWriteThrowsWithThePath)
{
    // A folder where the file should be: the one write that even an administrator cannot make.
    const std::string path = PathOf("torvel.ini");
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    IniFile ini(ui::Widen(path));
    const std::string expected = "Unable to write to " + path;
    try {
        ini.WriteString("Local", "Zip", "1");
        ADD_FAILURE() << "WriteString did not throw";
    } catch (const ui::Exception& e) {
        EXPECT_EQ(e.Message(), expected);
    }
    try {
        ini.WriteInteger("Config", "CacheSize", 300);
        ADD_FAILURE() << "WriteInteger did not throw";
    } catch (const ui::Exception& e) {
        EXPECT_EQ(e.Message(), expected);
    }
    try {
        ini.WriteBool("Gamespy", "Enabled", true);
        ADD_FAILURE() << "WriteBool did not throw";
    } catch (const ui::Exception& e) {
        EXPECT_EQ(e.Message(), expected);
    }
    EXPECT_EQ(ini.ReadInteger("Config", "CacheSize", 5), 5);

    // The message names the file as it is; its text in the code page spells what it can, by no look-alike.
    IniFile nowhere(ui::Widen(PathOf("no such folder\\")) + L"J\u00FCrgen \u0418\u0433\u0440\u044B\\torvel.ini");
    try {
        nowhere.WriteString("Local", "Zip", "1");
        ADD_FAILURE() << "a write into a missing folder did not throw";
    } catch (const ui::Exception& e) {
        EXPECT_EQ(e.WideMessage(), L"Unable to write to " + nowhere.FileName());
        if (GetACP() == 1252) {
            EXPECT_EQ(e.Message(), "Unable to write to " + PathOf("no such folder\\") + "J\xFCrgen ????\\torvel.ini");
        }
    }
}

TEST_F(IniFileTest, SectionNamesComeInFileOrder)
{
    IniFile ini(ui::Widen(FileWith("keys.ini", "[Other]\r\nfirst=0\r\n"
                                     "[Keymap]\r\nZeta=1\r\nalpha=2\r\n  Mid Key  = 3\r\n; note=not a key\r\n"
                                     "dup=4\r\nDUP=5\r\nempty=\r\n[After]\r\nlast=6\r\n")));
    EXPECT_EQ(ini.ReadSection("keymap"), (std::vector<std::string>{"Zeta", "alpha", "Mid Key", "dup", "DUP", "empty"}));
    EXPECT_TRUE(ini.ReadSection("Missing").empty());
    EXPECT_TRUE(IniFile(ui::Widen(PathOf("missing.ini"))).ReadSection("Keymap").empty());
}

TEST_F(IniFileTest, SectionNamesStopAtTheBufferSize)
{
    // 2500 names of 7 characters need 20000 bytes with their separators: about 2048 of them fit.
    std::string content = "[Big]\r\n";
    std::vector<std::string> names;
    for (int i = 0; i < 2500; ++i) {
        char name[16];
        wsprintfA(name, "Key%04d", i);
        names.push_back(name);
        content += names.back() + "=v\r\n";
    }
    IniFile ini(ui::Widen(FileWith("big.ini", content + "[Next]\r\nx=1\r\n")));
    std::vector<std::string> read = ini.ReadSection("Big");
    ASSERT_GE(read.size(), 2000u);
    ASSERT_LE(read.size(), 16384u / 8);
    // Whole names only, in file order: a name cut off by the buffer would be a key the file lacks.
    EXPECT_EQ(read, std::vector<std::string>(names.begin(), names.begin() + read.size()));
}

TEST_F(IniFileTest, SectionValuesSkipEmptyValuesAndRepeats)
{
    IniFile ini(ui::Widen(FileWith("Language.txt", "fConfig=Settings\r\n"
                                         "[Codes]\r\n"
                                         "Germany=DE\r\n"
                                         "France=\r\n"
                                         "  Italy  =  IT  \r\n"
                                         "GERMANY=XX\r\n"
                                         "Spain=ES\r\n"
                                         "[Import]\r\n"
                                         "SPPR101=Bless\r\n")));
    EXPECT_EQ(ini.ReadSectionValues("Codes"), (Pairs{{"Germany", "DE"}, {"Italy", "IT"}, {"Spain", "ES"}}));
    EXPECT_EQ(ini.ReadSectionValues("import"), (Pairs{{"SPPR101", "Bless"}}));
    EXPECT_TRUE(ini.ReadSectionValues("Missing").empty());
}

std::string Letters(std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += static_cast<char>('a' + i % 26);
    return text;
}

// The section read whole must give what asking the reader key by key gives.
TEST_F(IniFileTest, SectionValuesReadWholeAsKeyByKey)
{
    IniFile ini(ui::Widen(FileWith("Language.txt",
                         "Germany=flat line before any section\r\n"
                         "[Codes]\r\n"
                         "Germany=DE\r\n"
                         "GERMANY=XX\r\n"
                         "germany=xx\r\n"
                         "  Italy  =  IT  \r\n"
                         "\tMalta\t=\tMT\t\r\n"
                         "France=\r\n"
                         "Blank =   \r\n"
                         "Double=\"DQ\"\r\n"
                         "Single='SQ'\r\n"
                         "Mixed=\"a'\r\n"
                         "Lone=\"\r\n"
                         "Tail=\"a\" b\r\n"
                         "EmptyQuotes=\"\"\r\n"
                         "EmptySingle=''\r\n"
                         "Inner=\" a \"\r\n"
                         "Three=\"\"\"\r\n"
                         "Middle=a\"b\"\r\n"
                         "Signs=b=c\r\n"
                         "a line without equals sign\r\n"
                         "A LINE WITHOUT EQUALS SIGN=hidden by the line above\r\n"
                         "Later=L\r\n"
                         "later\r\n"
                         "; Comment=not a country\r\n"
                         "   ;Indented=not a country\r\n"
                         "\xC4gypten=upper\r\n"
                         "\xE4gypten=lower\r\n"
                         "\xC4GYPTEN=ascii spelling\r\n"
                         "=a code without a name\r\n"
                         "Spain=ES\r\n"
                         "[Import]\r\n"
                         "Portugal=PT\r\n"
                         "[codes]\r\n"
                         "Norway=NO\r\n")));
    // Checked against Wine's reader: quotes go only as a matching pair around the whole value, the
    // blanks inside them stay; only A to Z count as the same letter in both cases.
    const Pairs expected = {{"Germany", "DE"},
                            {"Italy", "IT"},
                            {"Malta", "MT"},
                            {"Double", "DQ"},
                            {"Single", "SQ"},
                            {"Mixed", "\"a'"},
                            {"Lone", "\""},
                            {"Tail", "\"a\" b"},
                            {"Inner", " a "},
                            {"Three", "\""},
                            {"Middle", "a\"b\""},
                            {"Signs", "b=c"},
                            {"Later", "L"},
                            {"\xC4gypten", "upper"},
                            {"\xE4gypten", "lower"},
                            {"", "a code without a name"},
                            {"Spain", "ES"}};
    EXPECT_EQ(ini.ReadSectionValuesPerKey("Codes"), expected);
    EXPECT_EQ(ini.ReadSectionValues("Codes"), expected);
    EXPECT_EQ(ini.ReadSectionValues("CODES"), expected) << "section names ignore case";
    EXPECT_EQ(ini.ReadSectionValues("Import"), (Pairs{{"Portugal", "PT"}}));

    EXPECT_TRUE(ini.ReadSectionValues("Missing").empty());
    EXPECT_TRUE(ini.ReadSectionValuesPerKey("Missing").empty());
    IniFile missing(ui::Widen(PathOf("missing.txt")));
    EXPECT_TRUE(missing.ReadSectionValues("Codes").empty());
    EXPECT_TRUE(missing.ReadSectionValuesPerKey("Codes").empty());
    EXPECT_FALSE(std::filesystem::exists(missing.FileName())) << "reading creates no file";
    IniFile empty(ui::Widen(FileWith("empty.txt", "[Codes]\r\n\r\n[Next]\r\nx=1\r\n")));
    EXPECT_TRUE(empty.ReadSectionValues("Codes").empty());
}

TEST_F(IniFileTest, SectionValuesAreCutAsReadStringCutsThem)
{
    // Around the 2047 characters the value buffer keeps, plain and in quotes.
    std::string content = "[Long]\r\n";
    std::vector<std::pair<std::string, std::size_t>> cases;
    for (std::size_t length : {2045u, 2046u, 2047u, 2048u, 2049u, 2050u, 3000u}) {
        content += "plain" + std::to_string(length) + "=" + Letters(length) + "\r\n";
        content += "quoted" + std::to_string(length) + "=\"" + Letters(length - 2) + "\"\r\n";
    }
    IniFile ini(ui::Widen(FileWith("long.ini", content)));
    const Pairs whole = ini.ReadSectionValues("Long");
    EXPECT_EQ(whole, ini.ReadSectionValuesPerKey("Long"));
    std::map<std::string, std::string> byName(whole.begin(), whole.end());
    EXPECT_EQ(byName["plain2047"], Letters(2047));
    EXPECT_EQ(byName["plain2048"], Letters(2047));
    EXPECT_EQ(byName["plain3000"], Letters(2047));
    EXPECT_EQ(byName["quoted2048"], Letters(2046)) << "the quotes go, all of the text fits";
    EXPECT_EQ(byName["quoted2050"], Letters(2047)) << "cut, the quotes stay in the part not kept";
    // Only the closing quote does not fit: Wine's reader still cuts a character for it.
    EXPECT_EQ(byName["quoted2049"], Letters(2046));
    for (const auto& [name, value] : whole) EXPECT_EQ(value, ini.ReadString("Long", name, "")) << name;
}

// Read a section at a time, every key must read as it does key by key: strings with a default that
// shows an absent key, numbers and booleans, in any spelling, in a file, a missing section or file.
TEST_F(IniFileTest, SectionReaderAnswersEveryKeyAsTheKeyByKeyReader)
{
    const std::string path = FileWith("torvel.ini", "Difficulty Level=9\r\n"
                                                    "[Game Options]\r\n"
                                                    "Difficulty Level=2\r\n"
                                                    "DIFFICULTY LEVEL=5\r\n"
                                                    "  Footsteps  =  1  \r\n"
                                                    "Empty=\r\n"
                                                    "Blank =   \r\n"
                                                    "Bare line\r\n"
                                                    "Hex=0x10\r\n"
                                                    "Negative=-3\r\n"
                                                    "Word=yes\r\n"
                                                    "Quoted=\"12\"\r\n"
                                                    "Long=" + Letters(3000) + "\r\n"
                                                    "; Note=1\r\n"
                                                    "[Program Options]\r\n"
                                                    "Resolution=2\r\n"
                                                    "[game options]\r\n"
                                                    "Later=1\r\n");
    const std::vector<std::string> sections = {"Game Options", "GAME OPTIONS", "Program Options", "Missing"};
    const std::vector<std::string> keys = {"Difficulty Level", "difficulty level", "Footsteps", "Empty", "Blank",
                                           "Bare line", "Hex", "Negative", "Word", "Quoted", "Long", "Resolution",
                                           "Later", "Absent", "Note", "; Note", " Footsteps", ""};
    for (const std::string& file : {path, PathOf("missing.ini")}) {
        const IniFile byKey(ui::Widen(file));
        const IniFileSections bySection{IniFile(ui::Widen(file))};
        for (const std::string& section : sections)
            for (const std::string& key : keys) {
                const std::string where = file + " [" + section + "] " + key;
                EXPECT_EQ(bySection.ReadString(section, key, "(absent)"), byKey.ReadString(section, key, "(absent)")) << where;
                EXPECT_EQ(bySection.ReadInteger(section, key, 77), byKey.ReadInteger(section, key, 77)) << where;
                EXPECT_EQ(bySection.ReadBool(section, key, true), byKey.ReadBool(section, key, true)) << where;
                EXPECT_EQ(bySection.ReadBool(section, key, false), byKey.ReadBool(section, key, false)) << where;
            }
    }
    EXPECT_FALSE(std::filesystem::exists(PathOf("missing.ini"))) << "reading creates no file";
}

TEST_F(IniFileTest, SectionValuesGrowPastTheFirstBuffer)
{
    // About 60 KiB of section with names that fit the name buffer, and a tail after it.
    std::string content = "[Codes]\r\n";
    Pairs expected;
    for (int i = 0; i < 1200; ++i) {
        char name[16];
        wsprintfA(name, "Land%04d", i);
        expected.emplace_back(name, "Code " + std::to_string(i) + " " + Letters(30 + i % 17));
        content += expected.back().first + " = " + expected.back().second + "\r\n";
    }
    IniFile ini(ui::Widen(Installed(FileWith("big.txt", content + "[Import]\r\nSPPR101=Bless\r\n"))));
    EXPECT_EQ(ini.ReadSectionValues("Codes"), expected);
    EXPECT_EQ(ini.ReadSectionValuesPerKey("Codes"), expected);
    EXPECT_EQ(ini.ReadSectionValues("Import"), (Pairs{{"SPPR101", "Bless"}}));

    // Names beyond the name buffer are still read whole; key by key they are lost.
    std::string many = "[Many]\r\n";
    for (int i = 0; i < 2500; ++i) many += "Name" + std::to_string(10000 + i) + "=v\r\n";
    IniFile more(ui::Widen(Installed(FileWith("many.txt", many))));
    const Pairs all = more.ReadSectionValues("Many");
    ASSERT_EQ(all.size(), 2500u);
    EXPECT_EQ(all.back(), (std::pair<std::string, std::string>{"Name12499", "v"}));
    const Pairs perKey = more.ReadSectionValuesPerKey("Many");
    ASSERT_LT(perKey.size(), all.size());
    EXPECT_EQ(perKey, Pairs(all.begin(), all.begin() + perKey.size()));
}

TEST(ParseIniInteger, AcceptsOnlyWholeNumbers)
{
    EXPECT_EQ(ParseIniInteger("0"), 0);
    EXPECT_EQ(ParseIniInteger("007"), 7);
    EXPECT_EQ(ParseIniInteger("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseIniInteger("0x7FFFFFFF"), INT_MAX);
    EXPECT_EQ(ParseIniInteger("0xfffffffe"), -2);
    EXPECT_EQ(ParseIniInteger("0x0000000000000001"), 1);
    for (const char* text : {"", " 1", "1 ", "0x", "0X", "x1F", "0x 1", "+-1", "--1", "1e3", "0x1_0", "4294967295",
                             "0x1FFFFFFFF", "\xB9"})
        EXPECT_EQ(ParseIniInteger(text), std::nullopt) << text;
}

}  // namespace
