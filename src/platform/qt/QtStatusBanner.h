#pragma once
// The status banner as a frameless window kept above all others at the bottom of
// the screen; it is painted before show() returns, since the window thread is
// usually busy with the long operation the banner announces.

#include <QWidget>
#include <memory>

#include "platform/PixelBuffer.h"
#include "platform/StatusBanner.h"

namespace wendra::platform::qt {

class QtStatusBanner final : public StatusBannerHost {
public:
    explicit QtStatusBanner(int pixelMultiplier = 1);
    ~QtStatusBanner() override;

    void show(std::u16string_view text) override;

    // The band as drawn, and whether it is up (for tests and snapshots).
    const PixelBuffer& pixels() const { return pixels_; }
    bool shown() const;
    QWidget* widget() const { return band_.get(); }

private:
    void showOnGuiThread(std::u16string_view text);

    int pixelMultiplier_;
    PixelBuffer pixels_;
    std::unique_ptr<QWidget> band_;
};

}  // namespace wendra::platform::qt
