// The checks that the fuzzer and the corpus replay run on every input.
#pragma once

#include <cstddef>
#include <cstdint>

// Widens the bytes to one character each, parses them and checks the result:
// the status of a failed parse, the shape of a successful one and lookup
// over it. Aborts with a message on the first violation.
void CheckXmlInput(const uint8_t* data, size_t size);
