// A save replaces its file whole or leaves it byte for byte as it was, whatever fails on the way.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "settings/IniFile.h"
#include "settings/WholeFile.h"
#include "tests/support/WindowTest.h"
#include "ui/Exception.h"
#include "ui/WideText.h"

namespace {

const char kCopy[] = "torvel.ini.kxsave";
const std::string kComment = "; set by the launcher\r\n";
constexpr unsigned long long kCluster = 64;
const std::string kOriginal =
    "[Game Options]\r\nFootsteps=0\r\n[Mod Loader]\r\nEnabled Mods=rain,fog\r\nOrder=2\r\n[Local]\r\nZip=\r\n" + kComment;

void Truncate(const std::wstring& path, long size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointer(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

class WholeFileTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        IniSave::afterWrite = nullptr;
        IniSave::diskRoom = nullptr;
    }
    std::wstring Path(const std::string& name) const { return ui::Widen(folder.Path() + name); }

    // Three writes of one save: a key changed, a key added to a section, a key of the last section.
    std::optional<std::string> Save(const std::string& name = "torvel.ini")
    {
        try {
            IniFile ini(Path(name));
            IniSave save(ini);
            ini.WriteString("Game Options", "Footsteps", "1");
            ini.WriteString("Game Options", "Attack Sounds", "0");
            ini.WriteString("Local", "Zip", "60311");
            save.Commit();
            return std::nullopt;
        } catch (const ui::Exception& e) {
            return e.Message();
        }
    }

    TempFolder folder;
};

}  // namespace

// Each way a save can fail: the file stays as it was, no copy is left, and the error names the file.
TEST_F(WholeFileTest, AFailedSaveLeavesTheFileByteForByteAndNoCopy)
{
    struct Row {
        const char* what;
        std::function<bool(const std::wstring& copy, int write)> afterWrite;
        bool copyBlocked;
        bool diskFull = false;  // once the writes are done
    };
    const Row rows[] = {
        {"the folder cannot take the copy", nullptr, true},
        {"the second write is refused", [](const std::wstring&, int write) { return write != 2; }, false},
        {"the disk cuts the copy and says nothing", [](const std::wstring& copy, int) { Truncate(copy, 40); return true; }, false},
        {"the disk empties the copy and says nothing", [](const std::wstring& copy, int) { Truncate(copy, 0); return true; }, false},
        // Cut at the end of the last cluster it got, the copy loses the comment at its end, which no read shows.
        {"the disk fills up and cuts the copy's comment",
         [](const std::wstring& copy, int write) {
             if (write == 3) Truncate(copy, static_cast<long>(ReadWholeFile(copy).bytes.size() / kCluster * kCluster));
             return true;
         },
         false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        folder.Write("torvel.ini", kOriginal);
        if (row.copyBlocked) folder.BlockFile(kCopy);
        IniSave::afterWrite = row.afterWrite;
        IniSave::diskRoom = [&](const std::wstring&) { return DiskRoom{row.diskFull ? 0 : kCluster, kCluster}; };
        EXPECT_EQ(Save(), "Unable to write to " + folder.Path() + "torvel.ini");
        EXPECT_EQ(folder.Read("torvel.ini"), kOriginal);
        EXPECT_EQ(folder.Exists(kCopy), row.copyBlocked);
        folder.Remove(kCopy);

        // A file that was not there is made only by a save that succeeds.
        folder.Remove("torvel.ini");
        if (row.copyBlocked) folder.BlockFile(kCopy);
        EXPECT_TRUE(Save().has_value());
        EXPECT_FALSE(folder.Exists("torvel.ini"));
        folder.Remove(kCopy);
    }
}

TEST_F(WholeFileTest, ASaveWritesItsKeysKeepsTheRestAndTheNameAndIsWholeAtEveryMoment)
{
    folder.Write("TORVEL.INI", kOriginal);
    folder.Write(kCopy, "[Game Options]\r\nFootsteps=9\r\n");  // left by a save cut short
    SetFileAttributesW(Path("TORVEL.INI").c_str(), FILE_ATTRIBUTE_READONLY);
    // The disk full to its last cluster: a file that does not end on a cluster's end is whole.
    IniSave::diskRoom = [](const std::wstring&) { return DiskRoom{0, kCluster}; };
    int writes = 0;
    IniSave::afterWrite = [&](const std::wstring&, int) {
        // Cut short here, the save would leave the file as it was.
        EXPECT_EQ(ReadWholeFile(Path("torvel.ini")).bytes, kOriginal);
        return ++writes > 0;
    };
    EXPECT_EQ(Save(), std::nullopt);
    EXPECT_EQ(writes, 3);
    const FileContent saved = ReadWholeFile(Path("torvel.ini"));
    EXPECT_EQ(saved.name, L"TORVEL.INI");
    EXPECT_TRUE(saved.attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(saved.bytes, "[Game Options]\r\nFootsteps=1\r\nAttack Sounds=0\r\n[Mod Loader]\r\nEnabled Mods=rain,fog\r\n"
                           "Order=2\r\n[Local]\r\nZip=60311\r\n" + kComment);
    EXPECT_FALSE(folder.Exists(kCopy));
    SetFileAttributesW(Path("TORVEL.INI").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The profile functions keep the file they read, and read it again only when its time of last
// writing changes: a file another program replaced under the same time would be saved from the
// kept one, and the other program's section lost.
TEST_F(WholeFileTest, ASaveStartsFromTheFileOnTheDiskNow)
{
    folder.Write("torvel.ini", kOriginal);
    IniFile ini(Path("torvel.ini"));
    EXPECT_EQ(ini.ReadString("Mod Loader", "Order", ""), "2");
    FILETIME written;
    HANDLE file = CreateFileW(Path("torvel.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    folder.Write("torvel.ini", kOriginal + "[Launcher]\r\nLast Run=today\r\n");
    file = CreateFileW(Path("torvel.ini").c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);

    EXPECT_EQ(Save(), std::nullopt);
    EXPECT_NE(folder.Read("torvel.ini").find("[Launcher]\r\nLast Run=today\r\n"), std::string::npos);
}

TEST_F(WholeFileTest, AFileIsReplacedWithNewBytesOrKeptAsItWas)
{
    folder.Write("Keymap.INI", kOriginal);
    ReplaceWholeFile(Path("keymap.ini"), "[Keymap Page]\r\nPG_MAP=M\r\n");
    const FileContent replaced = ReadWholeFile(Path("keymap.ini"));
    EXPECT_EQ(replaced.bytes, "[Keymap Page]\r\nPG_MAP=M\r\n");
    EXPECT_EQ(replaced.name, L"Keymap.INI");
    ReplaceWholeFile(Path("new.ini"), "x=1\r\n");
    EXPECT_EQ(folder.Read("new.ini"), "x=1\r\n");

    folder.BlockFile("keymap.ini.kxsave");
    try {
        ReplaceWholeFile(Path("keymap.ini"), "lost");
        ADD_FAILURE() << "a refused replacement was reported as done";
    } catch (const ui::Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + folder.Path() + "keymap.ini");
    }
    EXPECT_EQ(folder.Read("keymap.ini"), "[Keymap Page]\r\nPG_MAP=M\r\n");
}
