// Grading a transformed grammar: the student's grammar against the one
// given, on three requirements, each right or wrong with why: it derives
// the same words (compared up to a bounded length, the first word found in
// one language and not the other named), it reaches the goal of the
// transformation, and its first rule still augments the grammar where the
// given one's did.  The program's own rewrite is the measure of what is
// reachable: a grammar the LL(1) steps cannot free of conflicts is asked
// only to lose its left recursion and be left-factored.
#pragma once

#include <string>
#include <string_view>

#include "exercises/grading.h"
#include "grammar/grammar.h"
#include "grammar/text_reading.h"
#include "transform/transform.h"

// Words up to this many terminals are compared.
inline constexpr int kGradedWordLength = 6;

// The answer is a grammar text in the input's notation, or in the token
// notation when it declares it; an answer that does not read gives the
// reading's messages as the error.
GradeResult gradeTransformation(const Grammar& input, TransformKind kind, std::string_view answerText);
