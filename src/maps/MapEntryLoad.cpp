// The load of one map image and its load thread: the bitmap is counted in the shared
// total before it is allocated, and every outcome leaves the flags and the total in
// agreement, whoever ends first of the load and an unload that gave up on it.

#include <string>

#include "maps/DecoderChoice.h"
#include "maps/MapEntry.h"
#include "platform/Sync.h"
#include "platform/Utf8.h"
#include "platform/WidePath.h"

namespace wendra::maps {

namespace {

constexpr char16_t kErrorTitle[] = u"Error!";
constexpr char16_t kRemovalQuestion[] =
    u"Unable to load some maps! Do you want to remove these maps";
constexpr char kBudgetNote[] = "Glogal parameters will be adapted.";

bool openFailure(LoadResult result) {
    return result == LoadResult::CannotOpen || result == LoadResult::Unsupported;
}

}  // namespace

// Takes the rows into the map's bitmap after counting its need in the shared total.
class EntrySink final : public RowSink {
public:
    explicit EntrySink(MapEntry& entry) : entry_(entry), builder_(entry.nightMode(), UINT64_MAX) {}

    bool begin(const MapImageDecoder& decoder) override {
        const ImageShape& shape = decoder.shape();
        entry_.adoptShape(shape);
        const std::uint64_t need = memoryNeed(shape);
        // A header may claim far more than the file could hold: refused unallocated.
        if (!entry_.shared_.hasRoom(need)) return false;
        const std::uint64_t before = entry_.shared_.allocatedBytes.fetch_add(need);
        entry_.reserved_.store(need);
        if (builder_.begin(decoder)) return true;
        entry_.shared_.failureBasis.store(static_cast<std::int64_t>(before));
        entry_.releaseImage();
        return false;
    }
    void takeRow(int imageRow, const std::uint8_t* row) override {
        builder_.takeRow(imageRow, row);
    }
    std::unique_ptr<MapImage> take() { return builder_.take(); }

private:
    MapEntry& entry_;
    MapImageBuilder builder_;
};

bool MapEntry::adoptShape(const ImageShape& shape) {
    std::lock_guard<std::mutex> hold(mapLock_);
    const MapDefinition& d = map_.definition();
    if (d.width == shape.width && d.height == shape.height &&
        d.bytesPerPixel == shape.bytesPerPixel())
        return false;
    map_.setImageSize(shape.width, shape.height, shape.bytesPerPixel());
    selection.lastLatitude = selection.lastLongitude = kNoEvaluation;
    return true;
}

LoadResult MapEntry::fullLoad(const std::u16string& path) {
    const std::filesystem::path file = platform::pathFromWide(path);
    const std::unique_ptr<MapImageDecoder> decoder = createDecoder(chooseFormat(file));
    EntrySink sink(*this);
    const LoadResult result = decodeRows(*decoder, file, sink, cancel_);
    std::unique_ptr<MapImage> image = sink.take();
    if (result == LoadResult::Loaded && image) {
        image_ = std::move(image);
        memoryInUse_.store(
            static_cast<std::int32_t>(std::min<std::uint64_t>(reserved_.load(), INT32_MAX)));
    } else {
        releaseImage();
    }
    return result;
}

void MapEntry::loadNow() {
    if (!has(mapflag::kLoaded)) releaseImage();
    if (!active()) {
        set(mapflag::kLoadThreadStarted);
        clear(mapflag::kLoading);
        shared_.shell.requestPass(ManagerLevel::RankAndLoad);
        return;
    }
    set(mapflag::kLoading | mapflag::kLoadThreadStarted);
    clear(mapflag::kNotEnoughMemory);
    const std::u16string path =
        withMap([](const CalibratedMap& m) { return m.definition().imagePath; });
    const LoadResult result = fullLoad(path);
    if (result == LoadResult::Cancelled) {
        // The unload that asked for it frees and resets.
    } else if (result != LoadResult::Loaded) {
        reportFailure(result, path);
    } else if (!has(mapflag::kUnloadRequested)) {
        set(mapflag::kLoaded);
        clear(mapflag::kWaitingToLoad);
    }
    std::unique_lock<std::mutex> end(endLock_);
    clear(mapflag::kLoading);
    const bool abandoned = has(mapflag::kLoadAbandoned);
    end.unlock();
    if (abandoned) resetAfterUnload();
    shared_.shell.requestPass(ManagerLevel::RankAndLoad);
}

void MapEntry::reportFailure(LoadResult result, const std::u16string& path) {
    if (result == LoadResult::NotEnoughMemory) set(mapflag::kNotEnoughMemory);
    set(mapflag::kLoadFailed);
    if (has(mapflag::kErrorHandled)) return;
    if (openFailure(result) && internetTile()) {
        // A cached tile whose file is gone (an emptied cache folder): no question, the
        // tile service drops it at its next run and fetches it again.
        markRemoved();
        set(mapflag::kErrorHandled);
        clear(mapflag::kWaitingToLoad);
        return;
    }
    if (!openFailure(result) || reportEachError_.load()) {
        std::string text = loadMessage(result, wendra::toUtf8(path));
        if (result == LoadResult::NotEnoughMemory && shared_.budgetMiB.load() == 0 &&
            shared_.failureBasis.load() != kNoFailureBasis)
            text += kBudgetNote;
        shared_.shell.ask(wendra::fromUtf8(text), kErrorTitle, platform::Buttons::Ok);
    } else {
        askRemoval();
    }
    set(mapflag::kErrorHandled);
    clear(mapflag::kWaitingToLoad);
}

// Asked once per run; the answer then stands for every map that cannot be opened.
void MapEntry::askRemoval() {
    int answer = static_cast<int>(RemovalAnswer::NotAsked);
    if (shared_.removalAnswer.compare_exchange_strong(answer,
                                                      static_cast<int>(RemovalAnswer::Keep))) {
        const platform::Answer a =
            shared_.shell.ask(kRemovalQuestion, kErrorTitle, platform::Buttons::YesNo);
        answer = static_cast<int>(a == platform::Answer::Yes ? RemovalAnswer::Remove
                                                             : RemovalAnswer::Keep);
        shared_.removalAnswer.store(answer);
    }
    if (answer == static_cast<int>(RemovalAnswer::Remove)) markRemoved();
}

void MapEntry::failForMemory() {
    reportFailure(LoadResult::NotEnoughMemory,
                  withMap([](const CalibratedMap& m) { return m.definition().imagePath; }));
}

void MapEntry::startLoad() {
    if (has(mapflag::kLoadAbandoned)) return;
    if (thread_.joinable()) thread_.join();
    clear(mapflag::kLoadThreadStarted);
    thread_ = std::thread([this] { runThread(); });
    platform::waitFor([this] { return has(mapflag::kLoadThreadStarted); }, u".Loading.1");
}

void MapEntry::runThread() {
    platform::waitFor([this] { return shared_.tryStartLoad(); }, u".LoadThread.1");
    loadNow();
    shared_.endLoad();
}

}  // namespace wendra::maps
