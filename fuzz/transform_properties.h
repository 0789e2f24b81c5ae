// What must hold for every transformation of every grammar: the result
// reads back as itself, reaches its goal and derives the input's words up
// to a bounded length; a refusal is only ever for an empty language or a
// classic notation without letters left.
#pragma once

#include <string>
#include <vector>

#include "grammar/grammar.h"

std::vector<std::string> checkTransformations(const Grammar& grammar);
