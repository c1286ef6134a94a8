// quillmark serve against a temporary package: whole files as they are on
// disk, byte ranges on small and large files, types, refusals and a clean stop.

#include "CliProcess.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <string>

namespace qm::test {
namespace {

namespace fs = std::filesystem;

std::string patternedBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7919 + i / 251) & 0xFF);
    }
    return bytes;
}

// A raw connection to the server, for what an HTTP client library hides.
class RawConnection {
  public:
    explicit RawConnection(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;
    ~RawConnection() { ::close(fd_); }
    void send(const std::string& bytes) const { ::send(fd_, bytes.data(), bytes.size(), 0); }
    // What arrives within the time; closed tells whether the server hung up.
    std::string receive(double seconds, bool& closed) const {
        const auto micros = static_cast<long>(seconds * 1e6);
        const timeval timeout{micros / 1000000, micros % 1000000};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        std::string got;
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::recv(fd_, buffer, sizeof buffer, 0)) > 0) {
            got.append(buffer, static_cast<std::size_t>(n));
        }
        closed = n == 0;
        return got;
    }

  private:
    int fd_;
};

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

class ServeTest : public ::testing::Test {
  protected:
    static constexpr std::size_t kBigSize = 5u << 20; // many 256 KiB slices

    void SetUp() override {
        package_ = folder_.path() / "package";
        writeBytes(package_ / "index.html", "<html><body>tour</body></html>\n");
        writeBytes(package_ / "js" / "ctr" / "cn0.js", "var OS_FPS = 15;\n");
        small_ = patternedBytes(3000);
        writeBytes(package_ / "clip.webm", small_);
        big_ = patternedBytes(kBigSize);
        writeBytes(package_ / "movie.mp4", big_);
        writeBytes(folder_.path() / "secret.txt", "outside the package\n");

        server_ = std::make_unique<RunningQuillmark>(
            std::vector<std::string>{"serve", package_.string(), "--port", "0"}, folder_.path());
        const std::string banner = server_->waitForOutput("(Ctrl+C stops)");
        std::smatch match;
        ASSERT_TRUE(std::regex_search(banner, match, std::regex(R"(http://127\.0\.0\.1:(\d+)/)")))
            << banner << server_->errors();
        port_ = std::stoi(match[1]);
        client_ = std::make_unique<httplib::Client>("127.0.0.1", port_);
    }

    httplib::Result get(const std::string& path, const std::string& range = {}) {
        httplib::Headers headers;
        if (!range.empty()) {
            headers.emplace("Range", range);
        }
        return client_->Get(path, headers);
    }

    ScratchFolder folder_;
    fs::path package_;
    std::string small_;
    std::string big_;
    std::unique_ptr<RunningQuillmark> server_;
    int port_ = 0;
    std::unique_ptr<httplib::Client> client_;
};

TEST_F(ServeTest, WholeFilesComeWithTheirTypeAndOfferRanges) {
    const auto page = get("/index.html");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(page->body, "<html><body>tour</body></html>\n");
    EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_EQ(page->get_header_value("Accept-Ranges"), "bytes");

    const auto folder = get("/");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->status, 200);
    EXPECT_EQ(folder->body, page->body);

    const auto script = get("/js/ctr/cn0.js");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->body, "var OS_FPS = 15;\n");
    EXPECT_EQ(script->get_header_value("Content-Type"), "text/javascript; charset=utf-8");

    const auto movie = get("/movie.mp4");
    ASSERT_TRUE(movie);
    EXPECT_EQ(movie->status, 200);
    EXPECT_EQ(movie->get_header_value("Content-Type"), "video/mp4");
    EXPECT_EQ(movie->get_header_value("Accept-Ranges"), "bytes");
    EXPECT_TRUE(movie->body == big_)
        << "the streamed file differs, " << movie->body.size() << " bytes";
}

// A browser offers brotli and gzip; the files still come as they are on disk
// (compressing three.js with brotli took over a second per page load).
TEST_F(ServeTest, FilesComeUncompressedWhateverTheBrowserAccepts) {
    std::string script;
    for (int i = 0; script.size() < (200u << 10); ++i) {
        script += "var hotSpot" + std::to_string(i) + " = { yaw: " + std::to_string(i % 360) +
                  ", title: 'Room " + std::to_string(i) + "' };\n";
    }
    writeBytes(package_ / "js" / "build" / "Three.js", script);
    writeBytes(package_ / "empty.css", "");
    client_->set_decompress(false);
    const httplib::Headers offers = {{"Accept-Encoding", "br, gzip, deflate"}};

    const auto big = client_->Get("/js/build/Three.js", offers);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->status, 200);
    EXPECT_FALSE(big->has_header("Content-Encoding")) << big->get_header_value("Content-Encoding");
    EXPECT_EQ(big->get_header_value("Content-Length"), std::to_string(script.size()));
    EXPECT_TRUE(big->body == script) << big->body.size() << " bytes";

    const auto page = client_->Get("/index.html", offers);
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->has_header("Content-Encoding"));
    EXPECT_EQ(page->body, "<html><body>tour</body></html>\n");

    const auto empty = client_->Get("/empty.css", offers);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->status, 200);
    EXPECT_EQ(empty->body, "");
    EXPECT_EQ(empty->get_header_value("Content-Type"), "text/css; charset=utf-8");

    const auto head = client_->Head("/js/build/Three.js", offers);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 200);
    EXPECT_EQ(head->get_header_value("Content-Length"), std::to_string(script.size()));
    EXPECT_EQ(head->body, "");
}

