#include "app/cli/ServeCommand.h"

#include <httplib.h>

#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

namespace qm::cli {
namespace {

namespace fs = std::filesystem;

constexpr int kDefaultPort = 8000;
constexpr std::string_view kHost = "127.0.0.1";

// Every file is streamed from disk in slices by our own content provider. The
// library's mount point would read a whole file into memory for every request,
// ranges included, and compress text replies on the fly, with brotli at its
// highest quality when the browser accepts it: 1.3 s for three.js on every
// page load, for nothing on 127.0.0.1. Content providers are sent as they are.
constexpr std::size_t kSliceBytes = 256u << 10;

struct ServeArgs {
    std::string dir;
    int port = kDefaultPort;
};

struct MimeType {
    std::string_view extension;
    std::string_view type;
};

// Everything a published package holds, with the video formats the publisher accepts.
constexpr std::array kMimeTypes = {
    MimeType{"html", "text/html; charset=utf-8"},
    MimeType{"htm", "text/html; charset=utf-8"},
    MimeType{"js", "text/javascript; charset=utf-8"},
    MimeType{"css", "text/css; charset=utf-8"},
    MimeType{"png", "image/png"},
    MimeType{"jpg", "image/jpeg"},
    MimeType{"jpeg", "image/jpeg"},
    MimeType{"gif", "image/gif"},
    MimeType{"mp4", "video/mp4"},
    MimeType{"m4v", "video/x-m4v"},
    MimeType{"webm", "video/webm"},
    MimeType{"ogv", "video/ogg"},
    MimeType{"ogg", "video/ogg"},
    MimeType{"mov", "video/quicktime"},
    MimeType{"qt", "video/quicktime"},
    MimeType{"bat", "text/plain; charset=windows-1251"},
    MimeType{"txt", "text/plain; charset=utf-8"},
    MimeType{"json", "application/json"},
};

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string contentTypeOf(const fs::path& file) {
    std::string extension = lowerAscii(file.extension().string());
    if (!extension.empty()) {
        extension.erase(0, 1);
    }
    for (const MimeType& mime : kMimeTypes) {
        if (mime.extension == extension) {
            return std::string(mime.type);
        }
    }
    return "application/octet-stream";
}

enum class Lookup { Found, Missing, Outside };

struct Resolved {
    Lookup lookup = Lookup::Missing;
    fs::path file;
    std::uintmax_t size = 0;
};

bool escapesRoot(const fs::path& candidate, const fs::path& root) {
    const fs::path relative = candidate.lexically_relative(root);
    return relative.empty() || *relative.begin() == "..";
}

// Maps a decoded request path onto a regular file inside root (itself
// canonical). Symbolic links are followed, and a path that ends outside root,
// by dot segments or by a link, is refused.
Resolved resolveInside(const fs::path& root, const std::string& requestPath) {
    if (requestPath.empty() || requestPath.front() != '/' ||
        requestPath.find('\0') != std::string::npos ||
        requestPath.find('\\') != std::string::npos) {
        return {Lookup::Outside, {}, 0};
    }
    fs::path candidate = root / fs::path(requestPath.substr(1)).relative_path();
    if (requestPath.back() == '/') {
        candidate /= "index.html";
    }
    if (escapesRoot(candidate.lexically_normal(), root)) {
        return {Lookup::Outside, {}, 0};
    }
    std::error_code error;
    const fs::path real = fs::weakly_canonical(candidate, error);
    if (error) {
        return {Lookup::Missing, {}, 0};
    }
    if (escapesRoot(real, root)) {
        return {Lookup::Outside, {}, 0};
    }
    if (!fs::is_regular_file(real, error)) {
        return {Lookup::Missing, {}, 0};
    }
    const std::uintmax_t size = fs::file_size(real, error);
    if (error) {
        return {Lookup::Missing, {}, 0};
    }
    return {Lookup::Found, real, size};
}

// Clamps every byte range of the request to the file, as HTTP asks; this
// cpp-httplib release would otherwise announce and try to send bytes past the
// end. Returns false, with the ranges dropped, when one starts past the end (416).
bool fitRanges(const httplib::Request& request, std::uintmax_t size) {
    const auto last = static_cast<ssize_t>(size) - 1;
    // The library parsed the ranges into the request it owns and reads them
    // back after this handler; it offers no other way to correct them.
    auto& ranges = const_cast<httplib::Ranges&>(request.ranges);
    for (httplib::Range& range : ranges) {
        const bool suffix = range.first < 0;
        if (suffix ? range.second <= 0 || size == 0 : range.first > last) {
            // The 416 answer itself is sent whole.
            ranges.clear();
            return false;
        }
        if (!suffix && (range.second < 0 || range.second > last)) {
            range.second = last;
        }
    }
    return true;
}

void streamFile(httplib::Response& response, const fs::path& file, std::uintmax_t size) {
    if (size == 0) {
        response.set_content(std::string(), contentTypeOf(file));
        return;
    }
    auto stream = std::make_shared<std::ifstream>(file, std::ios::binary);
    if (!*stream) {
        response.status = 403;
        return;
    }
    response.set_content_provider(
        static_cast<std::size_t>(size), contentTypeOf(file),
        [stream](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            std::string slice(std::min(length, kSliceBytes), '\0');
            stream->clear();
            stream->seekg(static_cast<std::streamoff>(offset));
            stream->read(slice.data(), static_cast<std::streamsize>(slice.size()));
            const auto got = static_cast<std::size_t>(stream->gcount());
            return got > 0 && sink.write(slice.data(), got);
        });
}

// Blocks SIGINT and SIGTERM for this thread and every thread started after
// it, and turns their arrival into calls of tryStop on a thread of its own,
// where stopping the server is safe (it is not from a signal handler). A
// signal that comes before the server runs is kept: tryStop is called again
// until it reports that it stopped the server.
class SignalStopper {
  public:
    explicit SignalStopper(std::function<bool()> tryStop) {
        sigemptyset(&signals_);
        sigaddset(&signals_, SIGINT);
        sigaddset(&signals_, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
        waiter_ = std::jthread([this, tryStop = std::move(tryStop)](std::stop_token stop) {
            const timespec tick{0, 50'000'000};
            bool signalled = false;
            while (!stop.stop_requested()) {
                if (!signalled) {
                    signalled = sigtimedwait(&signals_, nullptr, &tick) > 0;
                } else if (tryStop()) {
                    return;
                } else {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
            }
        });
    }
    SignalStopper(const SignalStopper&) = delete;
    SignalStopper& operator=(const SignalStopper&) = delete;
    ~SignalStopper() {
        waiter_.request_stop();
        waiter_.join();
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }

  private:
    sigset_t signals_{};
    sigset_t previous_{};
    std::jthread waiter_;
};

std::string_view statusText(int status) {
    switch (status) {
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 416:
        return "Range Not Satisfiable";
    default:
        return status >= 500 ? "Server Error" : "Error";
    }
}

void logRequest(const httplib::Request& request, const httplib::Response& response) {
    const std::string line =
        request.method + " " + request.path + " " + std::to_string(response.status) + "\n";
    std::fputs(line.c_str(), stdout);
    std::fflush(stdout);
}

void configure(httplib::Server& server, const fs::path& root) {
    server.set_pre_routing_handler(
        [root](const httplib::Request& request, httplib::Response& response) {
            if (request.method != "GET" && request.method != "HEAD") {
                response.status = 405;
                return httplib::Server::HandlerResponse::Handled;
            }
            // Every request is answered here; nothing is left to the library's routing.
            const Resolved resolved = resolveInside(root, request.path);
            if (resolved.lookup != Lookup::Found) {
                response.status = resolved.lookup == Lookup::Outside ? 403 : 404;
            } else if (!fitRanges(request, resolved.size)) {
                response.status = 416;
                response.set_header("Content-Range", "bytes */" + std::to_string(resolved.size));
            } else {
                streamFile(response, resolved.file, resolved.size);
            }
            return httplib::Server::HandlerResponse::Handled;
        });
    server.set_post_routing_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.status < 400 && !response.has_header("Accept-Ranges")) {
            response.set_header("Accept-Ranges", "bytes");
        }
        // The package is being edited while it is served: always ask again.
        response.set_header("Cache-Control", "no-cache");
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        response.set_content(std::to_string(response.status) + " " +
                                 std::string(statusText(response.status)) + "\n",
                             "text/plain; charset=utf-8");
    });
    // The library's default adds SO_REUSEPORT, which would let a second
    // server share the port silently; a busy port must be an error instead.
    server.set_socket_options([](socket_t socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
    });
    server.set_logger(logRequest);
}

std::optional<fs::path> servedRoot(const std::string& dir) {
    std::error_code error;
    const fs::path root = fs::canonical(fs::path(dir), error);
    if (error) {
        std::fprintf(stderr, "quillmark serve: %s: %s\n", dir.c_str(), error.message().c_str());
        return std::nullopt;
    }
    if (!fs::is_directory(root, error)) {
        std::fprintf(stderr, "quillmark serve: %s: %s\n", dir.c_str(),
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
    httplib::Server server;
    configure(server, *root);

    const std::string host(kHost);
    const int port = args.port == 0 ? server.bind_to_any_port(host)
                                    : (server.bind_to_port(host, args.port) ? args.port : -1);
    if (port <= 0) {
        std::fprintf(stderr, "quillmark serve: cannot listen on %s:%d: %s\n", host.c_str(),
                     args.port, std::strerror(errno));
        return kFileSystem;
    }
    const SignalStopper stopper([&server] {
        if (!server.is_running()) {
            return false;
        }
        server.stop();
        return true;
    });
    std::printf("Serving %s at http://%s:%d/ (Ctrl+C stops)\n", root->c_str(), host.c_str(), port);
    std::fflush(stdout);
    const bool listened = server.listen_after_bind();
    std::printf("Stopped.\n");
    return listened ? kOk : kFileSystem;
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
