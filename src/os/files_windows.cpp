// Files on Windows (files.h): every name goes through the wide-character
// API; identity is the volume's serial number and the file's index.
#include "src/os/files.h"

#include <fcntl.h>
#include <io.h>

#include "src/os/wide_windows.h"

namespace quelt::os {

namespace {

std::wstring wide_mode(const char* mode) {
    std::wstring wide;
    for (const char* c = mode; *c != '\0'; ++c) wide += static_cast<wchar_t>(*c);
    return wide;
}

// An existing file's handle with no access at all, so that nothing is read
// and nothing locked; a folder's too.
HANDLE handle_for_info(const std::string& name) {
    return CreateFileW(wide_from_utf8(name).c_str(), 0,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

FileInfo info_of(HANDLE h) {
    FileInfo info;
    info.kind = FileKind::other;
    BY_HANDLE_FILE_INFORMATION bh;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &bh)) return info;
    if ((bh.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        info.kind = FileKind::folder;
        return info;
    }
    info.kind = FileKind::regular;
    info.id = FileId{true, bh.dwVolumeSerialNumber,
                     (static_cast<std::uint64_t>(bh.nFileIndexHigh) << 32) | bh.nFileIndexLow};
    info.size = (static_cast<std::uint64_t>(bh.nFileSizeHigh) << 32) | bh.nFileSizeLow;
    return info;
}

// A stream over a handle just opened; the handle is closed on failure.
std::FILE* stream_of(HANDLE h, int flags, const char* mode) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), flags);
    if (fd < 0) {
        CloseHandle(h);
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, mode);
    if (f == nullptr) _close(fd);
    return f;
}

// Opens a regular file for reading, as the C library would share it; an
// invalid handle otherwise, and info says what it is (a folder, or a file
// another program holds, cannot be opened so, but can be asked).
HANDLE open_regular(const std::string& name, FileInfo& info) {
    HANDLE h = CreateFileW(wide_from_utf8(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        info = file_info(name);
        return INVALID_HANDLE_VALUE;
    }
    info = info_of(h);
    if (info.kind == FileKind::regular) return h;
    CloseHandle(h);
    return INVALID_HANDLE_VALUE;
}

bool is_folder(const std::string& name) {
    const DWORD a = GetFileAttributesW(wide_from_utf8(name).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::FILE* open_file(const std::string& name, const char* mode) {
    return _wfopen(wide_from_utf8(name).c_str(), wide_mode(mode).c_str());
}

std::FILE* open_regular_file(const std::string& name, bool& not_regular) {
    FileInfo info;
    HANDLE h = open_regular(name, info);
    not_regular = info.kind != FileKind::missing && info.kind != FileKind::regular;
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return stream_of(h, _O_RDONLY | _O_BINARY, "rb");
}

FileInfo read_head(const std::string& name, std::size_t bytes, std::string& head) {
    FileInfo info;
    head.clear();
    HANDLE h = open_regular(name, info);
    if (h == INVALID_HANDLE_VALUE) return info;
    head.resize(bytes);
    std::size_t got = 0;
    DWORD n = 1;
    while (got < bytes && n > 0 &&
           ReadFile(h, head.data() + got, static_cast<DWORD>(bytes - got), &n, nullptr))
        got += n;
    head.resize(got);
    CloseHandle(h);
    return info;
}

std::FILE* create_new_file(const std::string& name) {
    HANDLE h = CreateFileW(wide_from_utf8(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return stream_of(h, _O_WRONLY | _O_TEXT, "w");
}

bool replace_file(const std::string& from, const std::string& to) {
    return MoveFileExW(wide_from_utf8(from).c_str(), wide_from_utf8(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING) != 0;
}

bool remove_file(const std::string& name) {
    return DeleteFileW(wide_from_utf8(name).c_str()) != 0;
}

FileInfo file_info(const std::string& name) {
    HANDLE h = handle_for_info(name);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        FileInfo info;
        if (e != ERROR_FILE_NOT_FOUND && e != ERROR_PATH_NOT_FOUND && e != ERROR_INVALID_NAME)
            info.kind = FileKind::other;
        return info;
    }
    const FileInfo info = info_of(h);
    CloseHandle(h);
    return info;
}

bool same_open_file(std::FILE* input, std::FILE* output) {
    if (input == nullptr || output == nullptr) return false;
    const FileInfo a = info_of(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(input))));
    const FileInfo b = info_of(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(output))));
    return a.id == b.id;
}

bool list_folder(const std::string& folder, std::vector<FolderEntry>& entries) {
    std::string pattern = folder;
    if (pattern.empty() || (pattern.back() != '\\' && pattern.back() != '/' && pattern.back() != ':'))
        pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileExW(wide_from_utf8(pattern).c_str(), FindExInfoBasic, &data,
                                FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::string name = utf8_from_wide(data.cFileName);
        if (name == "." || name == "..") continue;
        entries.push_back(FolderEntry{name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(h, &data));
    FindClose(h);
    return true;
}

bool make_folder(const std::string& name) {
    return CreateDirectoryW(wide_from_utf8(name).c_str(), nullptr) != 0 || is_folder(name);
}

std::FILE* scratch_stream() {
    // The C library's tmpfile() would make its file in the root of the
    // drive, where a clerk may not write: the user's temporary folder, and a
    // file the C library deletes when it is closed ("D").
    wchar_t folder[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH) return nullptr;
    if (GetTempFileNameW(folder, L"qdv", 0, name) == 0) return nullptr;
    return _wfopen(name, L"w+bTD");
}

}  // namespace quelt::os
