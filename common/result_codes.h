#pragma once

// Operations answer small integers instead of throwing; each operation documents its own codes.
// These names are for the codes shared by most of them.
namespace sorrel {
inline constexpr int kFailed = 0;   // failed or refused
inline constexpr int kDone = 1;     // done or found
inline constexpr int kNothing = 2;  // nothing to do, or not found
}  // namespace sorrel
