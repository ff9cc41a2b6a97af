#pragma once
// The platform's own open and save dialogs. The window installs a host that shows
// them; without one they are unavailable, and the program's chooser serves instead.

#include <string>
#include <vector>

namespace wendra::platform {

// One entry of a filter list: what the user reads and the pattern(s), "*.wdt" or
// "*.wdt;*.wdn".
struct FileFilter {
    std::u16string label;
    std::u16string pattern;

    bool operator==(const FileFilter&) const = default;
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::vector<FileFilter> filters;
    std::u16string startFolder;
    std::u16string proposedName;  // save only: the name offered, without folder
};

enum class FileDialogStatus { Chosen, Cancelled, Unavailable };

struct FileDialogResult {
    FileDialogStatus status = FileDialogStatus::Unavailable;
    std::u16string path;  // when chosen
};

class FileDialogHost {
public:
    virtual ~FileDialogHost() = default;
    virtual FileDialogResult run(const FileDialogRequest& request) = 0;
};

FileDialogHost& fileDialogs();

class ScopedFileDialogHost {
public:
    explicit ScopedFileDialogHost(FileDialogHost& replacement);
    ~ScopedFileDialogHost();
    ScopedFileDialogHost(const ScopedFileDialogHost&) = delete;
    ScopedFileDialogHost& operator=(const ScopedFileDialogHost&) = delete;

private:
    FileDialogHost* previous_;
};

}  // namespace wendra::platform
