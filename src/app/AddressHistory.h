#pragma once
// The last four texts typed into each field of the address search (the HCity, HCountry
// and HStreet records, four counted strings each, most recent first as the search
// keeps them). Each entry holds at most 63 characters; longer ones are cut.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace wendra {

enum class AddressField { City, Country, Street };

class AddressHistory {
public:
    static constexpr size_t kFields = 3;
    static constexpr size_t kEntries = 4;
    static constexpr size_t kMaxLength = 63;
    static constexpr std::array<std::string_view, kFields> kKinds = {"HCity", "HCountry",
                                                                     "HStreet"};
    static constexpr std::string_view kTypes = "wwww";

    using Entries = std::array<std::u16string, kEntries>;

    const Entries& entries(AddressField field) const { return fields_[static_cast<size_t>(field)]; }
    Entries& entries(AddressField field) { return fields_[static_cast<size_t>(field)]; }
    void clear() { fields_ = {}; }

    // The fields after "HCity|" (or the others). Entries are read in order up to the
    // first one that is not a well-formed counted string; it and the rest stay empty.
    // Returns whether all four were well formed.
    bool read(AddressField field, std::string_view fields);
    std::string record(AddressField field) const;

    bool operator==(const AddressHistory&) const = default;

private:
    std::array<Entries, kFields> fields_{};
};

}  // namespace wendra
