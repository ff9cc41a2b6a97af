// The value texts of the statistics rows, written through the program's formatters in
// the user's unit system and coordinate format. Kept apart from the track code, whose
// "not set" marker is spelled like the formatters' own.

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/MemoryStatus.h"
#include "records/CoordinateFormat.h"
#include "records/SwissGrid.h"
#include "records/Text.h"
#include "records/UnitFormat.h"
#include "records/Utm.h"
#include "track/TrackStatistics.h"

namespace wendra {

namespace {

constexpr bool kOneDecimal = true;

std::u16string printed(const char* format, int a) {
    char text[32];
    std::snprintf(text, sizeof text, format, a);
    return widen(text);
}

std::u16string printed(const char* format, int a, int b) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b);
    return widen(text);
}

// The two position rows: degrees in formats 0 to 2, the grid values in formats 3 and 4
// (east in the latitude row, north and the UTM zone in the longitude row).
void positionTexts(const Fix& fix, int format, std::u16string& first, std::u16string& second) {
    if (format == kFormatUtm) {
        const UtmCoordinates utm = utmFromGeo(fix.latitude, fix.longitude);
        if (!utm.valid()) return;
        formatCoordinate(first, utm.easting, kRoleLatitude, format);
        formatCoordinate(second, utm.northing, kRoleLongitude, format);
        second += u' ';
        appendCoordinate(second, utm.zone, kRoleUtmZone, format);
    } else if (format == kFormatSwiss) {
        const bool inside = fix.latitude >= kSwissSouth && fix.latitude <= kSwissNorth &&
                            fix.longitude >= kSwissWest && fix.longitude <= kSwissEast;
        if (!inside) {
            first = second = u"---";
            return;
        }
        const SwissCoordinates swiss = swissFromGeo(fix.latitude, fix.longitude);
        formatCoordinate(first, swiss.east, kRoleLatitude, format);
        formatCoordinate(second, swiss.north, kRoleLongitude, format);
    } else {
        formatCoordinate(first, fix.latitude, kRoleLatitude, format);
        formatCoordinate(second, fix.longitude, kRoleLongitude, format);
    }
}

}  // namespace

void TrackStatistics::fillLiveRows(const LiveValues& live, int stabilizedCourse,
                                   const StatisticsFormat& format) {
    const int units = format.unitSystem;
    std::u16string text;
    formatClimbSpeed(text, results_.climbSpeed, units);
    setValue(kRowClimbSpeed, text);
    formatNumber(text, results_.glideRatio);
    setValue(kRowGlideRatio, text);
    formatPercentage(text, results_.slope);
    setValue(kRowSlope, text);
    const std::int64_t freeBytes = platform::availableMemoryBytes();
    if (freeBytes >= 0) {
        formatByteSize(text, freeBytes);
        setValue(kRowFreeMemory, text);
    }
    // Before the first fix of the run there is no current value to show.
    if (!live.known) return;
    const Fix& fix = live.fix;
    formatSpeed(text, fix.speed, units);
    setValue(kRowCurrentSpeed, text);
    formatPace(text, fix.speed, units);
    setValue(kRowRhythm, text);
    formatAltitude(text, fix.altitude, units);
    setValue(kRowCurrentAltitude, text);
    formatSignalLevel(text, fix.signal);
    setValue(kRowCurrentSignal, text);
    std::u16string second;
    text.clear();
    positionTexts(fix, format.coordinateFormat, text, second);
    setValue(kRowLatitude, text);
    setValue(kRowLongitude, second);
    setValue(kRowCurrentCourse, printed("%d", fix.course));
    setValue(kRowStabilizedCourse, printed("%d", stabilizedCourse));
}

void TrackStatistics::fillTrackRows(int maxPoints, const StatisticsFormat& format) {
    const StatisticsResults& r = results_;
    const int units = format.unitSystem;
    std::u16string text;
    const auto put = [&](int row) { setValue(row, text); };
    const auto clock = [&](int row, double time) {
        formatDuration(text, time, kClockTimeWithDay);
        put(row);
    };
    const auto duration = [&](int row, double days) {
        formatDuration(text, days, kDurationElapsed);
        put(row);
    };
    const auto altitude = [&](int row, float metres) {
        formatAltitude(text, metres, units);
        put(row);
    };
    const auto distance = [&](int row, float km) {
        formatDistance(text, km, units);
        put(row);
    };
    const auto speed = [&](int row, float kmh) {
        formatSpeed(text, kmh, units, kOneDecimal);
        put(row);
    };
    const auto percentage = [&](int row, float percent) {
        formatPercentage(text, percent);
        put(row);
    };

    clock(kRowFirstAt, r.firstTime);
    altitude(kRowFirstAltitude, r.firstAltitude);
    clock(kRowLastAt, r.lastTime);
    altitude(kRowLastAltitude, r.lastAltitude);
    duration(kRowAccumulatedTime, r.accumulatedTime);
    duration(kRowTotalTime, r.totalTime);
    duration(kRowMovingTime, r.movingTime);
    formatDuration(text, r.stationaryTime, kDurationElapsed);
    text += printed(" (%d%%)", r.stationaryPercent);
    put(kRowStationary);
    distance(kRowLength, r.lengthKm);
    speed(kRowAverageSpeed, r.averageSpeed);
    speed(kRowAverageMovingSpeed, r.averageMovingSpeed);
    speed(kRowAverageTotalSpeed, r.averageTotalSpeed);
    if (r.maxSpeed.found()) {
        formatSpeed(text, r.maxSpeed.value, units);
        put(kRowMaxSpeed);
    }
    clock(kRowMaxSpeedAt, r.maxSpeed.time);
    if (r.maxAltitude.found()) altitude(kRowMaxAltitude, r.maxAltitude.value);
    clock(kRowMaxAltitudeAt, r.maxAltitude.time);
    if (r.minAltitude.found()) altitude(kRowMinAltitude, r.minAltitude.value);
    clock(kRowMinAltitudeAt, r.minAltitude.time);
    altitude(kRowAltitudeDelta, r.altitudeDelta);
    altitude(kRowAmplitude, r.amplitude);
    int row = kRowPositive;
    for (const StatisticsClimb* climb : {&r.positive, &r.negative}) {
        altitude(row, climb->uneven);
        distance(row + 1, climb->distance);
        duration(row + 2, climb->time);
        speed(row + 3, climb->averageSpeed);
        percentage(row + 4, climb->slope);
        row += 5;
    }
    formatSignalLevel(text, r.averageSignal);
    put(kRowAverageSignal);
    setValue(kRowPointCount, printed("%d/%d", r.pointCount, maxPoints));
    setValue(kRowSegmentCount, printed("%d", r.segmentCount));
}

}  // namespace wendra
