// A deterministic Pascal-like text for the benchmarks: routines with nested,
// indented blocks, blank lines, line and brace comments, tabs, a few long
// lines, and Latin-1 bytes above 0x7F in strings and comments. CR LF breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace snipkit::bench {

// A little over `bytes` long (the routine under way is finished), and always
// the same for the same size and seed.
std::string PascalLikeText(std::size_t bytes, std::uint64_t seed = 1);

}  // namespace snipkit::bench
