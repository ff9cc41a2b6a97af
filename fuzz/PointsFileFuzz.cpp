// Loads arbitrary bytes as a points file, saves the points in both forms and loads
// each copy again: what was read once must survive a save unchanged in number.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/MessageBox.h"
#include "points/PointsFile.h"

#include "MemoryInput.h"

namespace {

using namespace wendra;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

const wendra::fuzz::MemoryInput& input() {
    static const wendra::fuzz::MemoryInput file("points_file_fuzz");
    return file;
}

const wendra::fuzz::MemoryInput& copy() {
    static const wendra::fuzz::MemoryInput file("points_file_copy");
    return file;
}

class SilentBoxes final : public platform::MessageBoxHost {
public:
    platform::Answer show(const platform::Message& m) override {
        return platform::defaultAnswer(m.buttons);
    }
};

size_t kept(const points::PointStore& store) {
    size_t count = 0;
    for (size_t i = 0; i < store.size(); ++i) {
        const points::GpsPoint& p = store.at(i);
        check(p.name.size() <= points::kNameMax && p.group.size() <= points::kNameMax);
        check(p.comment.size() <= points::kCommentMax);
        check(p.shareKey.size() <= points::kShareKeyMax);
        if (p.positionValid())
            check(std::fabs(p.latitude) <= 90.0 && std::fabs(p.longitude) <= 180.0);
        if (points::belongsInFile(store, p)) ++count;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentBoxes boxes;
    static platform::ScopedMessageBoxHost useBoxes(boxes);
    input().store(data, size);
    points::PointStore store;
    points::loadPointsFile(input().path(), store);
    const size_t expected = kept(store);
    for (const bool text : {true, false}) {
        copy().store(nullptr, 0);
        check(points::savePointsFile(copy().path(), store, text));
        points::PointStore again;
        points::loadPointsFile(copy().path(), again);
        check(again.size() == expected);
    }
    return 0;
}
