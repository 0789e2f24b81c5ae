// `tablomat-cli transform KIND [FILE]`: the grammar rewritten by one of the
// transformations, in the notation it was written in, or its steps as a
// handout.  It has a kind before the file, so it is parsed here, apart from
// the analysis commands.
#pragma once

#include <string>
#include <string_view>

bool isTransformCommand(std::string_view name);
// Runs the command; argv[1] is "transform".  Returns the exit status.
int runTransformCommand(int argc, char** argv);
// The lines the help of tablomat-cli shows for it.
std::string transformCommandHelp();
