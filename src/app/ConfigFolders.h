#pragma once
// The folders the configuration remembers, one record each: the name, a bar, the folder
// as plain text and a bar ("TracePath|/home/me/Tracks|"). A folder may itself hold bars;
// reading keeps everything up to the last one. Folders are not checked to exist.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace wendra {

// In the order the file is saved.
enum class Folder {
    TracePath,         // last folder of track files
    TraceArchivePath,  // archive folder; empty switches archiving off
    ExportPath,
    NavigatePath,  // route files
    BmpPath,       // map calibration files
    CmtPath,       // text files attached to points
    RecorderPath,  // voice records
    RecImportPath,
};

constexpr size_t kFolderCount = 8;

struct ConfigFolders {
    static constexpr std::array<std::string_view, kFolderCount> kNames = {
        "TracePath", "TraceArchivePath", "ExportPath",   "NavigatePath",
        "BmpPath",   "CmtPath",          "RecorderPath", "RecImportPath"};

    static std::string_view name(Folder folder) { return kNames[static_cast<size_t>(folder)]; }
    // The folder a line names, or nothing when it is no folder record.
    static std::optional<Folder> recordOf(std::string_view line);
    // The folder held by a folder record: the rest of the line, its line end dropped and
    // cut at its last bar.
    static std::u16string valueOf(std::string_view line, Folder folder);
    static std::string record(Folder folder, std::u16string_view value);
};

}  // namespace wendra
