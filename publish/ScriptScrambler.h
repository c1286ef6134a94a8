#pragma once
// Rewrites the configuration script as one self-decoding eval line buried
// between a decoy function and runs of blanks, TABs and empty lines.

#include "publish/PackageFiles.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace qm {

class ScriptScrambler {
  public:
    // Squeezing: each line's blanks squeezed around operators and collapsed,
    // joined with one blank after each non-empty line. The contents of string
    // literals are left exactly as written.
    static std::string joinedText(std::string_view script);

    // Escaping: "%" and two hex digits per ASCII byte; a character outside
    // ASCII (UTF-8) as %uXXXX (two for a surrogate pair), so unescape
    // restores it exactly.
    static std::string escaped(std::string_view joined);

    // Hiding the digits: "%7" "%6" "%5" "%4" "%3" "%2" hidden behind control bytes.
    static std::string hiddenDigits(std::string_view escapedText);

    // Wrapping: the one-line eval expression.
    static std::string evalExpression(std::string_view hidden);

    // The whole scrambled file for a plain script.
    static std::string scrambled(std::string_view script);

    // Reads the file and replaces its content with the scrambled form.
    static FileResult scrambleFile(const std::filesystem::path& path);
};

} // namespace qm
