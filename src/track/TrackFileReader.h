#pragma once
// Reads the point records of a track file, text or binary, one at a time. A damaged
// stretch (a broken length, a cut line, a field that is no number, a value out of its
// range) costs only the records it touches: the reader picks up again at the next
// readable record and counts what it passed over, so a caller can tell a file that
// loaded whole from one that did not.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/RecordFile.h"
#include "track/TrackRecords.h"

namespace wendra {

class TrackFileReader {
public:
    // False when the path cannot be read; failure() then says why.
    bool open(const std::string& path);
    bool isBinary() const { return file_.isBinary() && !markedText_; }
    // The next readable record, nothing at the end of the file.
    std::optional<PointRecord> next();

    // "is a folder", or the system's reason, after a failed open.
    const std::string& failure() const { return failure_; }
    // Records refused and damaged stretches passed over (blank lines are not counted).
    long skipped() const { return skipped_; }

private:
    std::optional<PointRecord> nextBinary();
    std::optional<PointRecord> nextText();
    // Bytes from the window's start that are at hand (fewer only at the end).
    size_t ensure(size_t count);
    void consume(size_t count);
    // The point record framed at `offset` from the window's start, when it is one.
    std::optional<PointRecord> readableAt(size_t offset);
    void skipToReadableRecord();
    void recogniseMarkedText();

    RecordFile file_;
    std::string failure_;
    long skipped_ = 0;
    std::vector<uint8_t> window_;  // binary: bytes read ahead, from start_ on
    size_t start_ = 0;
    std::string pending_;      // text: what is left of the current line
    bool markedText_ = false;  // a text file whose first byte was damaged into 0xFF
};

}  // namespace wendra
