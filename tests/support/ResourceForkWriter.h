#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bw::test {

struct Resource {
    std::string type;  // four characters
    int16_t id = 128;
    std::string data;
};

// A raw Macintosh resource fork holding the resources, types in order of first appearance.
std::string MakeResourceFork(const std::vector<Resource>& resources);

// Overwrites `size` bytes big-endian at `at` (to damage a fork on purpose).
void PutBigEndian(std::string& bytes, size_t at, uint32_t value, int size);

// The data of a 16 × 16 PICT resource (no file header): red, green / blue, white quadrants.
std::string QuadrantPict();

}  // namespace bw::test
