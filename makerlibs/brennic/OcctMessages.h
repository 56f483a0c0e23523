#pragma once
// Open CASCADE prints its progress ("Total number of loaded entities", ...)
// through its default messenger; the user sees only this library's texts.
namespace brennic {

void SilenceOpenCascade();

}  // namespace brennic
