#include "simulator/NmeaSimulator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "simulator/NmeaWriter.h"
#include "simulator/SkyModel.h"

namespace wendra::sim {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kEarthRadius = 6371000.0;  // metres

// Sky: the receiver lists satellites above 5 degrees on its 12 channels and solves
// with those above 10 degrees that it tracks.
constexpr double kInViewMask = 5.0;
constexpr double kUsedMask = 10.0;
constexpr size_t kChannels = 12;

// Signal in dB-Hz: weak near the horizon, strong overhead, with fading, a little
// spread between satellites, the walker's body behind the antenna, and a tracking
// threshold below which the receiver leaves the signal field empty.
constexpr double kSignalHorizon = 22.0;
constexpr double kSignalGain = 24.0;
constexpr double kFadingSpread = 2.0;
constexpr double kFadingMemory = 8.0;  // seconds
constexpr double kBodyLoss = 5.0;
constexpr double kBodyHalfAngle = 50.0;
constexpr double kTrackThreshold = 24.0;
constexpr int kStrongestSignal = 50;

// The hills hide the low sky, most of all to the south where the high Alps stand.
constexpr double kHorizonBase = 4.0;
constexpr double kHorizonAlps = 8.0;
constexpr double kAlpsAzimuth = 160.0;

// Under the rock face: the wall on the walker's right hides everything but the
// zenith on that side, and the overhang weakens the rest.
constexpr double kWallHidesBelow = 65.0;
constexpr double kWallHalfWidth = 110.0;
constexpr double kOverhangLoss = 12.0;

// Receiver position error: wanders over tens of seconds, scaled by the DOP.
constexpr double kHorizontalSpread = 1.4;  // metres per axis at HDOP 1
constexpr double kVerticalSpread = 2.2;    // metres at VDOP 1
constexpr double kPositionMemory = 40.0;   // seconds
constexpr double kSpeedSpread = 0.25;      // km/h, from one second to the next
constexpr double kSpeedDrift = 0.2;        // km/h, slowly wandering
constexpr double kSpeedMemory = 15.0;      // seconds
constexpr double kCourseSpread = 3.0;      // degrees
// Below this speed the receiver cannot tell a course and leaves the field empty.
constexpr double kCourseMinKmh = 1.0;

double angleBetween(double a, double b) {
    const double d = std::fmod(std::abs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

double horizonAt(double azimuth) {
    return kHorizonBase +
           kHorizonAlps * std::max(0.0, std::cos((azimuth - kAlpsAzimuth) * kDegree));
}

// A fixed offset of up to +-2 dB per satellite: transmitters and their
// antenna patterns differ.
double satelliteOffset(int prn) {
    return ((prn * 37) % 7 - 3) * 0.7;
}

}  // namespace

NmeaSimulator::NmeaSimulator(const SimulationOptions& options)
    : options_(options),
      usable_(checkOptions(options).empty()),
      random_(options.seed),
      walk_(options.latitude, options.longitude, options.altitude,
            options.profile.legs.empty() ? 0.0 : options.profile.legs.front().bearing),
      fading_(kPrnSlots, NoiseProcess(kFadingMemory)),
      errorNorth_(kPositionMemory),
      errorEast_(kPositionMemory),
      errorUp_(kPositionMemory),
      speedError_(kSpeedMemory) {}

std::optional<ReceiverCycle> NmeaSimulator::next() {
    if (!usable_ || done_ >= options_.seconds) return std::nullopt;
    const WalkLeg leg = options_.profile.legAt(done_);
    const ReceiverReport report = observe(leg);
    ReceiverCycle cycle{report.utc, formatCycle(report)};
    walk_.advance(leg, done_ - options_.profile.legStart(done_), random_);
    ++done_;
    return cycle;
}

ReceiverReport NmeaSimulator::observe(const WalkLeg& leg) {
    ReceiverReport report;
    report.utc = options_.start + std::chrono::seconds{done_};
    report.geoidSeparation = options_.geoidSeparation;
    addSatellites(report, leg);
    addPosition(report);
    addMotion(report);
    return report;
}

void NmeaSimulator::addSatellites(ReceiverReport& report, const WalkLeg& leg) {
    // Every process steps every second, seen or not, so that what one satellite
    // does never shifts the chance draws of the others.
    std::vector<double> fading(kPrnSlots);
    for (int prn = 0; prn < kPrnSlots; ++prn) fading[prn] = fading_[prn].step(random_);

    const WalkerState& walker = walk_.state();
    std::vector<SatellitePosition> sky =
        SkyModel::view(report.utc, walker.latitude, walker.longitude, walker.altitude, kInViewMask);
    if (sky.size() > kChannels) sky.resize(kChannels);
    std::vector<SatellitePosition> solving;
    for (const SatellitePosition& sat : sky) {
        const int snr = signalOf(sat, leg, fading[sat.prn]);
        report.inView.push_back({sat.prn, static_cast<int>(std::lround(sat.elevation)),
                                 static_cast<int>(std::lround(sat.azimuth)) % 360, snr});
        if (snr > 0 && sat.elevation >= kUsedMask) {
            report.used.push_back(sat.prn);
            solving.push_back(sat);
        }
    }
    const std::optional<Dop> dop = computeDop(solving);
    report.fix = leg.fix && dop.has_value();
    if (report.fix)
        report.dop = *dop;
    else
        report.used.clear();
}

int NmeaSimulator::signalOf(const SatellitePosition& sat, const WalkLeg& leg, double fading) const {
    if (sat.elevation < horizonAt(sat.azimuth)) return 0;
    const double heading = walk_.state().heading;
    double signal = kSignalHorizon + kSignalGain * std::sqrt(std::sin(sat.elevation * kDegree)) +
                    satelliteOffset(sat.prn) + kFadingSpread * fading;
    if (angleBetween(sat.azimuth, heading + 180.0) < kBodyHalfAngle) signal -= kBodyLoss;
    if (!leg.fix) {
        if (sat.elevation < kWallHidesBelow &&
            angleBetween(sat.azimuth, heading + 90.0) < kWallHalfWidth)
            return 0;
        signal -= kOverhangLoss;
    }
    if (signal < kTrackThreshold) return 0;
    return std::min(static_cast<int>(std::lround(signal)), kStrongestSignal);
}

void NmeaSimulator::addPosition(ReceiverReport& report) {
    const WalkerState& walker = walk_.state();
    const double hdop = report.fix ? report.dop.horizontal : 1.0;
    const double vdop = report.fix ? report.dop.vertical : 1.0;
    const double north = kHorizontalSpread * hdop * errorNorth_.step(random_);
    const double east = kHorizontalSpread * hdop * errorEast_.step(random_);
    const double up = kVerticalSpread * vdop * errorUp_.step(random_);
    report.latitude = walker.latitude + north / kEarthRadius / kDegree;
    report.longitude =
        walker.longitude + east / (kEarthRadius * std::cos(walker.latitude * kDegree)) / kDegree;
    // The error may carry a walker on the date line across it.
    if (report.longitude > 180.0) report.longitude -= 360.0;
    if (report.longitude <= -180.0) report.longitude += 360.0;
    report.altitude = walker.altitude + up;
}

void NmeaSimulator::addMotion(ReceiverReport& report) {
    const WalkerState& walker = walk_.state();
    const double drift = kSpeedDrift * speedError_.step(random_);
    const double jitter = kSpeedSpread * random_.gaussian();
    const double courseError = kCourseSpread * random_.gaussian();
    // Standing still, the receiver still sees its own error wander as a crawl.
    report.speedKmh = walker.speedKmh > 0.0 ? std::max(0.0, walker.speedKmh + drift + jitter)
                                            : std::abs(drift + 0.5 * jitter);
    if (report.speedKmh >= kCourseMinKmh)
        report.course = std::fmod(walker.heading + courseError + 360.0, 360.0);
}

std::string simulateLog(const SimulationOptions& options) {
    NmeaSimulator simulator(options);
    std::string log;
    while (std::optional<ReceiverCycle> cycle = simulator.next()) log += cycle->sentences;
    return log;
}

}  // namespace wendra::sim
