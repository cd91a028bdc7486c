// Checks CatalogueDocument against the plain reference reader on one input,
// for the differential test and the fuzzer alike.
#pragma once

#include <string>
#include <string_view>

namespace nb {

// Loads `input` into both readers and asks both the same questions: whether it
// is a catalogue, then for every element of the reference's tree its child
// count, text and attributes, then a few paths that select nothing. Empty when
// every answer agrees, else a one-line description of the first disagreement.
std::string CompareWithReference(std::string_view input);

// `bytes` printable, with everything outside printable ASCII (and the
// backslash and double quote) written as \xNN, so a failing input can be read
// and pasted back into a C++ string literal.
std::string EscapeBytes(std::string_view bytes);

}  // namespace nb
