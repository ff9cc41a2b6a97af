#include <gtest/gtest.h>

#include <QCursor>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QScreen>
#include <atomic>
#include <filesystem>
#include <thread>

#include "QtTestApplication.h"
#include "platform/WidePath.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtImages.h"
#include "platform/qt/QtSnapshotWriter.h"
#include "platform/qt/QtStatusBanner.h"
#include "platform/qt/QtWaitCursor.h"
#include "platform/qt/QtWindow.h"
#include "support/TestPaths.h"

namespace wendra::test {
namespace {

using namespace std::chrono_literals;
using platform::Size;

TEST(QtStatusBanner, DrawsABandAcrossTheBottomOfTheScreenUntilTheNextCall) {
    platform::qt::QtStatusBanner banner(1);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    banner.show(u"Saving config...");
    ASSERT_TRUE(banner.shown());
    const QRect band = banner.widget()->geometry();
    EXPECT_EQ(band.bottom(), screen.bottom());
    EXPECT_EQ(band.width(), screen.width());
    EXPECT_EQ(band.height(), platform::kStatusBannerHeight);

    const platform::PixelBuffer& pixels = banner.pixels();
    const platform::Pixel16 white = platform::toPixel16(platform::rgb(255, 255, 255));
    const platform::Pixel16 black = platform::toPixel16(platform::rgb(0, 0, 0));
    int ink = 0, inkAtTheEnds = 0;
    for (int y = 0; y < pixels.height(); ++y)
        for (int x = 0; x < pixels.width(); ++x) {
            const platform::Pixel16 p = pixels.at(x, y);
            ASSERT_TRUE(p == white || p == black);
            if (p == black) ++ink;
            if (p == black && (x < pixels.width() / 4 || x > pixels.width() * 3 / 4))
                ++inkAtTheEnds;
        }
    EXPECT_GT(ink, 50) << "the text is drawn";
    EXPECT_EQ(inkAtTheEnds, 0) << "centred: nothing near the ends";

    std::atomic<bool> hidden{false};
    std::thread worker([&] {  // from another thread, which waits for the window thread
        banner.show(u"");
        hidden = true;
    });
    processEventsFor(5s, [&] { return hidden.load(); });
    worker.join();
    EXPECT_FALSE(banner.shown());
}

TEST(StatusBannerLayout, FollowsTheScreenAndTheMultiplier) {
    const auto small = platform::statusBannerLayout(Size{240, 320}, 1);
    EXPECT_EQ(small.band, (platform::Rect{0, 296, 240, 320}));
    EXPECT_EQ(small.font, (platform::Font{240 / 33, 22, true}));
    const auto large = platform::statusBannerLayout(Size{800, 480}, 2);
    EXPECT_EQ(large.band, (platform::Rect{0, 432, 800, 480}));
    EXPECT_EQ(large.font, (platform::Font{480 / 33, 46, true}));
}

TEST(QtWaitCursor, ShowsTheWaitCursorWhileAWaitCursorLives) {
    platform::qt::QtWaitCursor host;
    platform::ScopedWaitCursorHost installed(host);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        platform::WaitCursor outer;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        { platform::WaitCursor inner; }
        EXPECT_NE(QGuiApplication::overrideCursor(), nullptr) << "nested uses balance";
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    std::thread([] { platform::WaitCursor fromWorker; }).join();
    processEventsFor(50ms);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "queued show and hide, in order";
}

class GreenHandler final : public platform::WindowHandler {
public:
    void created(platform::Window&) override {}
    void message(std::uint32_t, std::int64_t) override {}
    void paint(platform::DrawingSurface& surface, const platform::Rect&) override {
        surface.fillRect(platform::Rect{0, 0, surface.size().width, surface.size().height},
                         platform::rgb(0, 255, 0));
    }
    bool closeRequested() override { return true; }
};

TEST(QtSnapshotWriter, WritesTheWindowAndWhatIsOverItEveryInterval) {
    TempDir folder;
    GreenHandler handler;
    platform::qt::QtWindow window(handler, Size{160, 120});
    window.widget().move(0, 0);
    window.show();
    // A box shown over the window's lower right corner, partly beyond it.
    QWidget box;
    box.setAutoFillBackground(true);
    QPalette red = box.palette();
    red.setColor(QPalette::Window, Qt::red);
    box.setPalette(red);
    box.setGeometry(window.widget().geometry().left() + 140,
                    window.widget().geometry().top() + 100, 60, 60);
    box.show();
    processEventsFor(50ms);
    platform::qt::QtSnapshotWriter writer(window.widget(), folder / "shots", 40);
    processEventsFor(1s, [&] { return writer.written() >= 2; });
    EXPECT_GE(writer.written(), 2);
    ASSERT_TRUE(std::filesystem::exists(writer.file()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "shots"),
                            std::filesystem::directory_iterator()),
              1)
        << "nothing half-written left beside";
    const QImage picture(QString::fromStdString(writer.file().string()));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(160, 120)) << "the window's size, not the screen's";
    EXPECT_EQ(picture.pixelColor(80, 60), QColor(0, 0xFB, 0)) << "0xF8 green widened by Qt";
    EXPECT_EQ(picture.pixelColor(150, 110), QColor(Qt::red)) << "the box over it";
}

