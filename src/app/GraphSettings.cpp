#include "app/GraphSettings.h"

#include "records/RecordSplitter.h"
#include "records/RecordWriter.h"

namespace wendra {

void GraphSettings::read(std::string_view fields) {
    splitRecord(fields, kTypes, {&options, &curves[0], &curves[1], &curves[2], &curves[3]});
}

std::string GraphSettings::record() const {
    std::string line = formatRecord("Graph2|%d|", options);
    for (const int32_t curve : curves) appendFormat(line, "%d|", curve);
    line += '\n';
    return line;
}

}  // namespace wendra