TEST_F(ServeTest, EveryPackageFileTypeIsNamed) {
    const std::vector<std::pair<std::string, std::string>> types = {
        {"a.css", "text/css; charset=utf-8"},
        {"a.png", "image/png"},
        {"a.jpg", "image/jpeg"},
        {"a.gif", "image/gif"},
        {"a.webm", "video/webm"},
        {"a.ogv", "video/ogg"},
        {"a.mov", "video/quicktime"},
        {"a.m4v", "video/x-m4v"},
        {"A.MP4", "video/mp4"}};
    for (const auto& [name, type] : types) {
        writeBytes(package_ / name, "x");
        const auto response = get("/" + name);
        ASSERT_TRUE(response) << name;
        EXPECT_EQ(response->status, 200) << name;
        EXPECT_EQ(response->get_header_value("Content-Type"), type) << name;
    }
}

TEST_F(ServeTest, RangesGiveExactBytesFromSmallAndLargeFiles) {
    struct Case {
        std::string path;
        const std::string* bytes;
        std::string range;
        std::size_t first;
        std::size_t count;
    };
    const std::vector<Case> cases = {
        {"/clip.webm", &small_, "bytes=100-199", 100, 100},
        {"/clip.webm", &small_, "bytes=2990-", 2990, 10},
        {"/clip.webm", &small_, "bytes=-5", 2995, 5},
        {"/clip.webm", &small_, "bytes=2000-99999", 2000, 1000},
        {"/movie.mp4", &big_, "bytes=1000-1999", 1000, 1000},
        {"/movie.mp4", &big_, "bytes=4194300-4194400", 4194300, 101},
        {"/movie.mp4", &big_, "bytes=5242000-", 5242000, kBigSize - 5242000},
        {"/movie.mp4", &big_, "bytes=-64", kBigSize - 64, 64},
        {"/movie.mp4", &big_, "bytes=5000000-99999999", 5000000, kBigSize - 5000000},
    };
    for (const Case& c : cases) {
        const auto response = get(c.path, c.range);
        ASSERT_TRUE(response) << c.path << " " << c.range;
        EXPECT_EQ(response->status, 206) << c.range;
        EXPECT_TRUE(response->body == c.bytes->substr(c.first, c.count))
            << c.path << " " << c.range << ": " << response->body.size() << " bytes";
        EXPECT_EQ(response->get_header_value("Content-Range"),
                  "bytes " + std::to_string(c.first) + "-" + std::to_string(c.first + c.count - 1) +
                      "/" + std::to_string(c.bytes->size()))
            << c.range;
    }
}

TEST_F(ServeTest, RangesPastTheEndAreNotSatisfiable) {
    for (const auto& [path, size] : {std::pair<std::string, std::size_t>{"/clip.webm", 3000},
                                     std::pair<std::string, std::size_t>{"/movie.mp4", kBigSize}}) {
        const auto response = get(path, "bytes=" + std::to_string(size) + "-");
        ASSERT_TRUE(response) << path;
        EXPECT_EQ(response->status, 416) << path;
        EXPECT_EQ(response->get_header_value("Content-Range"), "bytes */" + std::to_string(size));
    }
}

TEST_F(ServeTest, MissingFilesAndPathsOutsideThePackageAreRefused) {
    const auto missing = get("/nothing.html");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);

    fs::create_symlink(folder_.path() / "secret.txt", package_ / "link.txt");
    for (const std::string path : {"/../secret.txt", "/%2e%2e/secret.txt", "/js/../../secret.txt",
                                   "/link.txt", "/..%2fsecret.txt", "/js%2f..%2f..%2fsecret.txt"}) {
        const auto response = get(path);
        ASSERT_TRUE(response) << path;
        EXPECT_GE(response->status, 400) << path;
        EXPECT_EQ(response->body.find("outside the package"), std::string::npos) << path;
    }
    // A dot segment that stays inside is fine.
    const auto inside = get("/js/../index.html");
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->status, 200);
}

TEST_F(ServeTest, OnlyReadingIsAllowed) {
    const auto response = client_->Post("/index.html", "x", "text/plain");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 405);
    EXPECT_EQ(readBytes(package_ / "index.html"), "<html><body>tour</body></html>\n");
}

// Idle clients and clients that never finish their headers hold no worker.
TEST_F(ServeTest, SlowClientsDoNotHoldOthers) {
    std::vector<std::unique_ptr<RawConnection>> slow;
    for (int i = 0; i < 40; ++i) {
        slow.push_back(std::make_unique<RawConnection>(port_));
        slow.back()->send(i % 2 ? "GET /index.html HTTP/1.1\r\nHost: x\r\nX-Slow: a" : "");
    }
    client_->set_read_timeout(3, 0);
    client_->set_connection_timeout(3, 0);
    const auto page = get("/index.html");
    ASSERT_TRUE(page) << "no answer within 3 s";
    EXPECT_EQ(page->status, 200);
}

