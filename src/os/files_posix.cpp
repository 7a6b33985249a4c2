// Files on POSIX systems (files.h): names are bytes, identity is device and
// inode, and stat follows symbolic links, so a link and its target are one.
#include "src/os/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quelt::os {

namespace {

FileInfo info_of(const struct stat& st) {
    FileInfo info;
    info.kind = S_ISREG(st.st_mode)   ? FileKind::regular
                : S_ISDIR(st.st_mode) ? FileKind::folder
                                      : FileKind::other;
    if (info.kind == FileKind::regular) {
        info.id = FileId{true, static_cast<std::uint64_t>(st.st_dev),
                         static_cast<std::uint64_t>(st.st_ino)};
        info.size = static_cast<std::uint64_t>(st.st_size);
    }
    return info;
}

// Opens a regular file for reading; -1 otherwise, and info says what it is.
// Without O_NONBLOCK the open of a pipe would wait for a writer, for ever
// when there is none; on a regular file the flag changes nothing.
int open_regular(const std::string& name, FileInfo& info) {
    info = FileInfo{};
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0) {
        // A file there but not to be read still has its kind and identity.
        if (errno != ENOENT) info = file_info(name);
        return -1;
    }
    info.kind = FileKind::other;
    if (fstat(fd, &st) == 0) info = info_of(st);
    if (info.kind == FileKind::regular) return fd;
    ::close(fd);
    return -1;
}

}  // namespace

std::FILE* open_file(const std::string& name, const char* mode) {
    return std::fopen(name.c_str(), mode);
}

std::FILE* open_regular_file(const std::string& name, bool& not_regular) {
    FileInfo info;
    const int fd = open_regular(name, info);
    not_regular = info.kind != FileKind::missing && info.kind != FileKind::regular;
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "rb");
    if (f == nullptr) ::close(fd);  // GCOVR_EXCL_LINE: only memory running out
    return f;
}

FileInfo read_head(const std::string& name, std::size_t bytes, std::string& head) {
    FileInfo info;
    head.clear();
    const int fd = open_regular(name, info);
    if (fd < 0) return info;
    // As much as the file holds: a small file is read in one call.
    const std::size_t want = std::min<std::uint64_t>(bytes, info.size);
    head.resize(want);
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = ::read(fd, head.data() + got, want - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    head.resize(got);
    ::close(fd);
    return info;
}

std::FILE* create_new_file(const std::string& name) {
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "w");
    if (f == nullptr) ::close(fd);  // GCOVR_EXCL_LINE: only memory running out
    return f;
}

bool replace_file(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool remove_file(const std::string& name) { return ::unlink(name.c_str()) == 0; }

FileInfo file_info(const std::string& name) {
    struct stat st {};
    if (stat(name.c_str(), &st) != 0) return FileInfo{};
    return info_of(st);
}

bool same_open_file(std::FILE* input, std::FILE* output) {
    if (input == nullptr || output == nullptr) return false;
    struct stat a {};
    struct stat b {};
    if (fstat(fileno(input), &a) != 0 || fstat(fileno(output), &b) != 0) return false;
    return info_of(a).id == info_of(b).id;
}

namespace {

// The entry's type saves a stat where the file system gives it; a symbolic
// link is a folder when its target is.
bool entry_is_folder(DIR* d, const dirent* e) {
    if (e->d_type == DT_DIR) return true;
    if (e->d_type != DT_UNKNOWN && e->d_type != DT_LNK) return false;
    struct stat st {};
    return fstatat(dirfd(d), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool list_folder(const std::string& folder, std::vector<FolderEntry>& entries) {
    DIR* d = opendir(folder.c_str());
    if (d == nullptr) return false;
    while (const dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        entries.push_back(FolderEntry{name, entry_is_folder(d, e)});
    }
    closedir(d);
    return true;
}

bool make_folder(const std::string& name) {
    if (mkdir(name.c_str(), 0777) == 0) return true;
    struct stat st {};
    return errno == EEXIST && stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::FILE* scratch_stream() { return std::tmpfile(); }

}  // namespace quelt::os
