#include "records/BinaryRecord.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "records/Text.h"

namespace wendra {

namespace {

constexpr size_t kShortStringMax = 511;
constexpr size_t kLongStringMax = 4095;
constexpr size_t kCountMax = std::numeric_limits<uint16_t>::max();

bool isNarrowString(char letter) {
    return letter == 's' || letter == 'S';
}
bool isWideString(char letter) {
    return letter == 'w' || letter == 'x' || letter == 'W';
}
bool isInt32(char letter) {
    return letter == 'd' || letter == 'X' || letter == 'C';
}

template <typename T>
void setDefault(const SplitOutput& output) {
    if (auto* target = std::get_if<T*>(&output); target && *target) **target = T{};
}

// Only an output whose type fits its letter takes the default, as in the text form.
void setDefaultFor(char letter, const SplitOutput& output) {
    if (isInt32(letter)) setDefault<int32_t>(output);
    if (letter == 'f') setDefault<float>(output);
    if (letter == 'F') setDefault<double>(output);
    if (isNarrowString(letter)) setDefault<std::string>(output);
    if (isWideString(letter)) setDefault<std::u16string>(output);
}

}  // namespace

// ---- writer

BinaryRecordWriter::BinaryRecordWriter() {
    clear();
}

void BinaryRecordWriter::clear() {
    bytes_.assign(kLengthSize, 0);
}

void BinaryRecordWriter::putUnsigned(uint64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void BinaryRecordWriter::putByte(uint8_t value) {
    bytes_.push_back(value);
}

void BinaryRecordWriter::putInt32(int32_t value) {
    putUnsigned(std::bit_cast<uint32_t>(value), sizeof value);
}

void BinaryRecordWriter::putFloat(float value) {
    putUnsigned(std::bit_cast<uint32_t>(value), sizeof value);
}

void BinaryRecordWriter::putDouble(double value) {
    putUnsigned(std::bit_cast<uint64_t>(value), sizeof value);
}

void BinaryRecordWriter::putString(std::string_view bytes) {
    bytes = bytes.substr(0, kCountMax);
    putUnsigned(bytes.size(), 2);
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void BinaryRecordWriter::putWide(std::u16string_view text) {
    putString(narrow(text));
}

bool BinaryRecordWriter::packOne(char letter, const PackInput& input) {
    if (isInt32(letter)) {
        const auto* value = std::get_if<int32_t>(&input);
        if (value) putInt32(*value);
        return value != nullptr;
    }
    if (letter == 'f') {
        const auto* value = std::get_if<float>(&input);
        if (value) putFloat(*value);
        return value != nullptr;
    }
    if (letter == 'F') {
        const auto* value = std::get_if<double>(&input);
        if (value) putDouble(*value);
        return value != nullptr;
    }
    if (isNarrowString(letter)) {
        const auto* value = std::get_if<std::string_view>(&input);
        if (value) putString(*value);
        return value != nullptr;
    }
    if (isWideString(letter)) {
        const auto* value = std::get_if<std::u16string_view>(&input);
        if (value) putWide(*value);
        return value != nullptr;
    }
    return false;
}

bool BinaryRecordWriter::pack(std::string_view types, std::initializer_list<PackInput> inputs) {
    if (inputs.size() < types.size()) return false;
    const PackInput* input = inputs.begin();
    for (char letter : types) {
        if (!packOne(letter, *input++)) return false;
    }
    return true;
}

std::span<const uint8_t> BinaryRecordWriter::framed() {
    const size_t size = payloadSize();
    if (size > kMaxBinaryPayload) return {};
    bytes_[0] = static_cast<uint8_t>(size);
    bytes_[1] = static_cast<uint8_t>(size >> 8);
    return bytes_;
}

// ---- reader

bool BinaryRecordReader::getUnsigned(uint64_t& value, size_t size) {
    if (remaining() < size) return false;
    value = 0;
    for (size_t i = 0; i < size; ++i) value |= uint64_t{data_[pos_ + i]} << (8 * i);
    pos_ += size;
    return true;
}

bool BinaryRecordReader::getByte(uint8_t& value) {
    if (remaining() < 1) return false;
    value = data_[pos_++];
    return true;
}

bool BinaryRecordReader::getInt32(int32_t& value) {
    uint64_t raw = 0;
    if (!getUnsigned(raw, sizeof value)) return false;
    value = std::bit_cast<int32_t>(static_cast<uint32_t>(raw));
    return true;
}

bool BinaryRecordReader::getFloat(float& value) {
    uint64_t raw = 0;
    if (!getUnsigned(raw, sizeof value)) return false;
    value = std::bit_cast<float>(static_cast<uint32_t>(raw));
    return true;
}

bool BinaryRecordReader::getDouble(double& value) {
    uint64_t raw = 0;
    if (!getUnsigned(raw, sizeof value)) return false;
    value = std::bit_cast<double>(raw);
    return true;
}

bool BinaryRecordReader::getCounted(std::span<const uint8_t>& bytes) {
    const size_t start = pos_;
    uint64_t count = 0;
    if (!getUnsigned(count, 2)) return false;
    if (remaining() < count) {
        pos_ = start;
        return false;
    }
    bytes = data_.subspan(pos_, count);
    pos_ += count;
    return true;
}

bool BinaryRecordReader::getString(std::string& out, size_t maxKept) {
    std::span<const uint8_t> bytes;
    if (!getCounted(bytes)) return false;
    const size_t kept = std::min(bytes.size(), maxKept);
    out.assign(reinterpret_cast<const char*>(bytes.data()), kept);
    return true;
}

bool BinaryRecordReader::getWide(std::u16string& out, size_t maxKept) {
    std::span<const uint8_t> bytes;
    if (!getCounted(bytes)) return false;
    const size_t kept = std::min(bytes.size(), maxKept);
    out.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept));
    return true;
}

bool BinaryRecordReader::unpackOne(char letter, const SplitOutput& output) {
    const size_t maxKept = letter == 'x' ? kLongStringMax : kShortStringMax;
    if (isInt32(letter)) {
        int32_t value = 0;
        if (!getInt32(value)) return false;
        if (auto* target = std::get_if<int32_t*>(&output); target && *target) **target = value;
    } else if (letter == 'f') {
        float value = 0;
        if (!getFloat(value)) return false;
        if (auto* target = std::get_if<float*>(&output); target && *target) **target = value;
    } else if (letter == 'F') {
        double value = 0;
        if (!getDouble(value)) return false;
        if (auto* target = std::get_if<double*>(&output); target && *target) **target = value;
    } else if (isNarrowString(letter)) {
        std::string value;
        if (!getString(value, maxKept)) return false;
        if (auto* target = std::get_if<std::string*>(&output); target && *target) {
            **target = std::move(value);
        }
    } else if (isWideString(letter)) {
        std::u16string value;
        if (!getWide(value, maxKept)) return false;
        if (auto* target = std::get_if<std::u16string*>(&output); target && *target) {
            **target = std::move(value);
        }
    } else {
        return false;
    }
    return true;
}

bool BinaryRecordReader::unpack(std::string_view types,
                                std::initializer_list<SplitOutput> outputs) {
    // A missing output location reads its field into nothing.
    const auto outputAt = [&](size_t i) {
        return i < outputs.size() ? *(outputs.begin() + i) : SplitOutput{};
    };
    for (size_t i = 0; i < types.size(); ++i) setDefaultFor(types[i], outputAt(i));
    for (size_t i = 0; i < types.size(); ++i) {
        if (!unpackOne(types[i], outputAt(i))) return false;
    }
    return true;
}

// ---- file

bool writeBinaryRecord(RecordFile& file, BinaryRecordWriter& record) {
    const std::span<const uint8_t> bytes = record.framed();
    return !bytes.empty() && file.writeBytes(bytes.data(), bytes.size());
}

bool readBinaryRecord(RecordFile& file, std::vector<uint8_t>& payload) {
    uint8_t length[2];
    if (file.readBytes(length, sizeof length) != sizeof length) return false;
    payload.resize(length[0] | (size_t{length[1]} << 8));
    return file.readBytes(payload.data(), payload.size()) == payload.size();
}

}  // namespace wendra
