// Reads arbitrary bytes as a record file: lines at both capacities the loaders use,
// then length-prefixed binary records decoded as track points and points.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "records/BinaryRecord.h"
#include "records/RecordFile.h"

#include "MemoryInput.h"

namespace {

using wendra::RecordFile;
using wendra::RecordFileMode;

void check(bool condition) {
    if (!condition) __builtin_trap();
}

// One in-memory file reused by every run; the readers open it by path.
const wendra::fuzz::MemoryInput& input() {
    static const wendra::fuzz::MemoryInput file("read_line_fuzz");
    return file;
}

void readLines(size_t size, size_t capacity) {
    RecordFile file;
    check(file.open(input().path(), RecordFileMode::Read));
    check(file.fileSize() == size);
    std::string line;
    size_t total = 0;
    while (file.readLine(line, capacity)) {
        check(line.size() <= capacity - 2);
        check(line.find('\0') == std::string::npos);
        const size_t newline = line.find('\n');
        check(newline == std::string::npos || newline + 1 == line.size());
        total += line.size();
        check(total <= size);
    }
    check(file.bytesConsumed() == size);
}

void decode(const std::vector<uint8_t>& payload) {
    wendra::BinaryRecordReader reader(payload);
    uint8_t kind = 0, version = 0;
    if (!reader.getByte(kind) || !reader.getByte(version)) return;
    double F[4];
    float f[8];
    int32_t d[8];
    std::u16string w[8];
    if (kind == 2) {
        reader.unpack("FFffdfdddFdffff", {&F[0], &F[1], &f[0], &f[1], &d[0], &f[2], &d[1], &d[2],
                                          &d[3], &F[2], &d[4], &f[3], &f[4], &f[5], &f[6]});
    } else {
        reader.unpack("wFFddwwwdxddf", {&w[0], &F[0], &F[1], &d[0], &d[1], &w[1], &w[2], &w[3],
                                        &d[2], &w[4], &d[3], &d[4], &f[0]});
        for (const auto& text : w) check(text.size() <= 4095);
    }
}

void readRecords(size_t size, RecordFileMode mode) {
    RecordFile file;
    check(file.open(input().path(), mode));
    std::vector<uint8_t> payload;
    size_t records = 0;
    while (wendra::readBinaryRecord(file, payload)) {
        ++records;
        check(2 * records + payload.size() <= size + 1);
        decode(payload);
    }
    check(file.bytesConsumed() <= size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    input().store(data, size);
    readLines(size, wendra::kShortLineCapacity);
    readLines(size, wendra::kLongLineCapacity);
    readRecords(size, RecordFileMode::Read);
    readRecords(size, RecordFileMode::ReadBinary);
    return 0;
}
