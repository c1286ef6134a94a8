#include "app/cli/CommandLine.h"

int main(int argc, char** argv) {
    return qm::cli::run(argc, argv);
}
