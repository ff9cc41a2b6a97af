#include "points/IconList.h"

#include <algorithm>
#include <memory>
#include <system_error>

#include "maps/BmpDecoder.h"
#include "platform/Rgb16.h"
#include "records/Text.h"

namespace wendra::points {

namespace {

constexpr std::u16string_view kNoIconName = u"*";
constexpr std::u16string_view kSharedName = u"*SH*";
constexpr size_t kFileNameMin = 5;   // longer than 4
constexpr size_t kFileNameMax = 30;  // shorter than 31
constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kSeeThrough = 0x00FFFFFFu;
constexpr std::uint32_t kSharedRing = 0xFF1E50C8u;
constexpr std::uint32_t kSharedCentre = 0xFFF0A000u;

bool isBmpName(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const size_t length = file.filename().string().size();
    return extension == ".bmp" && length >= kFileNameMin && length <= kFileNameMax;
}

// The decoded image scaled (nearest pixel) to size x size, white see-through.
bool decodeIcon(const std::filesystem::path& file, int size, std::vector<std::uint32_t>& argb) {
    maps::BmpDecoder decoder;
    if (decoder.open(file) != maps::OpenResult::Opened) return false;
    const maps::ImageShape shape = decoder.shape();
    if (!shape.valid()) return false;
    std::vector<std::uint32_t> source(static_cast<size_t>(shape.width) * shape.height);
    std::vector<std::uint8_t> row(static_cast<size_t>(shape.width) * 3);
    while (decoder.nextRowIndex() >= 0) {
        const int y = decoder.readRow(row.data());
        if (y < 0 || y >= shape.height) return false;
        for (int x = 0; x < shape.width; ++x) {
            const std::uint8_t* rgb =
                shape.palette ? &decoder.palette()[row[x] * 3u] : &row[x * 3u];
            source[static_cast<size_t>(y) * shape.width + x] =
                kOpaque | (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2];
        }
    }
    argb.resize(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            argb[static_cast<size_t>(y) * size + x] =
                source[static_cast<size_t>(y * shape.height / size) * shape.width +
                       x * shape.width / size];
    }
    return true;
}

// A ring around a dot: the symbol of another user's position.
std::vector<std::uint32_t> sharedSymbol(int size) {
    std::vector<std::uint32_t> argb(static_cast<size_t>(size) * size, kSeeThrough);
    const double centre = (size - 1) / 2.0;
    const double outer = size / 2.0 - 0.5;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double d2 = (x - centre) * (x - centre) + (y - centre) * (y - centre);
            std::uint32_t& pixel = argb[static_cast<size_t>(y) * size + x];
            if (d2 <= outer * outer * 0.16)
                pixel = kSharedCentre;
            else if (d2 <= outer * outer && d2 >= outer * outer * 0.5)
                pixel = kSharedRing;
        }
    }
    return argb;
}

}  // namespace

IconList::IconList() {
    build({}, kIconSize);
}

int IconList::load(const std::filesystem::path& folder, int pixelMultiplier) {
    const int size = kIconSize * std::max(pixelMultiplier, 1);
    std::vector<Icon> icons;
    std::error_code code;
    for (std::filesystem::directory_iterator it(folder, code), end; !code && it != end;
         it.increment(code)) {
        const std::filesystem::path& file = it->path();
        if (!isBmpName(file)) continue;
        Icon icon;
        icon.name = widen(file.stem().string());
        if (decodeIcon(file, size, icon.argb)) icons.push_back(std::move(icon));
    }
    const int loaded = static_cast<int>(icons.size());
    build(std::move(icons), size);
    return loaded;
}

void IconList::build(std::vector<Icon> icons, int size) {
    // The shared symbol keeps its place: the painter draws it by number.
    std::sort(icons.begin(), icons.end(),
              [](const Icon& a, const Icon& b) { return a.name < b.name; });
    const size_t count = icons.size() + 2;
    const size_t stride = static_cast<size_t>(size) * count;
    std::vector<std::uint32_t> strip(stride * size, kSeeThrough);
    const auto place = [&](size_t index, const std::vector<std::uint32_t>& argb) {
        for (int y = 0; y < size; ++y)
            std::copy_n(argb.begin() + static_cast<ptrdiff_t>(y) * size, size,
                        strip.begin() + static_cast<ptrdiff_t>(y * stride + index * size));
    };
    names_ = {std::u16string(kNoIconName), std::u16string(kSharedName)};
    place(kSharedIcon, sharedSymbol(size));
    for (size_t i = 0; i < icons.size(); ++i) {
        names_.push_back(std::move(icons[i].name));
        place(i + 2, icons[i].argb);
    }
    images_ = platform::ImageList::fromArgb(strip, platform::Size{static_cast<int>(stride), size},
                                            size, platform::rgb(255, 255, 255));
}

int IconList::indexOf(std::u16string_view name) const {
    for (size_t i = 1; i < names_.size(); ++i) {
        if (names_[i] == name) return static_cast<int>(i);
    }
    return kNoIcon;
}

std::filesystem::path installedIconsFolder(const std::filesystem::path& programFile) {
    return programFile.parent_path().parent_path() / "share" / "wendra" /
           std::string(kIconsFolderName);
}

int copyMissingIcons(const std::filesystem::path& shippedFolder,
                     const std::filesystem::path& iconsFolder) {
    std::error_code code;
    std::filesystem::create_directories(iconsFolder, code);
    if (code) return 0;
    int copied = 0;
    for (std::filesystem::directory_iterator it(shippedFolder, code), end; !code && it != end;
         it.increment(code)) {
        if (!isBmpName(it->path())) continue;
        const std::filesystem::path target = iconsFolder / it->path().filename();
        std::error_code copyCode;
        if (std::filesystem::exists(target, copyCode)) continue;
        if (std::filesystem::copy_file(it->path(), target, copyCode)) ++copied;
    }
    return copied;
}

}  // namespace wendra::points