TEST(QtFileDialogs, ShowsTheFiltersAndReturnsTheChosenFile) {
    EXPECT_EQ(
        platform::qt::qtNameFilters({{u"Track files", u"*.wdt;*.wdn"}, {u"All", u"*.*"}}),
        (QStringList{QStringLiteral("Track files (*.wdt *.wdn)"), QStringLiteral("All (*.*)")}));
    TempDir folder;
    writeFile(folder / "Trip.wdt", "");
    const std::u16string start = *platform::wideFromPath(folder.path());
    platform::qt::QtFileDialogs host;

    whenModalShows([](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->nameFilters(), QStringList{QStringLiteral("Tracks (*.wdt)")});
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        ASSERT_FALSE(dialog->selectedFiles().isEmpty());
        EXPECT_TRUE(dialog->selectedFiles().first().endsWith(QStringLiteral("/Trc-1")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    platform::FileDialogRequest save{
        platform::FileDialogKind::Save, {{u"Tracks", u"*.wdt"}}, start, u"Trc-1"};
    const platform::FileDialogResult saved = host.run(save);
    EXPECT_EQ(saved.status, platform::FileDialogStatus::Chosen);
    EXPECT_EQ(saved.path, start + u"/Trc-1");

    whenModalShows([](QWidget& modal) { qobject_cast<QDialog*>(&modal)->reject(); });
    platform::FileDialogRequest open{
        platform::FileDialogKind::Open, {{u"Tracks", u"*.wdt"}}, start, {}};
    EXPECT_EQ(host.run(open).status, platform::FileDialogStatus::Cancelled);
}

TEST(QtImages, LoadsAnIconStripFromAPicture) {
    TempDir folder;
    QImage strip(6, 3, QImage::Format_ARGB32);
    strip.fill(QColor(255, 0, 0));
    strip.setPixelColor(0, 0, QColor(0, 0, 0, 0));
    strip.setPixelColor(3, 0, QColor(0, 0, 255));
    ASSERT_TRUE(strip.save(QString::fromStdString((folder / "icons.png").string())));
    const auto icons = platform::qt::loadImageList(folder / "icons.png", 3);
    ASSERT_TRUE(icons.has_value());
    EXPECT_EQ(icons->count(), 2);
    platform::PixelBuffer target(Size{3, 3}, 0x1234);
    icons->draw(target, 0, platform::Point{0, 0});
    EXPECT_EQ(target.at(0, 0), 0x1234) << "transparent pixel";
    EXPECT_EQ(target.at(1, 0), platform::toPixel16(platform::rgb(255, 0, 0)));
    icons->draw(target, 1, platform::Point{0, 0});
    EXPECT_EQ(target.at(0, 0), platform::toPixel16(platform::rgb(0, 0, 255)));

    writeFile(folder / "broken.png", "\x89PNG\r\n\x1a\n not really");
    EXPECT_FALSE(platform::qt::loadImageList(folder / "broken.png", 3).has_value());
    EXPECT_FALSE(platform::qt::loadImageList(folder / "missing.png", 3).has_value());
}

}  // namespace
}  // namespace wendra::test
