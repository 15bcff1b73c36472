#pragma once

#include <optional>

// Answers --help and --version without opening a window (and without needing a display).
// Returns the exit code when the program should end here.
std::optional<int> answerCommandLine(int argc, char **argv);
