#pragma once
// File access of the library file code, behind an interface so that tests can make
// any step fail. Paths are narrow strings in the system's file-name encoding.

#include <memory>
#include <string>
#include <string_view>

namespace material {

// Kinds of failure with a message of their own; everything else shows the system's text.
enum class FileErrorKind {
    None,
    FileExists,
    TooManyFiles,
    DeviceUnavailable,
    PermissionDenied,
    DiskNotReady,
    PathFileAccess,
    PathNotFound,
    Other,
};

struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    std::string description;  // the system's own text

    // The text shown to the user for this error.
    std::string Message() const;
};

// A file being written. Destroying it without Commit closes it.
class OutputFile {
  public:
    virtual ~OutputFile() = default;
    virtual bool Write(std::string_view bytes, FileError& error) = 0;
    // Flushes the data to the disk and closes the file.
    virtual bool Commit(FileError& error) = 0;
};

class LibraryFileSystem {
  public:
    virtual ~LibraryFileSystem() = default;

    // Reads a whole file.
    virtual bool ReadAll(const std::string& path, std::string& bytes, FileError& error) = 0;
    // Creates a new, uniquely named file in the folder of `target`; `tempPath` gets its
    // name. Null on failure.
    virtual std::unique_ptr<OutputFile> CreateTemporaryBeside(const std::string& target,
                                                              std::string& tempPath,
                                                              FileError& error) = 0;
    // Puts `from` in place of `to` in one step, replacing an existing `to`.
    virtual bool Replace(const std::string& from, const std::string& to, FileError& error) = 0;
    virtual void Remove(const std::string& path) = 0;
};

// The platform's own file system.
LibraryFileSystem& PlatformFileSystem();

}  // namespace material
