#pragma once
// What the configuration keeps without understanding it: whole lines of kinds whose owners
// are not in this build, fields a later version added to records read here, and lines no
// reader knows; all written back unchanged at their place, held without the final newline.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/ConfigPlaces.h"

namespace wendra {

class KeptRecords {
public:
    // A line of a kind kept whole; a later line of the same kind replaces it, as a later
    // record of a kind replaces the settings of an earlier one.
    void keepRecord(int place, std::string_view kind, std::string line);
    // A line no reader knows, kept in file order after the records of its place.
    void keepUnknown(int place, std::string line);
    void setTail(int place, std::string tail);
    const std::string& tail(int place) const;

    // Appends the place's kept records, then its unknown lines, each with a newline.
    void appendTo(int place, std::string& text) const;
    size_t unknownCount() const;
    void clear();

private:
    struct Kept {
        std::string kind;
        std::string line;
    };
    struct Place {
        std::string tail;
        std::vector<Kept> records;
        std::vector<std::string> unknown;
    };
    static bool valid(int place) { return place >= 0 && place < place::kCount; }

    std::array<Place, place::kCount> places_;
};

}  // namespace wendra
