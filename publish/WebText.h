#pragma once
// How user texts (titles, links, file names) enter the generated web files
// without breaking or injecting markup or script.

#include <string>
#include <string_view>

namespace qm {

// Body of a double-quoted JavaScript string: quotes, backslashes, line
// breaks, other control characters, U+2028/U+2029 and "</" escaped. Other
// UTF-8 text passes through.
std::string jsStringContent(std::string_view utf8);

// Text for HTML content and attribute values: & < > " ' as entities.
std::string htmlEscaped(std::string_view utf8);

// A file name as a relative URL: "%", "#", "?", ":", blanks, controls,
// quotes and characters browsers treat specially in a path are
// percent-encoded; other UTF-8 passes through.
std::string urlFileName(std::string_view utf8);

// Strict form for places that only take plain ASCII: every byte other than
// letters, digits and "-._~" percent-encoded.
std::string urlStrict(std::string_view bytes);

} // namespace qm
