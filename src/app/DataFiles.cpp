#include "app/DataFiles.h"

#include "platform/MessageBox.h"
#include "records/RecordFile.h"
#include "track/MemoryError.h"

namespace wendra {

namespace {

struct FileTexts {
    std::string_view name;
    std::u16string_view loading;
    std::u16string_view saving;
    std::u16string_view saveFailure;
};

constexpr std::u16string_view kUnableToSave = u"Unable to save config!";
constexpr std::u16string_view kErrorTitle = u"Error!";

constexpr std::array<FileTexts, kDataFileCount> kFiles = {{
    {"Wendra.ini", u"Loading config...", u"Saving config...", kUnableToSave},
    {"Wendra.wdm", u"Loading maps...", u"Saving maps...", kUnableToSave},
    {"Wendra.net", u"Loading cache...", u"Saving cache...", kUnableToSave},
    {"Wendra.wdp", u"Loading points...", u"Saving points...", kUnableToSave},
    {"Wendra.wdn", u"Loading route...", u"Saving route...", u"Unable to open file!"},
}};

constexpr DataFile kLoadOrder[] = {DataFile::Configuration, DataFile::Maps, DataFile::Cache,
                                   DataFile::Points, DataFile::Routes};
constexpr DataFile kSaveOrder[] = {DataFile::Configuration, DataFile::Maps, DataFile::Cache,
                                   DataFile::Routes, DataFile::Points};

}  // namespace

DataFiles::DataFiles(std::string programFolder, StatusBanner& banner)
    : folder_(std::move(programFolder)), banner_(banner) {}

void DataFiles::attach(DataFile file, DataStore& store) {
    stores_[index(file)] = &store;
}

std::string_view DataFiles::fileName(DataFile file) {
    return kFiles[index(file)].name;
}

std::string DataFiles::path(DataFile file) const {
    std::string path = folder_;
    if (!path.empty() && path.back() != '/') path += '/';
    path += fileName(file);
    return path;
}

void DataFiles::loadAll() {
    for (const DataFile file : kLoadOrder) load(file);
    changed_[index(DataFile::Routes)] = false;
}

bool DataFiles::load(DataFile file) {
    DataStore* store = stores_[index(file)];
    if (!store) return false;
    banner_.show(kFiles[index(file)].loading);
    store->resetToDefaults();
    RecordFile records;
    const bool found = records.open(path(file), RecordFileMode::Read);
    if (!records.hasBuffer()) showMemoryError(kRecordFileMemoryError);
    if (found) store->read(records);
    records.close();
    store->afterLoad();
    banner_.hide();
    changed_[index(file)] = false;
    return found;
}

bool DataFiles::save(DataFile file) {
    DataStore* store = stores_[index(file)];
    if (!store) return false;
    const FileTexts& texts = kFiles[index(file)];
    store->takeChanged();  // what is saved now is no longer a change
    banner_.show(texts.saving);
    banner_.setWaitCursor(true);
    RecordFile records;
    bool saved = records.open(path(file), store->saveMode());
    if (!records.hasBuffer()) showMemoryError(kRecordFileMemoryError);
    if (saved) {
        saved = store->write(records);
        // A refused write leaves the new content unfinished: close() then drops it.
        saved = records.close() && saved;
    }
    banner_.setWaitCursor(false);
    banner_.hide();
    if (!saved) platform::showMessage(texts.saveFailure, kErrorTitle);
    changed_[index(file)] = false;
    return saved;
}

void DataFiles::saveChanged(bool force) {
    for (const DataFile file : kSaveOrder) {
        DataStore* store = stores_[index(file)];
        if (!store) continue;
        const bool marked = store->takeChanged() || changed(file);
        if (force || marked) save(file);
    }
}

void DataFiles::markChanged(DataFile file) {
    changed_[index(file)] = true;
    if (file == DataFile::Points) changed_[index(DataFile::Routes)] = true;
}

}  // namespace wendra
