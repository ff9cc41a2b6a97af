#include "app/ConfigFolders.h"

#include "records/RecordSplitter.h"
#include "records/Text.h"

namespace wendra {

namespace {
constexpr unsigned char kFirstPrintable = 32;
}

std::optional<Folder> ConfigFolders::recordOf(std::string_view line) {
    for (size_t i = 0; i < kNames.size(); ++i) {
        if (hasRecordPrefix(line, kNames[i])) return static_cast<Folder>(i);
    }
    return std::nullopt;
}

std::u16string ConfigFolders::valueOf(std::string_view line, Folder folder) {
    std::string_view rest;
    if (!hasRecordPrefix(line, name(folder), &rest)) return {};
    while (!rest.empty() && static_cast<unsigned char>(rest.back()) < kFirstPrintable)
        rest.remove_suffix(1);
    const size_t bar = rest.rfind(kRecordSeparator);
    if (bar != std::string_view::npos) rest = rest.substr(0, bar);
    return widen(rest);
}

std::string ConfigFolders::record(Folder folder, std::u16string_view value) {
    std::string line(name(folder));
    line += kRecordSeparator;
    std::string bytes = narrow(value);
    // A line break inside would end the record early and lose the rest of the folder.
    for (char& byte : bytes) {
        if (byte == '\n' || byte == '\0') byte = ' ';
    }
    line += bytes;
    line += kRecordSeparator;
    line += '\n';
    return line;
}

}  // namespace wendra
