#pragma once
// Open CASCADE prints its progress ("Total number of loaded entities", ...)
// through its default messenger; the user sees only our own texts.
namespace igesread {

void SilenceOpenCascade();

}  // namespace igesread
