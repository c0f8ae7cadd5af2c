#pragma once

#include <cstddef>

namespace bw::check {

// The two sweeps the reference parser makes over every byte it reads, with the widest vector
// instructions the processor has.

// The first position in [from, end - 3] where "ile", "Map" or "Scr" begins; npos when none does.
// Every keyword holds one of them ("ile" the File keywords and file, "Map" the four maps, "Scr"
// readScript), so the parser looks closer only there.
size_t NextTrigger(const char* d, size_t from, size_t end);

// The line breaks in [from, to) of the `fill` bytes at `d`: a LF, or a CR that no LF follows (a CR
// at the last of the `fill` bytes counts).
size_t CountLineBreaks(const char* d, size_t from, size_t to, size_t fill);

namespace byte_scan_detail {
// Each width on its own, so tests can hold them to the plain loop on any processor.
size_t NextTriggerPlain(const char* d, size_t from, size_t end);
size_t NextTriggerSse2(const char* d, size_t from, size_t end);
size_t NextTriggerAvx2(const char* d, size_t from, size_t end);
size_t NextTriggerAvx512(const char* d, size_t from, size_t end);
size_t CountLineBreaksPlain(const char* d, size_t from, size_t to, size_t fill);
size_t CountLineBreaksSse2(const char* d, size_t from, size_t to, size_t fill);
size_t CountLineBreaksAvx2(const char* d, size_t from, size_t to, size_t fill);
size_t CountLineBreaksAvx512(const char* d, size_t from, size_t to, size_t fill);
// True when this processor runs the AVX2, the AVX-512 forms.
bool HaveAvx2();
bool HaveAvx512();
}  // namespace byte_scan_detail

}  // namespace bw::check
