#pragma once
// The places of the configuration file, in the order the file is saved. Every record
// read or kept belongs to one place; a line that no reader knows is written back after
// the records of the place of the line before it, so an unchanged file keeps its order.

namespace wendra::place {

constexpr int kStart = 0;  // lines before any known record
constexpr int kSerial6 = 1;
constexpr int kStatus7 = 2;
constexpr int kAlerts = 3;
constexpr int kNavStatus3 = 4;
constexpr int kDAlert = 5;
constexpr int kColours = 6;  // twelve, one per colour role
constexpr int kColourCount = 12;
constexpr int kNmea2 = kColours + kColourCount;
constexpr int kSatDsp = kNmea2 + 1;
constexpr int kFolders = kSatDsp + 1;  // eight, in save order
constexpr int kFolderCount = 8;
constexpr int kKeyD = kFolders + kFolderCount;  // five sets
constexpr int kGraph2 = kKeyD + 5;
constexpr int kGlobal4 = kGraph2 + 1;
constexpr int kDash3 = kGlobal4 + 1;  // five dashboards
constexpr int kHistory = kDash3 + 5;  // city, country, street
constexpr int kImport1 = kHistory + 3;
constexpr int kExport3 = kImport1 + 1;
constexpr int kCount = kExport3 + 1;

}  // namespace wendra::place
