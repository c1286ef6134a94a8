#pragma once
// Text from files and requests made safe to print on a terminal, where an
// escape sequence could retitle the window, clear the screen or forge lines.

#include <string>
#include <string_view>

namespace qm::cli {

// Control characters (C0, DEL and the C1 characters U+0080-U+009F) and bytes
// that are not part of well-formed UTF-8 are shown as \xHH (\u0080-\u009F for
// C1); all other UTF-8 text passes unchanged.
std::string terminalSafe(std::string_view text);

} // namespace qm::cli
