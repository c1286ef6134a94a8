#include "app/cli/ServeCommand.h"

#include "app/cli/ByteRanges.h"
#include "app/cli/ServedFiles.h"
#include "app/cli/TerminalText.h"

#include <microhttpd.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kDefaultPort = 8000;
constexpr std::string_view kHost = "127.0.0.1";

// One thread waits on every connection with epoll, so idle, slow and
// trickling clients hold no worker: each costs a socket and the part of its
// memory pool it has filled. A request whose head outgrows the pool is
// refused, and a connection silent for this long is closed.
constexpr unsigned kIdleSeconds = 30;
constexpr std::size_t kConnectionMemory = 32u << 10;
constexpr unsigned kMostConnections = 4096;
constexpr std::size_t kMultipartBlock = 64u << 10;

struct ServeArgs {
    std::string dir;
    int port = kDefaultPort;
};

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    explicit operator bool() const { return fd_ >= 0; }

  private:
    int fd_;
};

struct ResponseRelease {
    void operator()(MHD_Response* response) const { MHD_destroy_response(response); }
};
using Response = std::unique_ptr<MHD_Response, ResponseRelease>;

struct DaemonStop {
    void operator()(MHD_Daemon* daemon) const { MHD_stop_daemon(daemon); }
};
using Daemon = std::unique_ptr<MHD_Daemon, DaemonStop>;

struct Reply {
    unsigned status = MHD_HTTP_INTERNAL_SERVER_ERROR;
    Response response;
};

// What the request handler needs; it lives as long as the daemon.
struct Site {
    fs::path root;
    std::string boundary; // of multipart answers
};

std::string_view statusText(unsigned status) {
    switch (status) {
    case MHD_HTTP_BAD_REQUEST:
        return "Bad Request";
    case MHD_HTTP_FORBIDDEN:
        return "Forbidden";
    case MHD_HTTP_NOT_FOUND:
        return "Not Found";
    case MHD_HTTP_METHOD_NOT_ALLOWED:
        return "Method Not Allowed";
    case MHD_HTTP_RANGE_NOT_SATISFIABLE:
        return "Range Not Satisfiable";
    default:
        return "Server Error";
    }
}

void addHeader(const Response& response, const char* name, const std::string& value) {
    MHD_add_response_header(response.get(), name, value.c_str());
}

