#pragma once
// The program's box for a failed allocation: ".Memory Error #MMPP#" titled ".Error",
// where MM is the module and PP the place; the program goes on afterwards.

namespace wendra {

// code: module x 100 + place, e.g. 613 for ".Memory Error #0613#".
void showMemoryError(int code);

}  // namespace wendra
