#pragma once
// The payloads: files of the web package compiled into the program at build
// time and written out byte for byte, each known by its number.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace qm {

// The bytes of payload n; an empty span when there is no such payload.
std::span<const std::byte> payload(int number);
std::string_view payloadText(int number);
bool hasPayload(int number);

// Every embedded number, ascending.
std::vector<int> payloadNumbers();

namespace detail {
struct EmbeddedPayload {
    int number;
    const unsigned char* begin;
    const unsigned char* end;
};
// Defined by the build's generated payload table.
std::span<const EmbeddedPayload> embeddedPayloads();
} // namespace detail

} // namespace qm
