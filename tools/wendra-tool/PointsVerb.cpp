// wendra-tool points: shows the points of a points file as JSON lines, converts a file
// between its text and packed forms through the program's own reader and writer, and
// lists the icons a folder gives.

#include <cstdio>
#include <string>

#include "Verbs.h"
#include "platform/MessageBox.h"
#include "points/IconList.h"
#include "points/PointsFile.h"
#include "records/Text.h"

namespace wendra::tool {

namespace {

constexpr const char* kStatusNames[] = {"Active", "Displayed", "Secondary", "Deactivated"};
constexpr const char* kLabelNames[] = {"Group/Name", "Group", "Name", "Icon"};

// The save's box becomes the verb's one line of failure.
class QuietBoxes final : public platform::MessageBoxHost {
public:
    platform::Answer show(const platform::Message& message) override {
        return platform::defaultAnswer(message.buttons);
    }
};

std::string json(const std::u16string& text) {
    return jsonString(toUtf8(text));
}

void load(const std::string& path, points::PointStore& store) {
    if (!points::loadPointsFile(path, store).opened) fail(path + ": cannot open the points file");
}

void printPoint(const points::GpsPoint& p) {
    std::printf("{\"kind\":\"%s\",\"name\":%s,\"group\":%s", p.isShared() ? "shared" : "point",
                json(p.name).c_str(), json(p.group).c_str());
    if (p.positionValid()) std::printf(",\"lat\":%.8f,\"lon\":%.8f", p.latitude, p.longitude);
    if (p.isShared()) std::printf(",\"share\":%s", json(p.shareId).c_str());
    std::printf(
        ",\"status\":\"%s\",\"label\":\"%s\",\"icon\":%s,\"alert\":%s,\"number\":%d,"
        "\"id\":%d,\"colour\":%d,\"comment\":%s}\n",
        kStatusNames[static_cast<int>(p.status())], kLabelNames[static_cast<int>(p.labelMode())],
        json(p.iconName).c_str(), json(p.alertName).c_str(), p.number, p.identifier, p.colour,
        json(p.comment).c_str());
}

int dump(const Args& args) {
    if (args.size() != 2) fail("usage: points dump FILE");
    points::PointStore store;
    load(args[1], store);
    for (size_t i = 0; i < store.size(); ++i) printPoint(store.at(i));
    return 0;
}

int convert(const Args& args) {
    if (args.size() != 4 || (args[1] != "--text" && args[1] != "--packed"))
        fail("usage: points convert --text|--packed IN OUT");
    points::PointStore store;
    load(args[2], store);
    QuietBoxes quiet;
    const platform::ScopedMessageBoxHost useQuiet(quiet);
    if (!points::savePointsFile(args[3], store, args[1] == "--text"))
        fail(args[3] + ": unable to save the points");
    std::printf("{\"points\":%zu}\n", store.size());
    return 0;
}

int icons(const Args& args) {
    if (args.size() != 2) fail("usage: points icons FOLDER");
    points::IconList list;
    list.load(args[1], 1);
    for (size_t i = 0; i < list.names().size(); ++i)
        std::printf("%zu\t%s\n", i, toUtf8(list.names()[i]).c_str());
    return 0;
}

}  // namespace

int runPoints(const Args& args) {
    if (!args.empty() && args[0] == "dump") return dump(args);
    if (!args.empty() && args[0] == "convert") return convert(args);
    if (!args.empty() && args[0] == "icons") return icons(args);
    fail("usage: points dump FILE | points convert --text|--packed IN OUT | points icons FOLDER");
}

}  // namespace wendra::tool
