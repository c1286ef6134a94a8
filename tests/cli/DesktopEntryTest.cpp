// A failure escaping the window ends the run with a documented exit code.
#include "app/module/DesktopEntry.h"
#include "app/DesktopApp.h"
#include "app/module/ExitCodes.h"

#include <gtest/gtest.h>

#include <stdexcept>

int qm::app::runDesktop(int, char**, const std::optional<std::string>&) {
    throw std::runtime_error("the window failed");
}

TEST(DesktopEntry, AFailureGivesADocumentedExitCode) {
    EXPECT_EQ(quillmark_run_desktop(0, nullptr, nullptr), qm::kStopped);
}
