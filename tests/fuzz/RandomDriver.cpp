// Runs the reader fuzz target without libFuzzer: a fixed corpus of awkward
// files, then a fixed number of seeded mutations of them, so every run does
// the same work. Usage: reader_fuzz [iterations] [seed]
//
// With clang the same target also builds for libFuzzer:
//   clang++ -std=c++20 -fsanitize=fuzzer,address,undefined -I. tests/fuzz/ReaderFuzz.cpp
//       model/*.cpp persist/*.cpp -o reader_libfuzzer
//   ./reader_libfuzzer -max_total_time=60

#include "ReaderFuzz.h"

#include "model/Project.h"
#include "persist/ProjectFile.h"

#include <charconv>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> seedCorpus() {
    using namespace std::string_literals;
    qm::Project project;
    project.options = qm::PlayerOptions::fresh("/start");
    project.videos.set(1, "/videos/tour.mp4");
    project.hotSpots.put(2, qm::HotSpotItem{"http://a/b", "Заголовок", -90, 12.5, 5, 1});
    const std::string projectFile = qm::projectFileText(project).bytes;

    std::string lfOnly;
    for (const char c : projectFile) {
        if (c != '\r') {
            lfOnly += c;
        }
    }
    return {
        "",
        projectFile,
        projectFile.substr(0, projectFile.size() / 2),
        lfOnly,
        "\0\0\0<WINDOW>\0 5\0</WINDOW>"s,
        "<WINDOW>1e999</WINDOW><ZOOMMAX>1e999</ZOOMMAX>",
        "<HTMLBGCOLOR>-&hFFFFFFFF</HTMLBGCOLOR><WINDOW>-&hFFFFFFFF</WINDOW>",
        "<HTMLBGCOLOR>&h00FF0000</HTMLBGCOLOR><HS_ICON0>&hFFFFFFFFFFFFFFFFFFFF</HS_ICON0>",
        "<WINDOW></WINDOW><HTMLTITLE>",
        "<WINDOW>",
        "<HSPOS11>5</HSPOS11><HSPOS0>5</HSPOS0><HSPOS-1>5</HSPOS-1><VIDEO4>x</VIDEO4>",
        "<HSLINK1><HSTITLE1>x</HSTITLE1></HSLINK1><HSPOS1>" + std::string(400, '9') + "</HSPOS1>",
        "<HSYAW1>2.5</HSYAW1><HSSELF1>-0.5</HSSELF1><HSPOS1>." + std::string(400, '0') + "1",
        "</</</<<<>>>////" + std::string(300, '<'),
        "\xFF\xFE\x98\x98\xC0\xE0<HTMLTITLE>\x98\xA0\xAD</HTMLTITLE>",
    };
}

void mutate(std::string& input, std::mt19937& random) {
    static const std::vector<std::string> kTokens = {
        "<WINDOW>",    "</WINDOW>", "<HSPOS3>", "</HSPOS3>",
        "<HTMLTITLE>", "<ZOOMMAX>", "&h",       "&H",
        "-",           ".",         "e999",     "\r\n",
        "\n",          "</",        "<",        std::string(1, '\0'),
        " ",           "\t",        "<VIDEO1>", "<LOADDIR>"};
    std::uniform_int_distribution<int> kind(0, 5);
    const auto position = [&] {
        return std::uniform_int_distribution<std::size_t>(0, input.size())(random);
    };
    switch (kind(random)) {
    case 0:
        input.insert(position(), kTokens[random() % kTokens.size()]);
        break;
    case 1:
        input.insert(position(), 1, static_cast<char>(random() & 0xFF));
        break;
    case 2:
        if (!input.empty()) {
            input.erase(position() % input.size(), 1 + random() % 16);
        }
        break;
    case 3:
        if (!input.empty()) {
            input[position() % input.size()] = static_cast<char>(random() & 0xFF);
        }
        break;
    case 4: {
        const std::size_t at = position();
        input.insert(at, input.substr(at, random() % 64));
        break;
    }
    default:
        input.insert(position(), std::string(random() % 8, static_cast<char>('0' + random() % 10)));
        break;
    }
    // Keep inputs the size of real files, plus some slack.
    if (input.size() > 8 * 1024) {
        input.resize(8 * 1024);
    }
}

int run(const std::string& input) {
    return LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()),
                                  input.size());
}

unsigned parseArgument(const char* text, unsigned fallback) {
    unsigned value = fallback;
    const std::string_view view(text);
    std::from_chars(view.data(), view.data() + view.size(), value);
    return value;
}

} // namespace

int main(int argc, char** argv) {
    const unsigned iterations = argc > 1 ? parseArgument(argv[1], 4000) : 4000;
    const unsigned seed = argc > 2 ? parseArgument(argv[2], 20261207) : 20261207;
    std::vector<std::string> corpus = seedCorpus();
    for (const std::string& input : corpus) {
        run(input);
    }
    std::mt19937 random(seed);
    for (unsigned i = 0; i < iterations; ++i) {
        std::string& pick = corpus[random() % corpus.size()];
        std::string input = pick;
        const unsigned rounds = 1 + random() % 8;
        for (unsigned r = 0; r < rounds; ++r) {
            mutate(input, random);
        }
        run(input);
        if (random() % 16 == 0) {
            pick = std::move(input); // let mutations build on each other
        }
    }
    std::printf("reader fuzz: %u inputs, seed %u, no fault\n",
                iterations + static_cast<unsigned>(corpus.size()), seed);
    return 0;
}
