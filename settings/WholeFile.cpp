#include "settings/WholeFile.h"

#include <windows.h>

#include <algorithm>

#include "ui/Exception.h"

namespace {

struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle()
    {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return h != INVALID_HANDLE_VALUE; }
};

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/:") + 1); }

[[noreturn]] void Refuse(const std::wstring& path) { throw ui::Exception(ui::TextOf(ui::ErrorText::UnableToWrite), path); }

}  // namespace

FileContent ReadWholeFile(const std::wstring& path)
{
    FileContent content;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return content;
    FindClose(search);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        content.name = found.cFileName;
        return content;
    }
    content.exists = true;
    content.attributes = found.dwFileAttributes;
    content.lastWritten = (static_cast<unsigned long long>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                          found.ftLastWriteTime.dwLowDateTime;
    content.name = found.cFileName;
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file.Valid() || !GetFileSizeEx(file.h, &size)) return content;
    content.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < content.bytes.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.bytes.size() - done, 1u << 30));
        if (!ReadFile(file.h, content.bytes.data() + done, chunk, &read, nullptr)) return content;
        if (read == 0) break;
        done += read;
    }
    content.bytes.resize(done);
    content.readable = true;
    return content;
}

std::wstring ReplacementOf(const std::wstring& path) { return path + L".kxsave"; }

bool RemoveReplacement(const std::wstring& path)
{
    const std::wstring copy = ReplacementOf(path);
    if (GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES) return true;  // as at most saves
    // Left by a run cut short after it gave the copy the file's attributes, it may be read-only.
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(copy.c_str());
    return GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::optional<DiskRoom> DiskRoomOf(const std::wstring& path)
{
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(FolderOf(path).c_str(), &available, nullptr, nullptr)) return std::nullopt;
    // More room than a cluster of any file system takes (exFAT's largest, 32 MiB): the cluster's size
    // does not matter.
    if (available.QuadPart >= 64ull << 20) return DiskRoom{available.QuadPart, 0};
    wchar_t volume[MAX_PATH + 1] = {};
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetVolumePathNameW(path.c_str(), volume, MAX_PATH + 1) ||
        !GetDiskFreeSpaceW(volume, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return std::nullopt;
    return DiskRoom{available.QuadPart, static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector};
}

bool EndsWhereTheRoomEnded(unsigned long long size, const DiskRoom& room)
{
    return room.cluster > 0 && room.available < room.cluster && size % room.cluster == 0;
}

bool PutReplacementInPlace(const std::wstring& path, const FileContent& was)
{
    const std::wstring copy = ReplacementOf(path);
    // One rename, which the file systems make at once: the file is the old one or the new one,
    // whenever the run ends. (ReplaceFileW, which also keeps the old file's security, may leave
    // neither under the file's name when it fails half-way.)
    const std::wstring target = was.exists ? FolderOf(path) + was.name : path;
    const DWORD attributes = was.exists ? was.attributes : FILE_ATTRIBUTE_NORMAL;
    bool placed = SetFileAttributesW(copy.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) &&
                  MoveFileExW(copy.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (placed && (attributes & FILE_ATTRIBUTE_READONLY)) SetFileAttributesW(target.c_str(), attributes);
    if (!placed) RemoveReplacement(path);
    return placed;
}

void ReplaceWholeFile(const std::wstring& path, const std::string& bytes)
{
    const FileContent was = ReadWholeFile(path);
    if (!was.exists && !was.name.empty()) Refuse(path);  // a folder of that name
    if (!RemoveReplacement(path)) Refuse(path);
    const std::wstring copy = ReplacementOf(path);
    {
        Handle file(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        const bool whole = file.Valid() &&
                           WriteFile(file.h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                           written == bytes.size() && FlushFileBuffers(file.h);
        if (!whole) {
            CloseHandle(file.h);
            file.h = INVALID_HANDLE_VALUE;
            RemoveReplacement(path);
            Refuse(path);
        }
    }
    // What the disk took, not what was asked of it.
    const FileContent check = ReadWholeFile(copy);
    if (!check.readable || check.bytes != bytes) {
        RemoveReplacement(path);
        Refuse(path);
    }
    if (!PutReplacementInPlace(path, was)) Refuse(path);
}

void RemoveWholeFile(const std::wstring& path)
{
    if (DeleteFileW(path.c_str()) || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    Refuse(path);
}
