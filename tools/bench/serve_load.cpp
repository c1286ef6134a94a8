// Load and slow-client benchmark of `quillmark serve`. Prints figures; checks
// nothing. Every connection goes to 127.0.0.1, every phase is bounded in time
// and the program stops by itself, ending the servers it started.
//
//   serve_bench QUILLMARK [--seconds N] [--clients N] [--file-mb N]
//
// A: slow clients. 1000 connections that send nothing and 50 that send their
//    headers a byte at a time every 100 ms; meanwhile plain GETs of a page on
//    fresh connections. Goal: each answered in < 100 ms.
// B: load. N clients (default 200) for N seconds: one in ten fetches the
//    whole file (default 200 MB) again and again, the others fetch 1 MB
//    ranges at random offsets over kept-alive connections. Every byte is
//    checked against the file's pattern. Goal: p99 of a range < 2 s, no wrong
//    byte.
// C: one request with 2000 overlapping ranges. Goal: the answer is no larger
//    than the file.
// The server's resident memory is sampled every 50 ms in each phase (goal:
// < 64 MB).

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The file's byte at any offset is known without reading the file.
std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

unsigned char patternByte(std::uint64_t offset) {
    return static_cast<unsigned char>(mix(offset >> 3) >> ((offset & 7) * 8));
}

// Counts the bytes of data that differ from the pattern at offset, a word
// of the pattern at a time.
std::uint64_t wrongBytes(std::string_view data, std::uint64_t offset) {
    std::uint64_t wrong = 0;
    std::size_t i = 0;
    while (i < data.size()) {
        const std::uint64_t at = offset + i;
        const std::uint64_t word = mix(at >> 3);
        const std::size_t inWord = std::min<std::size_t>(8 - (at & 7), data.size() - i);
        std::uint64_t got = 0;
        if (inWord == 8 && (std::memcpy(&got, data.data() + i, 8), got == word)) {
            i += 8; // the pattern's bytes are the word's bytes, low byte first
            continue;
        }
        for (std::size_t k = 0; k < inWord; ++k) {
            wrong += static_cast<unsigned char>(data[i + k]) !=
                     static_cast<unsigned char>(word >> (((at + k) & 7) * 8));
        }
        i += inWord;
    }
    return wrong;
}

void writePatternFile(const fs::path& path, std::uint64_t size) {
    std::ofstream out(path, std::ios::binary);
    std::string block(1u << 20, '\0');
    for (std::uint64_t at = 0; at < size; at += block.size()) {
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - at));
        for (std::size_t i = 0; i < n; ++i) {
            block[i] = static_cast<char>(patternByte(at + i));
        }
        out.write(block.data(), static_cast<std::streamsize>(n));
    }
}