Reply errorReply(unsigned status) {
    const std::string text = std::to_string(status) + " " + std::string(statusText(status)) + "\n";
    Reply reply{status, Response(MHD_create_response_from_buffer(
                            text.size(), const_cast<char*>(text.data()), MHD_RESPMEM_MUST_COPY))};
    if (!reply.response) {
        return reply;
    }
    addHeader(reply.response, MHD_HTTP_HEADER_CONTENT_TYPE, "text/plain; charset=utf-8");
    if (status == MHD_HTTP_BAD_REQUEST) {
        // Nothing after a request that could not be read can be trusted.
        addHeader(reply.response, MHD_HTTP_HEADER_CONNECTION, "close");
    } else if (status == MHD_HTTP_METHOD_NOT_ALLOWED) {
        addHeader(reply.response, MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
    }
    return reply;
}

// Reads file bytes at an offset; fewer only at the end or on an error.
std::size_t readAt(int fd, std::uint64_t offset, std::span<char> into) {
    std::size_t done = 0;
    while (done < into.size()) {
        const ssize_t got =
            ::pread(fd, into.data() + done, into.size() - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

struct MultipartSource {
    FileDescriptor file;
    MultipartBody body;
};

ssize_t readMultipart(void* source, std::uint64_t at, char* buffer, std::size_t size) {
    const auto& multipart = *static_cast<const MultipartSource*>(source);
    const int fd = multipart.file.get();
    const std::size_t got =
        multipart.body.read(at, {buffer, size}, [fd](std::uint64_t offset, std::span<char> into) {
            return readAt(fd, offset, into);
        });
    return got == 0 ? MHD_CONTENT_READER_END_WITH_ERROR : static_cast<ssize_t>(got);
}

void freeMultipart(void* source) {
    std::unique_ptr<MultipartSource>(static_cast<MultipartSource*>(source));
}

Response multipartResponse(FileDescriptor file, const std::vector<ByteRange>& ranges,
                           std::uint64_t size, std::string_view type, const std::string& boundary) {
    auto source = std::make_unique<MultipartSource>(
        MultipartSource{std::move(file), MultipartBody(ranges, size, type, boundary)});
    Response response(MHD_create_response_from_callback(
        source->body.size(), kMultipartBlock, &readMultipart, source.get(), &freeMultipart));
    if (response) {
        addHeader(response, MHD_HTTP_HEADER_CONTENT_TYPE, source->body.contentType());
        static_cast<void>(source.release()); // freeMultipart owns it now
    }
    return response;
}

// The file streamed by the kernel from its page cache (sendfile): whole, one
// range, or several ranges as multipart/byteranges.
Reply fileReply(const Site& site, MHD_Connection* connection, bool isGet, const fs::path& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!file) {
        return errorReply(errno == EACCES ? MHD_HTTP_FORBIDDEN : MHD_HTTP_NOT_FOUND);
    }
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return errorReply(MHD_HTTP_NOT_FOUND);
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    const std::string type(contentTypeOf(path));
    // Ranges are defined for GET only; any other method ignores the field.
    const char* field =
        isGet ? MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_RANGE)
              : nullptr;
    const RangePlan plan = field ? planRanges(field, size) : RangePlan{};

    Reply reply;
    if (plan.verdict == RangeVerdict::Unsatisfiable) {
        reply = errorReply(MHD_HTTP_RANGE_NOT_SATISFIABLE);
        if (reply.response) {
            addHeader(reply.response, MHD_HTTP_HEADER_CONTENT_RANGE,
                      "bytes */" + std::to_string(size));
        }
        return reply;
    }
    if (plan.verdict == RangeVerdict::Whole) {
        reply.status = MHD_HTTP_OK;
        reply.response.reset(
            size == 0 ? MHD_create_response_from_buffer(0, nullptr, MHD_RESPMEM_PERSISTENT)
                      : MHD_create_response_from_fd64(size, file.release()));
    } else if (plan.ranges.size() == 1) {
        const ByteRange& range = plan.ranges.front();
        reply.status = MHD_HTTP_PARTIAL_CONTENT;
        reply.response.reset(
            MHD_create_response_from_fd_at_offset64(range.length(), file.release(), range.first));
        if (reply.response) {
            addHeader(reply.response, MHD_HTTP_HEADER_CONTENT_RANGE, contentRangeText(range, size));
        }
    } else {
        reply.status = MHD_HTTP_PARTIAL_CONTENT;
        reply.response = multipartResponse(std::move(file), plan.ranges, size, type, site.boundary);
    }
    if (reply.response) {
        if (plan.ranges.size() <= 1) { // a multipart answer names its type itself
            addHeader(reply.response, MHD_HTTP_HEADER_CONTENT_TYPE, type);
        }
        addHeader(reply.response, MHD_HTTP_HEADER_ACCEPT_RANGES, "bytes");
    }
    return reply;
}

bool isReadingMethod(std::string_view method) {
    return method == MHD_HTTP_METHOD_GET || method == MHD_HTTP_METHOD_HEAD;
}

Reply replyTo(const Site& site, MHD_Connection* connection, std::string_view method,
              std::string_view url) {
    if (!isReadingMethod(method)) {
        return errorReply(MHD_HTTP_METHOD_NOT_ALLOWED);
    }
    const bool isGet = method == MHD_HTTP_METHOD_GET;
    const ServedFile served = resolveRequestPath(site.root, url);
    switch (served.verdict) {
    case PathVerdict::Found:
        return fileReply(site, connection, isGet, served.file);
    case PathVerdict::Outside:
        return errorReply(MHD_HTTP_FORBIDDEN);
    case PathVerdict::BadRequest:
        return errorReply(MHD_HTTP_BAD_REQUEST);
    case PathVerdict::Missing:
        break;
    }
    return errorReply(MHD_HTTP_NOT_FOUND);
}

void logRequest(std::string_view method, std::string_view url, unsigned status) {
    const std::string path = decodedRequestPath(url).value_or(std::string(url));
    const std::string line =
        terminalSafe(method) + " " + terminalSafe(path) + " " + std::to_string(status) + "\n";
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

// GET and HEAD are answered once the request has been read whole (a body,
// which they should not have, is dropped): an answer queued while the head
// is still being handled would close the connection. Any other method is
// refused at once, and its body is never read.
MHD_Result answerRequest(void* site, MHD_Connection* connection, const char* url,
                         const char* method, const char*, const char*, std::size_t* uploadSize,
                         void** requestState) {
    static constexpr char headRead = 0;
    if (isReadingMethod(method) && *requestState == nullptr) {
        *requestState = const_cast<char*>(&headRead);
        return MHD_YES;
    }
    if (isReadingMethod(method) && *uploadSize != 0) {
        *uploadSize = 0;
        return MHD_YES;
    }
    Reply reply = replyTo(*static_cast<const Site*>(site), connection, method, url);
    logRequest(method, url, reply.status);
    if (!reply.response) {
        return MHD_NO; // out of memory: the connection is closed
    }
    // The package is being edited while it is served: always ask again.
    addHeader(reply.response, MHD_HTTP_HEADER_CACHE_CONTROL, "no-cache");
    return MHD_queue_response(connection, reply.status, reply.response.get());
}

// The path is kept as sent: it is decoded once, by the served-file rules,
// where an encoded NUL or slash can be told apart.
std::size_t keepEscapes(void*, MHD_Connection*, char* text) {
    return std::strlen(text);
}

// Blocks SIGINT and SIGTERM (taken by wait()) and SIGPIPE (a client gone
// away is an error of that send alone) for this thread and the server's.
class BlockedSignals {
  public:
    BlockedSignals() {
        sigemptyset(&stop_);
        sigaddset(&stop_, SIGINT);
        sigaddset(&stop_, SIGTERM);
        sigset_t blocked = stop_;
        sigaddset(&blocked, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &blocked, &previous_);
    }
    BlockedSignals(const BlockedSignals&) = delete;
    BlockedSignals& operator=(const BlockedSignals&) = delete;
    ~BlockedSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    void wait() const {
        int signal = 0;
        while (sigwait(&stop_, &signal) != 0) {
        }
    }

  private:
    sigset_t stop_{};
    sigset_t previous_{};
};

struct Listener {
    FileDescriptor socket;
    int port = 0;
};

// The socket is made here rather than by the library so that a busy port
// reports its own reason, and without SO_REUSEPORT, so that it is an error.
std::optional<Listener> listenOn(int port) {
    FileDescriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, std::string(kHost).c_str(), &address.sin_addr);
    const int yes = 1;
    socklen_t length = sizeof address;
    if (!socket || ::setsockopt(socket.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) != 0 ||
        ::bind(socket.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket.get(), SOMAXCONN) != 0 ||
        ::getsockname(socket.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return std::nullopt;
    }
    return Listener{std::move(socket), ntohs(address.sin_port)};
}

// Each connection may hold a socket and an open file; the soft limit on open
// files is raised as far as the hard one allows.
unsigned connectionLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return 256;
    }
    const rlim_t wanted = std::min<rlim_t>(limit.rlim_max, 2 * kMostConnections + 64);
    if (limit.rlim_cur < wanted) {
        limit.rlim_cur = wanted;
        if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) {
            ::getrlimit(RLIMIT_NOFILE, &limit);
        }
    }
    const rlim_t usable = limit.rlim_cur > 128 ? (limit.rlim_cur - 64) / 2 : 32;
    return static_cast<unsigned>(std::min<rlim_t>(usable, kMostConnections));
}

