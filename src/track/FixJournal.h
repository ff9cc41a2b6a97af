#pragma once
// The crash-recovery journal "WendraTrc.raw": the fixes recorded since layer 0 was
// last stored, as 40-byte fix records. A trailing partial record is never read, and
// an append first cuts it off, so that the records after it stay whole. The file is
// outside data after a crash: reading keeps only records whose values a receiver can
// have produced (isPlausibleFix).

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "gps/Fix.h"
#include "track/TrackFix.h"

namespace wendra {

class FixJournal {
public:
    static constexpr const char* kFileName = "WendraTrc.raw";

    // `path`: the journal file; its folder is created when missing.
    explicit FixJournal(std::string path);

    const std::string& path() const { return path_; }

    // Opens in append mode, writes the 40 bytes in one write, closes. False (with the
    // file as it was) when the system refused; lastError() then says why.
    bool append(const Fix& fix);
    // The errno of the last append that failed (0 before any). The appending thread's.
    int lastError() const { return lastError_; }
    // Whole records in the file, plausible or not; 0 when it is absent.
    std::size_t recordCount() const;
    // The plausible whole records, in order; stops early when `each` returns false.
    void forEach(const std::function<bool(const Fix&)>& each) const;
    std::vector<Fix> readAll() const;
    // Creates the file empty (the journal of a stored layer 0).
    bool clear();

    // Storing layer 0 commits by moving the journal aside ("WendraTrc.raw.stored")
    // before the stored layer file takes its place, so that a kill at any moment leaves
    // either the previous file with the journal or the new file without it. Where the
    // journal's folder refuses every write (a plain file in its place, read-only, full)
    // there is no journal that the new file could double, and the store goes ahead
    // without the mark: the track in memory must reach its file all the same.
    bool setAside();
    // Undoes setAside() when the new layer file could not be put in place.
    bool takeBack();
    // Deletes the journal set aside, once the new layer file is in place.
    void dropAside();
    bool asideExists() const;
    std::string asidePath() const { return path_ + ".stored"; }

private:
    bool ensureFolder() const;
    bool emptyInPlace();

    std::string path_;
    int lastError_ = 0;
};

// Whether a journal record holds values a receiver can give: a position on the globe,
// finite numbers, a time and speeds within bounds no journey reaches.
bool isPlausibleFix(const Fix& fix);

// A receiver fix as the track records it (live, or replayed from the journal).
TrackFix trackFixOf(const Fix& fix);

// Flushes a folder's entries (a rename or a new file) to the disk; false on failure.
bool syncFolder(const std::string& folder);

}  // namespace wendra
