#pragma once
// One fuzz input through every reader of the options and project files; the
// checks abort on a broken invariant so that any harness reports it.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