class Socket {
  public:
    Socket() = default;
    explicit Socket(int fd) : fd_(fd) {}
    Socket(Socket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Socket& operator=(Socket&& other) noexcept {
        reset();
        fd_ = std::exchange(other.fd_, -1);
        return *this;
    }
    ~Socket() { reset(); }
    void reset() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = -1;
    }
    int fd() const { return fd_; }
    bool open() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

Socket connectTo(int port, double timeoutSeconds) {
    Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socket.open()) {
        return socket;
    }
    timeval timeout{};
    timeout.tv_sec = static_cast<time_t>(timeoutSeconds);
    timeout.tv_usec = static_cast<suseconds_t>((timeoutSeconds - timeout.tv_sec) * 1e6);
    setsockopt(socket.fd(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(socket.fd(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    const int yes = 1;
    setsockopt(socket.fd(), IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(socket.fd(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        socket.reset();
    }
    return socket;
}

bool sendAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

struct Head {
    int status = 0;
    std::uint64_t contentLength = 0;
    std::string contentRange;
    bool close = false;
};

std::string lowered(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// One HTTP/1.1 client connection: answers are read with what is left over
// from the previous one.
class Client {
  public:
    Client(int port, double timeoutSeconds) : port_(port), timeout_(timeoutSeconds) {}

    // Sends the request and reads the head; nullopt when the connection failed.
    std::optional<Head> request(const std::string& text) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!socket_.open()) {
                socket_ = connectTo(port_, timeout_);
                pending_.clear();
                if (!socket_.open()) {
                    return std::nullopt;
                }
            } else if (attempt == 1) {
                return std::nullopt;
            }
            if (sendAll(socket_.fd(), text)) {
                if (std::optional<Head> head = readHead()) {
                    return head;
                }
            }
            // A kept-alive connection the server had closed: one fresh try.
            const bool wasReused = attempt == 0;
            socket_.reset();
            if (!wasReused) {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

    // Hands the body to sink in pieces with their offsets from its start;
    // false when the connection ended early or sink refused.
    bool readBody(std::uint64_t length,
                  const std::function<bool(std::string_view, std::uint64_t)>& sink, bool close) {
        std::uint64_t done = 0;
        const std::size_t fromPending =
            static_cast<std::size_t>(std::min<std::uint64_t>(pending_.size(), length));
        if (fromPending > 0 && !sink(std::string_view(pending_).substr(0, fromPending), 0)) {
            return false;
        }
        pending_.erase(0, fromPending);
        done = fromPending;
        std::string buffer(256u << 10, '\0');
        while (done < length) {
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), length - done));
            const ssize_t got = ::recv(socket_.fd(), buffer.data(), want, 0);
            if (got <= 0) {
                socket_.reset();
                return false;
            }
            if (!sink(std::string_view(buffer.data(), static_cast<std::size_t>(got)), done)) {
                socket_.reset();
                return false;
            }
            done += static_cast<std::uint64_t>(got);
        }
        if (close) {
            socket_.reset();
        }
        return true;
    }

  private:
    std::optional<Head> readHead() {
        std::size_t end;
        char chunk[4096];
        while ((end = pending_.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t got = ::recv(socket_.fd(), chunk, sizeof chunk, 0);
            if (got <= 0 || pending_.size() > 65536) {
                return std::nullopt;
            }
            pending_.append(chunk, static_cast<std::size_t>(got));
        }
        Head head;
        std::istringstream lines(pending_.substr(0, end));
        std::string line;
        std::getline(lines, line);
        if (line.size() < 12) {
            return std::nullopt;
        }
        head.status = std::atoi(line.c_str() + 9);
        while (std::getline(lines, line)) {
            const std::size_t colon = line.find(':');
            if (colon == std::string::npos) {
                continue;
            }
            const std::string name = lowered(line.substr(0, colon));
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(' '));
            while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) {
                value.pop_back();
            }
            if (name == "content-length") {
                head.contentLength = std::strtoull(value.c_str(), nullptr, 10);
            } else if (name == "content-range") {
                head.contentRange = value;
            } else if (name == "connection") {
                head.close = lowered(value) == "close";
            }
        }
        pending_.erase(0, end + 4);
        return head;
    }

    int port_;
    double timeout_;
    Socket socket_;
    std::string pending_;
};

// A `quillmark serve` of its own, ended when this goes.
class Server {
  public:
    Server(const fs::path& quillmark, const fs::path& dir, const fs::path& work) {
        // A fresh log each time, so that an earlier server's port is never read.
        log_ = work / ("serve-" + std::to_string(++started_) + ".log");
        std::fflush(stdout);
        pid_ = ::fork();
        if (pid_ == 0) {
            std::freopen(log_.c_str(), "w", stdout);
            std::freopen((work / "serve.err").c_str(), "a", stderr);
            ::execl(quillmark.c_str(), quillmark.c_str(), "serve", dir.c_str(), "--port", "0",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        const auto start = Clock::now();
        while (port_ == 0 && msSince(start) < 10'000) {
            std::ifstream in(log_);
            const std::string text((std::istreambuf_iterator<char>(in)), {});
            const std::size_t at = text.find("http://127.0.0.1:");
            if (at != std::string::npos && text.find("Ctrl+C") != std::string::npos) {
                port_ = std::atoi(text.c_str() + at + 17);
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    ~Server() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            for (int i = 0; i < 100 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            if (::waitpid(pid_, &status, WNOHANG) == 0) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
            }
        }
    }
    int port() const { return port_; }
    pid_t pid() const { return pid_; }

  private:
    static inline int started_ = 0;
    pid_t pid_ = -1;
    int port_ = 0;
    fs::path log_;
};

// Resident memory of a process in kB (VmRSS), sampled until stopped.
class MemorySampler {
  public:
    explicit MemorySampler(pid_t pid) {
        thread_ = std::thread([this, pid] {
            while (!stop_) {
                peakKb_ = std::max(peakKb_.load(), residentKb(pid));
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
    }
    MemorySampler(const MemorySampler&) = delete;
    MemorySampler& operator=(const MemorySampler&) = delete;
    ~MemorySampler() { stop(); }
    long peakMb() {
        stop();
        return (peakKb_ + 1023) / 1024;
    }

  private:
    static long residentKb(pid_t pid) {
        std::ifstream in("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("VmRSS:", 0) == 0) {
                return std::atol(line.c_str() + 6);
            }
        }
        return 0;
    }
    void stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    std::atomic<bool> stop_{false};
    std::atomic<long> peakKb_{0};
    std::thread thread_;
};

std::string getRequest(std::string_view path, std::string_view range = {}) {
    std::string text = "GET " + std::string(path) + " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    if (!range.empty()) {
        text += "Range: " + std::string(range) + "\r\n";
    }
    return text + "\r\n";
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto index =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

void raiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, 8192);
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

void slowClientPhase(const fs::path& quillmark, const fs::path& dir, const fs::path& work) {
    constexpr int kIdle = 1000;
    constexpr int kTricklers = 50;
    constexpr int kProbes = 20;
    constexpr double kProbeTimeout = 10;
    std::printf("== A. %d idle connections and %d clients trickling headers; plain GETs "
                "(goal < 100 ms each)\n",
                kIdle, kTricklers);
    const Server server(quillmark, dir, work);
    if (server.port() == 0) {
        std::printf("   the server did not start\n");
        return;
    }
    MemorySampler memory(server.pid());
    std::vector<Socket> idle;
    for (int i = 0; i < kIdle; ++i) {
        if (Socket socket = connectTo(server.port(), 5); socket.open()) {
            idle.push_back(std::move(socket));
        }
    }
    std::vector<Socket> tricklers;
    for (int i = 0; i < kTricklers; ++i) {
        if (Socket socket = connectTo(server.port(), 5); socket.open()) {
            tricklers.push_back(std::move(socket));
        }
    }
    std::printf("   %zu idle and %zu trickling connections open\n", idle.size(), tricklers.size());
    std::atomic<bool> stopTrickling{false};
    std::thread trickle([&tricklers, &stopTrickling] {
        const std::string head = "GET /index.html HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: ";
        for (std::size_t at = 0; !stopTrickling; ++at) {
            const char byte = at < head.size() ? head[at] : 'a';
            for (const Socket& socket : tricklers) {
                ::send(socket.fd(), &byte, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    std::vector<double> times;
    int unanswered = 0;
    for (int i = 0; i < kProbes && unanswered < 2; ++i) {
        const auto start = Clock::now();
        Client client(server.port(), kProbeTimeout);
        const std::optional<Head> head = client.request(getRequest("/index.html"));
        if (head && head->status == 200 &&
            client.readBody(
                head->contentLength, [](std::string_view, std::uint64_t) { return true; }, true)) {
            times.push_back(msSince(start));
        } else {
            ++unanswered;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    stopTrickling = true;
    trickle.join();
    std::printf("   plain GET: %zu answered, median %.1f ms, max %.1f ms; %d not answered within "
                "%.0f s\n",
                times.size(), percentile(times, 0.5),
                times.empty() ? 0.0 : *std::max_element(times.begin(), times.end()), unanswered,
                kProbeTimeout);
    std::printf("   server peak resident memory: %ld MB\n", memory.peakMb());
}

struct LoadFigures {
    std::mutex mutex;
    std::vector<double> rangeMs;
    std::vector<double> fullMs;
    std::uint64_t wrong = 0;
    std::uint64_t failed = 0;
    std::uint64_t bytes = 0;
};

void rangeClient(int port, std::uint64_t fileSize, Clock::time_point end, unsigned seed,
                 LoadFigures& figures) {
    constexpr std::uint64_t kRange = 1u << 20;
    std::mt19937_64 random(seed);
    Client client(port, 60);
    std::vector<double> times;
    std::uint64_t wrong = 0, failed = 0, bytes = 0;
    while (Clock::now() < end) {
        const std::uint64_t first = random() % (fileSize - kRange);
        const std::uint64_t last = first + kRange - 1;
        const auto start = Clock::now();
        const std::optional<Head> head = client.request(getRequest(
            "/movie.mp4", "bytes=" + std::to_string(first) + "-" + std::to_string(last)));
        const std::string expectedRange = "bytes " + std::to_string(first) + "-" +
                                          std::to_string(last) + "/" + std::to_string(fileSize);
        if (!head || head->status != 206 || head->contentLength != kRange ||
            head->contentRange != expectedRange) {
            ++failed;
            client = Client(port, 60);
            continue;
        }
        const bool read = client.readBody(
            head->contentLength,
            [&](std::string_view data, std::uint64_t at) {
                wrong += wrongBytes(data, first + at);
                return true;
            },
            head->close);
        if (!read) {
            ++failed;
            continue;
        }
        bytes += kRange;
        times.push_back(msSince(start));
    }
    const std::lock_guard lock(figures.mutex);
    figures.rangeMs.insert(figures.rangeMs.end(), times.begin(), times.end());
    figures.wrong += wrong;
    figures.failed += failed;
    figures.bytes += bytes;
}

void fullClient(int port, std::uint64_t fileSize, Clock::time_point end, LoadFigures& figures) {
    Client client(port, 60);
    std::vector<double> times;
    std::uint64_t wrong = 0, failed = 0, bytes = 0;
    const auto hardEnd = end + std::chrono::seconds(60);
    while (Clock::now() < end) {
        const auto start = Clock::now();
        const std::optional<Head> head = client.request(getRequest("/movie.mp4"));
        if (!head || head->status != 200 || head->contentLength != fileSize) {
            ++failed;
            client = Client(port, 60);
            continue;
        }
        const bool read = client.readBody(
            head->contentLength,
            [&](std::string_view data, std::uint64_t at) {
                wrong += wrongBytes(data, at);
                bytes += data.size();
                return Clock::now() < hardEnd;
            },
            head->close);
        if (!read) {
            ++failed;
            continue;
        }
        times.push_back(msSince(start));
    }
    const std::lock_guard lock(figures.mutex);
    figures.fullMs.insert(figures.fullMs.end(), times.begin(), times.end());
    figures.wrong += wrong;
    figures.failed += failed;
    figures.bytes += bytes;
}

void loadPhase(const fs::path& quillmark, const fs::path& dir, const fs::path& work, int clients,
               int seconds, std::uint64_t fileSize) {
    const int fullClients = std::max(1, clients / 10);
    std::printf("== B. %d clients for %d s: %d fetch the whole %llu MB file, %d fetch 1 MB ranges "
                "(goal p99 < 2 s, no wrong byte)\n",
                clients, seconds, fullClients, static_cast<unsigned long long>(fileSize >> 20),
                clients - fullClients);
    const Server server(quillmark, dir, work);
    if (server.port() == 0) {
        std::printf("   the server did not start\n");
        return;
    }
    MemorySampler memory(server.pid());
    LoadFigures figures;
    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(seconds);
    {
        std::vector<std::thread> threads;
        for (int i = 0; i < clients; ++i) {
            if (i < fullClients) {
                threads.emplace_back(fullClient, server.port(), fileSize, end, std::ref(figures));
            } else {
                threads.emplace_back(rangeClient, server.port(), fileSize, end,
                                     static_cast<unsigned>(i), std::ref(figures));
            }
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
    }
    const double elapsed = msSince(start) / 1000;
    std::printf("   1 MB ranges: %zu, p50 %.0f ms, p99 %.0f ms, max %.0f ms\n",
                figures.rangeMs.size(), percentile(figures.rangeMs, 0.5),
                percentile(figures.rangeMs, 0.99), percentile(figures.rangeMs, 1.0));
    std::printf("   whole files: %zu, p50 %.0f ms, max %.0f ms\n", figures.fullMs.size(),
                percentile(figures.fullMs, 0.5), percentile(figures.fullMs, 1.0));
    std::printf("   %.0f MB received in %.1f s (%.0f MB/s); wrong bytes: %llu; failed or refused "
                "requests: %llu\n",
                static_cast<double>(figures.bytes) / (1 << 20), elapsed,
                static_cast<double>(figures.bytes) / (1 << 20) / elapsed,
                static_cast<unsigned long long>(figures.wrong),
                static_cast<unsigned long long>(figures.failed));
    std::printf("   server peak resident memory: %ld MB\n", memory.peakMb());
}

void overlappingRangesPhase(const fs::path& quillmark, const fs::path& dir, const fs::path& work,
                            std::uint64_t fileSize) {
    std::printf("== C. One request with 2000 overlapping ranges (goal: answer no larger than the "
                "file, %llu bytes)\n",
                static_cast<unsigned long long>(fileSize));
    const Server server(quillmark, dir, work);
    std::string ranges = "bytes=0-";
    for (int i = 1; i < 2000; ++i) {
        ranges += ",0-";
    }
    Client client(server.port(), 10);
    const auto start = Clock::now();
    const std::optional<Head> head = client.request(getRequest("/movie.mp4", ranges));
    if (!head) {
        std::printf("   no answer\n");
        return;
    }
    // Read for at most 10 s: enough to see whether it stops at the file's size.
    std::uint64_t received = 0;
    client.readBody(
        head->contentLength,
        [&](std::string_view data, std::uint64_t) {
            received += data.size();
            return msSince(start) < 10'000;
        },
        true);
    std::printf("   status %d, Content-Length %llu (%.2f times the file), %llu bytes read in "
                "%.1f s\n",
                head->status, static_cast<unsigned long long>(head->contentLength),
                static_cast<double>(head->contentLength) / static_cast<double>(fileSize),
                static_cast<unsigned long long>(received), msSince(start) / 1000);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s QUILLMARK [--seconds N] [--clients N] [--file-mb N]\n",
                     argv[0]);
        return 2;
    }
    int seconds = 20;
    int clients = 200;
    std::uint64_t fileMb = 200;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        const long value = std::atol(argv[i + 1]);
        if (value <= 0 || value > 100000) {
            std::fprintf(stderr, "%s: bad value %s\n", argv[i], argv[i + 1]);
            return 2;
        }
        if (option == "--seconds") {
            seconds = static_cast<int>(std::min(value, 300L));
        } else if (option == "--clients") {
            clients = static_cast<int>(std::min(value, 1000L));
        } else if (option == "--file-mb") {
            fileMb = static_cast<std::uint64_t>(std::min(value, 4096L));
        }
    }
    ::signal(SIGPIPE, SIG_IGN);
    raiseOpenFileLimit();
    const fs::path quillmark = fs::absolute(argv[1]);
    const fs::path work =
        fs::temp_directory_path() / ("qm-serve-bench-" + std::to_string(::getpid()));
    const fs::path dir = work / "package";
    fs::create_directories(dir);
    const std::uint64_t fileSize = fileMb << 20;
    std::ofstream(dir / "index.html") << "<html><body>tour</body></html>\n";
    writePatternFile(dir / "movie.mp4", fileSize);
    std::printf("quillmark serve benchmark: %s, %u cores\n", quillmark.c_str(),
                std::thread::hardware_concurrency());
    slowClientPhase(quillmark, dir, work);
    loadPhase(quillmark, dir, work, clients, seconds, fileSize);
    overlappingRangesPhase(quillmark, dir, work, fileSize);
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return 0;
}
