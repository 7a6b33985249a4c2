// The operating system's part of files: opening by name, what a name is (a
// regular file, a folder, something else), which names are one file, folders,
// and writing a file so that a reader never sees it half-written. A name is
// held as the system's bytes on POSIX systems and as UTF-8 on Windows, where
// every call goes through the wide-character API: any name Windows can hold
// can be opened, listed and made.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace quelt::os {

// Opens a file by name, as std::fopen does with the same mode.
std::FILE* open_file(const std::string& name, const char* mode);

// Opens a file for reading ("rb") only when it is a regular file, decided on
// the file as opened, so that no other name or later change can slip a pipe,
// a device or a folder in. A pipe is never waited on. Null when it cannot be
// opened, and then not_regular says whether it was there but no regular file.
std::FILE* open_regular_file(const std::string& name, bool& not_regular);

// Makes a text file that did not exist ("w": lines end in CR LF on
// Windows); null when the name is taken.
std::FILE* create_new_file(const std::string& name);

// Flushes and closes a written file; false when any write to it failed. The
// last bytes are flushed first and that result read on its own: a C library
// may report a write that fails inside fclose as a good close (the one
// quelt.exe runs on does), and a file small enough to fit its buffer would
// then be lost without a word. f is null afterwards.
bool close_written(std::FILE*& f);

// Puts the file from in the place of to, replacing an older to at once, so
// that a reader of to sees the old file or the new, never a part of one.
bool replace_file(const std::string& from, const std::string& to);

bool remove_file(const std::string& name);

// A file's identity on its system: device and inode, or the volume's serial
// number and the file's index on Windows. Only regular files have one.
struct FileId {
    bool regular = false;
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileId& o) const {
        return regular && o.regular && volume == o.volume && index == o.index;
    }
};

enum class FileKind { missing, regular, folder, other };

// What a name names, following symbolic links; nothing is read or locked.
struct FileInfo {
    FileKind kind = FileKind::missing;
    FileId id;
    std::uint64_t size = 0;
};
FileInfo file_info(const std::string& name);

// The first bytes of a regular file (at most bytes of them) and what the
// file is, decided on the file as opened; a pipe is never waited on, nor
// read. One open, so that a folder of thousands of files costs little.
FileInfo read_head(const std::string& name, std::size_t bytes, std::string& head);

// True when input is a regular file and the same file as output (a null
// output is no file).
bool same_open_file(std::FILE* input, std::FILE* output);

// The entries of a folder, without "." and "..", in the order the system
// gives them. False when the folder cannot be read.
struct FolderEntry {
    std::string name;
    bool folder = false;
};
bool list_folder(const std::string& folder, std::vector<FolderEntry>& entries);

// Makes a folder whose parent exists; true when it exists afterwards.
bool make_folder(const std::string& name);

// A scratch stream, read and write, removed when it is closed.
std::FILE* scratch_stream();

}  // namespace quelt::os
