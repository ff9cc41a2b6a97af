#pragma once
// The owner of one data file's records, as DataFiles loads and saves it. Reading must
// be safe for any bytes; a store never opens, closes or names the file itself.

#include "records/RecordFile.h"

namespace wendra {

class DataStore {
public:
    virtual ~DataStore() = default;

    // The points are saved in the binary form unless "Old saving format" is chosen.
    virtual RecordFileMode saveMode() const { return RecordFileMode::WriteText; }

    // Before loading: the state of a missing file.
    virtual void resetToDefaults() = 0;
    virtual void read(RecordFile& file) = 0;
    // After loading, also when the file was missing.
    virtual void afterLoad() {}
    // False only when the file refused a write: the file then drops what was written
    // and the old file stays. A store that cannot write its records must find that out
    // before writing any of them.
    virtual bool write(RecordFile& file) = 0;
    // A change the store's owner marked itself (the map list's dialogs mark the
    // catalogue), taken and cleared.
    virtual bool takeChanged() { return false; }
};

}  // namespace wendra
