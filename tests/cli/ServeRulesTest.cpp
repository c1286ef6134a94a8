// The rules of quillmark serve without a server: which ranges an answer
// carries, the multipart body, which file a path names, what the log prints.

#include "CliProcess.h"

#include "app/cli/ByteRanges.h"
#include "app/cli/ServedFiles.h"
#include "app/cli/TerminalText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

TEST(ByteRanges, ReadAsHttpSaysAndNeverMoreThanTheFile) {
    using V = RangeVerdict;
    const std::vector<ByteRange> all = {{0, 2999}};
    std::string manyOverlapping = "bytes=0-";
    std::string manyApart = "bytes=0-0";
    for (int i = 1; i < 2000; ++i) {
        manyOverlapping += ",0-";
        manyApart += i <= 65 ? "," + std::to_string(i * 40) + "-" + std::to_string(i * 40) : "";
    }
    const std::vector<std::tuple<std::string, V, std::vector<ByteRange>>> cases = {
        {"bytes=0-1", V::Partial, {{0, 1}}},
        {"BYTES=10-19", V::Partial, {{10, 19}}},
        {"items=0-1", V::Whole, {}},
        {"BYTES=", V::Whole, {}},
        {"bytes=5-1", V::Whole, {}},
        {"bytes=1-2-3", V::Whole, {}},
        {"bytes=0-1,99999-100000", V::Partial, {{0, 1}}},
        {"bytes= 0-1 , ,2000-2009", V::Partial, {{0, 1}, {2000, 2009}}},
        {"bytes=2000-2009,0-1", V::Partial, {{0, 1}, {2000, 2009}}},
        {"bytes=0-9,5-20,21-30", V::Partial, {{0, 30}}},
        {"bytes=-5", V::Partial, {{2995, 2999}}},
        {"bytes=-5000", V::Partial, all},
        {"bytes=2990-99999999999999999999999", V::Partial, {{2990, 2999}}},
        {"bytes=3000-", V::Unsatisfiable, {}},
        {"bytes=-0", V::Unsatisfiable, {}},
        {manyOverlapping, V::Partial, all},
        {manyApart, V::Partial, {{0, 2600}}}, // 66 ranges 40 bytes apart: one part
    };
    for (const auto& [field, verdict, ranges] : cases) {
        const RangePlan plan = planRanges(field, 3000);
        EXPECT_EQ(plan.verdict, verdict) << field.substr(0, 40);
        EXPECT_EQ(plan.ranges, ranges) << field.substr(0, 40);
    }
    EXPECT_EQ(planRanges("bytes=0-0", 0).verdict, V::Unsatisfiable);
    // More parts than a multipart answer is worth: the whole file.
    std::string tooMany = "bytes=0-0";
    for (int i = 1; i <= static_cast<int>(kMaxRangeParts); ++i) {
        tooMany += "," + std::to_string(i * 200) + "-" + std::to_string(i * 200);
    }
    EXPECT_EQ(planRanges(tooMany, 100000).verdict, V::Whole);
}

TEST(ByteRanges, MultipartBodyReadInAnyPiecesIsTheWholeBody) {
    const std::string file = "0123456789abcdefghijklmnopqrstuvwxyz";
    const MultipartBody body({{2, 4}, {30, 35}}, file.size(), "video/mp4", "B");
    const std::string expected = "--B\r\nContent-Type: video/mp4\r\nContent-Range: bytes 2-4/36"
                                 "\r\n\r\n234\r\n--B\r\nContent-Type: video/mp4\r\nContent-Range: "
                                 "bytes 30-35/36\r\n\r\nuvwxyz\r\n--B--\r\n";
    EXPECT_EQ(body.size(), expected.size());
    EXPECT_EQ(body.contentType(), "multipart/byteranges; boundary=B");
    const FileReader reader = [&](std::uint64_t at, std::span<char> into) {
        const std::string part = file.substr(at, into.size());
        return static_cast<std::size_t>(std::copy(part.begin(), part.end(), into.begin()) -
                                        into.begin());
    };
    std::string got(expected.size(), '\0');
    for (std::size_t at = 0; at < got.size(); at += 7) {
        const std::size_t n = std::min<std::size_t>(7, got.size() - at);
        ASSERT_EQ(body.read(at, std::span(got).subspan(at, n), reader), n) << at;
    }
    EXPECT_EQ(got, expected);
}

TEST(ServedFiles, PathsStayInsideTheFolder) {
    const test::ScratchFolder folder;
    const fs::path root = fs::canonical(folder.path()) / "site";
    test::writeBytes(root / "index.html", "x");
    test::writeBytes(root / "hall:one.mp4", "x");
    test::writeBytes(folder.path() / "secret.txt", "x");
    fs::create_symlink(folder.path() / "secret.txt", root / "link.txt");
    using P = PathVerdict;
    for (const auto& [path, verdict] : std::vector<std::pair<std::string, P>>{
             {"/", P::Found},
             {"/hall%3Aone.mp4", P::Found},
             {"/js/../index.html", P::Found},
             {"/none.html", P::Missing},
             {"/../secret.txt", P::Outside},
             {"/%2e%2e/secret.txt", P::Outside},
             {"/..%2fsecret.txt", P::Outside},
             {"/link.txt", P::Outside},
             {"/a\\b", P::Outside},
             {"/index.html%00.mp4", P::BadRequest},
             {"/%zz", P::BadRequest},
             {"index.html", P::BadRequest},
         }) {
        EXPECT_EQ(resolveRequestPath(root, path).verdict, verdict) << path;
    }
    EXPECT_EQ(resolveRequestPath(root, "/").file, root / "index.html");
    EXPECT_EQ(contentTypeOf("A.MP4"), "video/mp4");
}

TEST(TerminalText, ControlBytesAreShownNotSent) {
    EXPECT_EQ(terminalSafe("GET /\x1b]0;x\x07\x1b[2J\r\nforged"),
              "GET /\\x1b]0;x\\x07\\x1b[2J\\x0d\\x0aforged");
    EXPECT_EQ(terminalSafe("Тур по дому \xe2\x82\xac"), "Тур по дому \xe2\x82\xac");
    EXPECT_EQ(terminalSafe("\xc2\x9b"
                           "2J \x7f \xff \xe0\x80\xaf"),
              "\\u009b2J \\x7f \\xff \\xe0\\x80\\xaf");
}

} // namespace
} // namespace qm::cli
