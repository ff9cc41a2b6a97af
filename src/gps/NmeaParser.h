#pragma once
// Folds the receiver's NMEA stream into the current Fix, the satellites in view, the
// dilution of precision, the receiver's clock strings and the ParserFlags word.
// Any bytes are safe to feed; sentences that do not check out are skipped silently.
// Not thread-safe: one thread parses; others may only read between calls.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "gps/Fix.h"
#include "gps/NmeaFramer.h"
#include "gps/ParserFlags.h"

namespace wendra {

namespace nmea {
class FieldReader;
}

struct SatelliteInView {
    int32_t prn = 0;
    // Carrier-to-noise in dB-Hz, at most 45; negative when not used for the solution.
    int32_t signal = 0;
    int32_t elevation = 0;
    int32_t azimuth = 0;

    bool operator==(const SatelliteInView&) const = default;
};

class NmeaParser {
public:
    static constexpr size_t kSatelliteSlots = 64;
    static constexpr size_t kUsedSlots = 12;
    static constexpr float kDefaultCorrection = 48.0f;
    static constexpr size_t kReceiverStringMax = 31;
    // The geoid separation is within about 110 m of the ellipsoid everywhere; a stored
    // correction beyond this is damage, not a setting.
    static constexpr float kMaxCorrection = 1000.0f;

    using Satellites = std::array<SatelliteInView, kSatelliteSlots>;
    using UsedSatellites = std::array<int32_t, kUsedSlots>;

    // What a decoder may need besides the sentence's fields.
    struct SentenceContext {
        int commas = 0;
        uint32_t talker = 0;    // the talker's bit
        bool afterGsa = false;  // the sentence before was a decoded GSA
    };
    // A sentence the parser decodes: its type after the talker ("GGA") and the comma
    // counts of the NMEA versions that send it. Any other comma count is a sentence of
    // some other layout, which is counted but not read.
    struct Sentence {
        static constexpr int kAnyCommas = std::numeric_limits<int>::max();

        std::string_view type;
        int minCommas = 0;
        int maxCommas = 0;
        // The field of the latitude (the talker's address is field 0); 0 when the
        // sentence holds no position. Another system's talker that is not decoded still
        // counts its positions, to tell that decoding it would help.
        int latitudeField = 0;
        void (NmeaParser::*decode)(nmea::FieldReader&, const SentenceContext&) = nullptr;

        bool accepts(int commas) const { return commas >= minCommas && commas <= maxCommas; }
    };
    static const std::array<Sentence, 5> kSentences;
    // The entry of `type`, or null when the parser does not decode it.
    static const Sentence* findSentence(std::string_view type);

    NmeaParser();

    // Appends the chunk and decodes every complete sentence now held.
    void parse(std::string_view chunk);

    // The NMEA2 record: "NMEA2|flags|correction|\n".
    std::string settingsRecord() const;
    // Takes an NMEA2 line; false when the line is some other record. A flags word with
    // bits the program does not know, or a correction that is not a finite number within
    // kMaxCorrection, is damage: that value keeps its default.
    bool loadSettings(std::string_view line);
    static bool validCorrection(float metres);

    // Whether "Update time" may set the machine's clock. Off until the program says
    // so: only the window reading a real receiver does, never a replayed log, a
    // simulation or a tool, whose times are not now.
    void allowClockSetting(bool allowed) { clockAllowed_ = allowed; }
    // Counts the parser's own changes to its saved settings (the correction learnt from
    // the receiver, "Upd auto" switching itself off), so that they reach the file.
    uint32_t settingsRevision() const { return settingsRevision_; }

    int32_t flags() const { return flags_; }
    void setFlags(int32_t flags) { flags_ = flags; }
    float correction() const { return correction_; }
    void setCorrection(float metres) { correction_ = metres; }

    const Fix& fix() const { return fix_; }
    const Satellites& satellites() const { return satellites_; }
    int32_t satellitesInView() const { return satellitesInView_; }
    const UsedSatellites& usedSatellites() const { return used_; }
    float dilution() const { return dilution_; }
    int32_t sentenceCount() const { return sentenceCount_; }
    int32_t reportedBaudRate() const { return reportedBaudRate_; }
    std::string_view receiverTime() const { return receiverTime_; }
    std::string_view receiverDate() const { return receiverDate_; }
    // Position sentences (GGA, RMC) decoded with a usable position; and those of the
    // other satellite systems' talkers left undecoded because kAllSystems is off,
    // which tell that the bit would help.
    int32_t positionCount() const { return positions_; }
    int32_t otherSystemPositionCount() const { return otherSystemPositions_; }

private:
    // Shorter coordinate fields ("4807") are what receivers send before a first fix.
    static constexpr size_t kCoordinateMinLength = 6;

    static float correctionOf(std::string_view field);

    void startCall();
    void decodePending();
    void dispatch(std::string_view payload, int commas);
    void countOtherSystemPosition(const Sentence& sentence, nmea::FieldReader& fields);

    void decodeGga(nmea::FieldReader& fields, const SentenceContext&);
    void decodeRmc(nmea::FieldReader& fields, const SentenceContext&);
    void decodeVtg(nmea::FieldReader& fields, const SentenceContext&);
    void decodeGsa(nmea::FieldReader& fields, const SentenceContext& context);
    void decodeGsv(nmea::FieldReader& fields, const SentenceContext& context);
    void decodeReceiverText(std::string_view address, nmea::FieldReader& fields);

    bool readCoordinate(nmea::FieldReader& fields, double& stored);
    void readPosition(nmea::FieldReader& fields);
    void readAltitude(nmea::FieldReader& fields);
    void takeSpeed(std::string_view knots);
    void takeCourse(std::string_view degrees);
    void takeReceiverTime(std::string_view field);
    void takeReceiverDate(std::string_view field);
    void setDeviceTime();
    void setDeviceDate();

    void readSatellite(nmea::FieldReader& fields, int32_t prn);
    void clearSky();

    template <typename T>
    void store(T& target, T value) {
        if (target != value) flags_ |= ParserFlags::kChanged;
        target = value;
    }
    bool has(int32_t bits) const { return (flags_ & bits) == bits; }
    bool maySetClock() const {
        return clockAllowed_ && has(ParserFlags::kFixValid | ParserFlags::kSetClock);
    }

    NmeaFramer framer_;
    int32_t flags_ = ParserFlags::kInitial;
    float correction_ = kDefaultCorrection;
    Fix fix_;
    Satellites satellites_{};
    UsedSatellites used_{};
    int32_t satellitesInView_ = 0;
    size_t slot_ = 0;
    int32_t expectedMessage_ = 1;
    float runningLevel_ = 0.0f;
    float dilution_ = 0.0f;
    int32_t sentenceCount_ = 0;
    int32_t reportedBaudRate_ = 0;
    int32_t positions_ = 0;
    int32_t otherSystemPositions_ = 0;
    // With all systems on, a GSV group of a talker not yet in the sky table joins it
    // (one bit per talker) and a GSA right after a GSA extends the used list.
    uint32_t skyTalkers_ = 0;
    bool previousWasGsa_ = false;
    bool clockAllowed_ = false;
    uint32_t settingsRevision_ = 0;
    double previousCall_ = 0.0;
    double now_ = 0.0;  // the Day number of the current call
    std::string receiverTime_;
    std::string receiverDate_;
};

}  // namespace wendra