TEST_F(ServeTest, PipelinedRequestsAreAllAnsweredAndA400Closes) {
    const RawConnection pipelined(port_);
    const std::string request = "GET /js/ctr/cn0.js HTTP/1.1\r\nHost: x\r\n\r\n";
    pipelined.send(request + request + "HEAD /movie.mp4 HTTP/1.1\r\nHost: x\r\n\r\n");
    bool closed = false;
    const std::string answers = pipelined.receive(1.5, closed);
    EXPECT_EQ(count(answers, "HTTP/1.1 200 OK\r\n"), 3u) << answers;
    EXPECT_EQ(count(answers, "var OS_FPS = 15;\n"), 2u);
    EXPECT_FALSE(closed);

    const RawConnection bad(port_);
    bad.send("GET /a%zz HTTP/1.1\r\nHost: x\r\n\r\n" + request);
    const auto start = std::chrono::steady_clock::now();
    const std::string answer = bad.receive(3, closed);
    EXPECT_EQ(answer.rfind("HTTP/1.1 400", 0), 0u) << answer;
    EXPECT_EQ(count(answer, "HTTP/1.1"), 1u) << "nothing after a bad request is read";
    EXPECT_TRUE(closed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(ServeTest, RangesAreReadAsHttpSays) {
    for (const std::string field : {"BYTES=", "items=0-1", "bytes=5-1"}) {
        const auto ignored = get("/clip.webm", field);
        ASSERT_TRUE(ignored);
        EXPECT_EQ(ignored->status, 200) << field;
        EXPECT_EQ(ignored->body.size(), small_.size()) << field;
    }
    const auto subset = get("/clip.webm", "bytes=0-1,99999-100000");
    ASSERT_TRUE(subset);
    EXPECT_EQ(subset->status, 206);
    EXPECT_EQ(subset->body, small_.substr(0, 2));

    std::string overlapping = "bytes=0-";
    for (int i = 1; i < 2000; ++i) {
        overlapping += ",0-";
    }
    const auto merged = get("/movie.mp4", overlapping);
    ASSERT_TRUE(merged);
    EXPECT_EQ(merged->get_header_value("Content-Length"), std::to_string(kBigSize));
    EXPECT_TRUE(merged->body == big_);

    const auto parts = get("/movie.mp4", "bytes=4000000-4000009,-3");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->status, 206);
    EXPECT_EQ(parts->get_header_value("Content-Type").rfind("multipart/byteranges; boundary=", 0),
              0u);
    EXPECT_NE(parts->body.find("Content-Range: bytes 4000000-4000009/5242880\r\n\r\n" +
                               big_.substr(4000000, 10) + "\r\n"),
              std::string::npos);
    EXPECT_NE(parts->body.find("Content-Range: bytes 5242877-5242879/5242880\r\n\r\n" +
                               big_.substr(kBigSize - 3) + "\r\n"),
              std::string::npos);
}

TEST_F(ServeTest, LoggedPathsCarryNoControlBytes) {
    const auto forged = get("/%1b]0;owned%07%1b[2J%0d%0aGET /index.html 200");
    ASSERT_TRUE(forged);
    EXPECT_EQ(forged->status, 404);
    EXPECT_EQ(server_->terminate(), 0);
    const std::string log = server_->output();
    EXPECT_NE(log.find("GET /\\x1b]0;owned\\x07\\x1b[2J\\x0d\\x0aGET /index.html 200 404\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](char c) { return (c >= 0 && c < 0x20 && c != '\n') || c == 0x7f; }),
              0);
}

TEST_F(ServeTest, StopsCleanlyOnSigterm) {
    EXPECT_EQ(server_->terminate(), 0);
    EXPECT_NE(server_->output().find("Stopped."), std::string::npos);
}

TEST_F(ServeTest, ABusyPortIsAFailureNotASharedPort) {
    const CliResult second =
        runQuillmark({"serve", package_.string(), "--port", std::to_string(port_)}, folder_.path());
    EXPECT_EQ(second.exitCode, 3);
    EXPECT_NE(second.err.find("cannot listen on 127.0.0.1:" + std::to_string(port_)),
              std::string::npos)
        << second.err;
}

TEST(ServeUsage, MissingFolderAndBadPort) {
    const ScratchFolder folder;
    const CliResult missing = runQuillmark({"serve", "no-such-folder"}, folder.path());
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_NE(missing.err.find("no-such-folder"), std::string::npos) << missing.err;

    writeBytes(folder.path() / "file.txt", "x");
    EXPECT_EQ(runQuillmark({"serve", "file.txt"}, folder.path()).exitCode, 3);
    EXPECT_EQ(runQuillmark({"serve", ".", "--port", "70000"}, folder.path()).exitCode, 2);
    EXPECT_EQ(runQuillmark({"serve"}, folder.path()).exitCode, 2);
}

} // namespace
} // namespace qm::test
