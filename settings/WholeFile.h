#pragma once
// A file replaced as a whole: new bytes go to a copy beside it, which is flushed to the disk, read
// back, and put in the file's place in one step. Until then the file stays as it was, whatever
// fails (a full disk, a cut-short run), and a copy a cut-short run left is never read as the file.
#include <string>

// What a file holds now, read from the disk.
struct FileContent {
    bool exists = false;    // a file of that name (not a folder)
    bool readable = false;  // and its bytes could be read
    std::string bytes;
    unsigned long attributes = 0;
    unsigned long long lastWritten = 0;  // FILETIME
    // The name as the folder spells it (an existing file's letter case), without the folder.
    std::wstring name;
};
FileContent ReadWholeFile(const std::wstring& path);

// Where a replacement of path is written before it takes path's place.
std::wstring ReplacementOf(const std::wstring& path);
// Removes a copy a save cut short may have left; true when none is there afterwards.
bool RemoveReplacement(const std::wstring& path);

// Puts the finished, flushed copy in the place of path in one step (MoveFileExW, replacing, written
// through), with the attributes and the name the file had; false, the file untouched, when the
// system refuses. The copy is gone afterwards either way.
bool PutReplacementInPlace(const std::wstring& path, const FileContent& was);

// Replaces the file whole with bytes (creating it when it is missing), or leaves it byte for byte as
// it was and throws ui::Exception "Unable to write to <path>".
void ReplaceWholeFile(const std::wstring& path, const std::string& bytes);

// Removes the file (there being none is fine), or throws ui::Exception "Unable to write to <path>"
// when it stays.
void RemoveWholeFile(const std::wstring& path);