std::string randomBoundary() {
    std::random_device entropy;
    std::mt19937_64 random(entropy());
    constexpr std::string_view digits = "0123456789abcdef";
    std::string boundary = "quillmark-";
    for (int i = 0; i < 24; ++i) {
        boundary += digits[random() & 0xF];
    }
    return boundary;
}

std::optional<fs::path> servedRoot(const std::string& dir) {
    std::error_code error;
    const fs::path root = fs::canonical(fs::path(dir), error);
    if (error) {
        std::fprintf(stderr, "quillmark serve: %s: %s\n", terminalSafe(dir).c_str(),
                     error.message().c_str());
        return std::nullopt;
    }
    if (!fs::is_directory(root, error)) {
        std::fprintf(stderr, "quillmark serve: %s: %s\n", terminalSafe(dir).c_str(),
                     error ? error.message().c_str() : "Not a directory");
        return std::nullopt;
    }
    return root;
}

int serve(const ServeArgs& args) {
    const std::optional<fs::path> root = servedRoot(args.dir);
    if (!root) {
        return kFileSystem;
    }
    std::optional<Listener> listener = listenOn(args.port);
    if (!listener) {
        std::fprintf(stderr, "quillmark serve: cannot listen on %s:%d: %s\n",
                     std::string(kHost).c_str(), args.port, std::strerror(errno));
        return kFileSystem;
    }
    const Site site{*root, randomBoundary()};
    const BlockedSignals signals;
    Daemon daemon(MHD_start_daemon(
        MHD_USE_EPOLL_INTERNAL_THREAD | MHD_USE_TURBO, 0, nullptr, nullptr, &answerRequest,
        const_cast<Site*>(&site), MHD_OPTION_LISTEN_SOCKET, listener->socket.release(),
        MHD_OPTION_CONNECTION_LIMIT, connectionLimit(), MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds,
        MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemory, MHD_OPTION_UNESCAPE_CALLBACK,
        &keepEscapes, nullptr, MHD_OPTION_END));
    if (!daemon) {
        std::fprintf(stderr, "quillmark serve: cannot start the server on %s:%d\n",
                     std::string(kHost).c_str(), listener->port);
        return kFileSystem;
    }
    std::printf("Serving %s at http://%s:%d/ (Ctrl+C stops)\n",
                terminalSafe(root->string()).c_str(), std::string(kHost).c_str(), listener->port);
    std::fflush(stdout);
    signals.wait();
    daemon.reset();
    std::printf("Stopped.\n");
    return kOk;
}

} // namespace

CliCommand addServeCommand(CLI::App& app) {
    auto args = std::make_shared<ServeArgs>();
    CLI::App* node = app.add_subcommand(
        "serve", "Serve a published package on 127.0.0.1 with byte ranges, so that the "
                 "browser can seek in the video (Python's http.server cannot).");
    // A missing folder is a file-system failure (exit 3), not a usage error.
    node->add_option("DIR", args->dir, "Folder of the published package")->required();
    node->add_option("--port", args->port, "Port to listen on; 0 picks a free one")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    node->footer("Exit codes: 0 stopped by Ctrl+C or SIGTERM, 2 usage, 3 DIR is not a folder or "
                 "the port cannot be used.");
    return {node, [args] { return serve(*args); }};
}

} // namespace qm::cli
