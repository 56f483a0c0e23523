#pragma once
// Whether this build runs under a sanitizer that keeps its own books of the
// memory (AddressSanitizer, ThreadSanitizer): code that lays memory out by
// hand steps aside then, so that every allocation stays the sanitizer's.

namespace build {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

}  // namespace build
