// wendra-tool maps rank: the candidates of a data folder's maps for a view, best first,
// with the scores and statuses the map manager would see, so that a choice of maps can
// be checked without a window.

#include <cmath>
#include <cstdio>
#include <string>

#include "Verbs.h"
#include "maps/MapCatalogue.h"
#include "maps/MapsFile.h"
#include "platform/Utf8.h"
#include "records/ClassicNumbers.h"

namespace wendra::tool {

namespace {

constexpr int kMostSide = 100000;  // pixels a side of the view asked for

struct RankRequest {
    std::string home;
    maps::RankingView view;
    int width = 800;
    int height = 480;
};

RankRequest parseRank(const Args& args) {
    RankRequest r;
    bool at = false, scale = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--home") {
            r.home = optionValue(args, i);
        } else if (args[i] == "--at") {
            parsePosition(optionValue(args, i), r.view.latitude, r.view.longitude);
            at = true;
        } else if (args[i] == "--scale") {
            r.view.scale = static_cast<float>(parseScale(optionValue(args, i)));
            scale = true;
        } else if (args[i] == "--size") {
            parseScreenSize(optionValue(args, i), kMostSide, r.width, r.height);
        } else {
            fail("maps rank: unknown argument " + args[i]);
        }
    }
    if (r.home.empty() || !at || !scale)
        fail("maps rank: expected --home DIR --at LAT,LON --scale S [--size WxH]");
    r.view.diagonal = std::hypot(r.width, r.height);
    return r;
}

void printCandidate(int rank, const maps::MapEntry& map) {
    const maps::MapDefinition d = map.definition();
    const maps::MapSelection& s = map.selection;
    std::printf(
        "{\"rank\":%d,\"title\":%s,\"image\":%s,\"score\":%.6f,\"mismatch\":%.6f,"
        "\"distance\":%.9f,\"inside\":%s,\"status\":%d}\n",
        rank, jsonString(toUtf8(d.title)).c_str(), jsonString(toUtf8(d.imagePath)).c_str(), s.score,
        s.rankMismatch, s.distance, s.contains ? "true" : "false", static_cast<int>(map.status()));
}

int runRank(const Args& args) {
    const RankRequest request = parseRank(args);
    maps::MapShell shell;
    maps::MapCatalogue catalogue(shell);
    maps::loadMapsFile(catalogue, request.home);
    catalogue.rank(request.view);
    int rank = 0;
    for (const maps::MapPtr& map : catalogue.candidates()) printCandidate(++rank, *map);
    return 0;
}

}  // namespace

int runMaps(const Args& args) {
    const ClassicLocaleScope classic;
    if (!args.empty() && args[0] == "rank") return runRank(args);
    fail("maps: expected \"rank --home DIR --at LAT,LON --scale S [--size WxH]\"");
}

}  // namespace wendra::tool
