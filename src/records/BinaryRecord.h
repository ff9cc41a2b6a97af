#pragma once
// Length-prefixed records of the binary track and points files: a little-endian u16
// payload length, then the payload. Payload fields are little-endian on every host:
//
//   F double, 8 bytes    f float, 4 bytes    d, X, C int32, 4 bytes
//   s, S byte string     w, x, W wide string, narrowed to one byte per unit
//   a string is a u16 byte count, then that many bytes (no terminator)
//
// The reader never reads past its payload: a field that does not fit fails the record.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "records/RecordFile.h"
#include "records/RecordSplitter.h"

namespace wendra {

constexpr size_t kMaxBinaryPayload = 65535;

// One value to pack; its type must fit the letter (int32_t for d, X and C).
using PackInput =
    std::variant<std::monostate, int32_t, float, double, std::string_view, std::u16string_view>;

// Builds one record. Strings longer than a count can say are cut to 65535 bytes; a
// payload past kMaxBinaryPayload is kept but refused by writeBinaryRecord.
class BinaryRecordWriter {
public:
    BinaryRecordWriter();

    void putByte(uint8_t value);
    void putInt32(int32_t value);
    void putFloat(float value);
    void putDouble(double value);
    void putString(std::string_view bytes);
    void putWide(std::u16string_view text);
    // Appends one field per letter. False when a letter has no binary form, its input
    // has the wrong type or an input is missing; the payload is then incomplete.
    bool pack(std::string_view types, std::initializer_list<PackInput> inputs);

    void clear();
    size_t payloadSize() const { return bytes_.size() - kLengthSize; }
    std::span<const uint8_t> payload() const { return std::span(bytes_).subspan(kLengthSize); }
    // The whole record, length prefix included; empty when the payload is too long.
    std::span<const uint8_t> framed();

private:
    static constexpr size_t kLengthSize = 2;
    void putUnsigned(uint64_t value, size_t size);
    bool packOne(char letter, const PackInput& input);

    std::vector<uint8_t> bytes_;  // starts with room for the length prefix
};

// Reads the fields of one payload in order; the span must outlive the reader.
class BinaryRecordReader {
public:
    explicit BinaryRecordReader(std::span<const uint8_t> payload) : data_(payload) {}

    bool getByte(uint8_t& value);
    bool getInt32(int32_t& value);
    bool getFloat(float& value);
    bool getDouble(double& value);
    // The whole string is consumed; at most maxKept bytes (units) are kept.
    bool getString(std::string& bytes, size_t maxKept);
    bool getWide(std::u16string& text, size_t maxKept);
    // Like the text splitter: every output first takes its default, strings keep at
    // most 511 units (x: 4095), a letter whose output has the wrong type is read and
    // dropped. False when a field runs past the payload or a letter has no binary form.
    bool unpack(std::string_view types, std::initializer_list<SplitOutput> outputs);

    bool atEnd() const { return pos_ == data_.size(); }
    size_t remaining() const { return data_.size() - pos_; }

private:
    bool getUnsigned(uint64_t& value, size_t size);
    bool getCounted(std::span<const uint8_t>& bytes);
    bool unpackOne(char letter, const SplitOutput& output);

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

// Writes the length and the payload; false when the file refuses or the payload is
// longer than a length can say.
bool writeBinaryRecord(RecordFile& file, BinaryRecordWriter& record);
// The next record's payload; false at the end of the file, where a partial record
// (a cut length or a payload shorter than its length) also counts as the end.
bool readBinaryRecord(RecordFile& file, std::vector<uint8_t>& payload);

}  // namespace wendra
