#pragma once

#include <cstddef>

namespace bw::check {

// The one sweep the reference parser makes over every byte it reads, with the widest vector
// instructions the processor has. It finds the places worth a closer look and counts the line
// breaks on the way, so the bytes pass through the processor once.

// The first position in [from, end - 3] where "ile", "Map" or "Scr" begins; npos when none does.
// Every keyword holds one of them ("ile" the File keywords and file, "Map" the four maps, "Scr"
// readScript). Adds to `breaks` the line breaks in [from, that position), or in [from, end) when
// there is none: a LF, or a CR that no LF follows among the `fill` bytes at `d` (a CR at the last
// of them counts).
size_t NextTrigger(const char* d, size_t from, size_t end, size_t fill, size_t& breaks);

// The first position in [from, end) that holds a LF or a CR; `end` when none does.
size_t NextLineEnd(const char* d, size_t from, size_t end);

namespace byte_scan_detail {
// Each width on its own, so tests can hold them to the plain loop on any processor.
size_t NextTriggerPlain(const char* d, size_t from, size_t end, size_t fill, size_t& breaks);
size_t NextTriggerSse2(const char* d, size_t from, size_t end, size_t fill, size_t& breaks);
size_t NextTriggerAvx2(const char* d, size_t from, size_t end, size_t fill, size_t& breaks);
size_t NextTriggerAvx512(const char* d, size_t from, size_t end, size_t fill, size_t& breaks);
// True when this processor runs the AVX2, the AVX-512 forms.
bool HaveAvx2();
bool HaveAvx512();
}  // namespace byte_scan_detail

}  // namespace bw::check
