#pragma once
// Reads configuration lines into a Configuration, offering each line to the readers in
// the program's fixed order. Lines of kinds whose owners are not in this build, and lines
// no reader knows, are kept for saving; blank lines are dropped. Safe for any bytes.

#include <string>
#include <string_view>
#include <vector>

#include "app/Configuration.h"

namespace wendra::points {
class PointStore;
}

namespace wendra {

enum class LineTreatment {
    Read,     // a reader here took its fields
    Kept,     // a known kind whose owner is not in this build: kept whole
    Unknown,  // no reader knows it: kept whole
    Blank,    // nothing but spaces and control bytes: dropped
};

struct KindCount {
    std::string kind;  // the kind name, "RIRUvo|" kinds with their sub-kind
    LineTreatment treatment;
    int count;
};

class ConfigurationReader {
public:
    explicit ConfigurationReader(Configuration& config, points::PointStore* points = nullptr)
        : config_(config), points_(points) {}

    // One whole line, with or without its line end.
    LineTreatment offer(std::string_view line);
    // Every kind met, in the order first met.
    const std::vector<KindCount>& kinds() const { return kinds_; }

private:
    bool readMapView(std::string_view line);
    bool readColour(std::string_view line, std::string_view sub);
    bool readPartSettings(std::string_view line);
    bool readKept(std::string_view line, std::string_view raw);
    bool readFolder(std::string_view line);
    bool readOwn(std::string_view line);
    bool readOwnNumbered(std::string_view line);
    bool readHistory(std::string_view line);
    bool readOlderPoint(std::string_view line);
    void took(std::string_view kind, LineTreatment treatment, int place);

    Configuration& config_;
    points::PointStore* points_;
    int place_ = 0;  // the place of the last record taken: unknown lines follow it
    std::vector<KindCount> kinds_;
};

class RecordFile;

// Reads an open file line by line; a line longer than the reading buffer is joined
// again before it is offered.
void readConfigurationLines(RecordFile& file, ConfigurationReader& reader);
// The same for a file by name; false when it cannot be opened (nothing is read).
bool readConfigurationFile(const std::string& path, ConfigurationReader& reader);

}  // namespace wendra
