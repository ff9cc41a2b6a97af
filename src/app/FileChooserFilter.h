#pragma once
// The file kinds a chooser shows and the name rules of a save: the extensions kept
// from a filter list (at most 10, each the text from a pattern's last "."), how a
// file name is matched against them, and the default-extension rule.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileDialogs.h"

namespace wendra {

// A filter list in the program's stored form: label and pattern, each ended by a
// zero, the list ended by an empty entry. A label without its pattern is dropped.
std::vector<platform::FileFilter> parseFilterList(std::u16string_view zeroSeparated);

class ExtensionFilter {
public:
    static constexpr std::size_t kMaxExtensions = 10;
    static constexpr std::size_t kMaxExtensionLength = 255;

    ExtensionFilter() = default;
    // Each pattern of each entry ("*.wdt" or "*.wdt;*.wdn") gives one extension.
    explicit ExtensionFilter(const std::vector<platform::FileFilter>& filters);

    // No extension at all: the chooser picks folders.
    bool empty() const { return extensions_.empty(); }
    const std::vector<std::u16string>& extensions() const { return extensions_; }
    // The name ends with one of the extensions, letter case aside; ".*" takes all.
    bool matches(std::u16string_view fileName) const;

private:
    std::vector<std::u16string> extensions_;
};

// The name with a three-character extension ("Track.txt") cut off and the default
// extension appended, with a "." in front unless it has one. Without a default
// extension the name stays as it is.
std::u16string withDefaultExtension(std::u16string_view name, std::u16string_view extension);

// The same rule on the last component of a path only, so that a "." in a folder's
// name is never taken for an extension.
std::u16string pathWithDefaultExtension(std::u16string_view path, std::u16string_view extension);

// Letter case aside, for the Latin-1 letters the program's names use.
bool equalIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace wendra
