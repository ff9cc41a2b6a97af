#include "app/FileChooserFilter.h"

namespace wendra {

namespace {

constexpr std::u16string_view kAnyExtension = u".*";
constexpr std::size_t kReplacedExtensionLength = 4;  // "." and three characters

char16_t foldCase(char16_t unit) {
    const bool asciiUpper = unit >= u'A' && unit <= u'Z';
    const bool latinUpper = unit >= 0xC0 && unit <= 0xDE && unit != 0xD7;
    return asciiUpper || latinUpper ? static_cast<char16_t>(unit + 0x20) : unit;
}

void addPatternExtension(std::u16string_view pattern, std::vector<std::u16string>& extensions) {
    while (!pattern.empty() && pattern.front() == u' ') pattern.remove_prefix(1);
    // "*" alone means every file, as "*.*" does.
    const std::size_t dot = pattern.rfind(u'.');
    if (dot == std::u16string_view::npos && pattern != u"*") return;
    std::u16string_view extension =
        dot == std::u16string_view::npos ? kAnyExtension : pattern.substr(dot);
    while (!extension.empty() && extension.back() == u' ') extension.remove_suffix(1);
    if (extension.size() < 2 || extension.size() > ExtensionFilter::kMaxExtensionLength) return;
    if (extensions.size() < ExtensionFilter::kMaxExtensions) extensions.emplace_back(extension);
}

}  // namespace

bool equalIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

std::vector<platform::FileFilter> parseFilterList(std::u16string_view list) {
    std::vector<platform::FileFilter> filters;
    std::vector<std::u16string_view> entries;
    while (!list.empty()) {
        const std::size_t end = list.find(u'\0');
        const std::u16string_view entry = list.substr(0, end);
        if (entry.empty()) break;
        entries.push_back(entry);
        if (end == std::u16string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    for (std::size_t i = 0; i + 1 < entries.size(); i += 2)
        filters.push_back(
            platform::FileFilter{std::u16string(entries[i]), std::u16string(entries[i + 1])});
    return filters;
}

ExtensionFilter::ExtensionFilter(const std::vector<platform::FileFilter>& filters) {
    for (const platform::FileFilter& filter : filters) {
        std::u16string_view patterns = filter.pattern;
        while (!patterns.empty()) {
            const std::size_t end = patterns.find(u';');
            addPatternExtension(patterns.substr(0, end), extensions_);
            if (end == std::u16string_view::npos) break;
            patterns.remove_prefix(end + 1);
        }
    }
}

bool ExtensionFilter::matches(std::u16string_view fileName) const {
    for (const std::u16string& extension : extensions_) {
        if (extension == kAnyExtension) return true;
        if (fileName.size() >= extension.size() &&
            equalIgnoringCase(fileName.substr(fileName.size() - extension.size()), extension))
            return true;
    }
    return false;
}

std::u16string withDefaultExtension(std::u16string_view name, std::u16string_view extension) {
    std::u16string result(name);
    if (extension.empty()) return result;
    if (result.size() >= kReplacedExtensionLength &&
        result[result.size() - kReplacedExtensionLength] == u'.')
        result.resize(result.size() - kReplacedExtensionLength);
    if (extension.front() != u'.') result.push_back(u'.');
    result.append(extension);
    return result;
}

std::u16string pathWithDefaultExtension(std::u16string_view path, std::u16string_view extension) {
    const std::size_t slash = path.rfind(u'/');
    const std::size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
    return std::u16string(path.substr(0, nameStart)) +
           withDefaultExtension(path.substr(nameStart), extension);
}

}  // namespace wendra
