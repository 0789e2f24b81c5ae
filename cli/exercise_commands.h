// The teacher's commands of tablomat-cli: `exercise` writes a generated
// exercise (grammar, word, questions, answer key), `grade` marks a
// student's answer for a grammar.  They take options of their own, so they
// are parsed here, apart from the analysis commands.
#pragma once

#include <string>
#include <string_view>

bool isExerciseCommand(std::string_view name);
// Runs the command named by argv[1]; returns the exit status.
int runExerciseCommand(int argc, char** argv);
