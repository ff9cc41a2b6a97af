#pragma once
// The graph window's stored choices (the Graph2 record): its options word and the value
// kind of each of the four curves. Kinds are taken as stored; the graph checks them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace wendra {

struct GraphSettings {
    static constexpr std::string_view kKind = "Graph2";
    static constexpr std::string_view kTypes = "ddddd";
    static constexpr int32_t kOfTime = 0x2;  // "Of time": the horizontal axis is time

    int32_t options = 0;
    std::array<int32_t, 4> curves = {1, 0, 0, 0};

    bool axisByTime() const { return (options & kOfTime) != 0; }
    // The fields after "Graph2|".
    void read(std::string_view fields);
    std::string record() const;
};

}  // namespace wendra
