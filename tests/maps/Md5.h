#pragma once
// MD5 of a byte block as 32 lowercase hex digits: the digest the image suites' index
// gives for the reference decoder's pixels.

#include <cstdint>
#include <string>
#include <vector>

namespace wendra::test {

std::string md5Hex(const std::vector<std::uint8_t>& bytes);

}  // namespace wendra::test
