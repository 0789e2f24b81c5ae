// An exercise as a sheet to hand out: the grammar, the word and the
// questions, and the answer key, in each output format.  The LaTeX form is
// a document to typeset, the key on a page of its own; asked for one part
// alone, each part is a document of its own, so that students get the
// questions and the teacher the key.
#pragma once

#include <string>

#include "exercises/exercise.h"

enum class SheetPart { kQuestions, kKey, kBoth };

// "questions", "key", "both".
std::optional<SheetPart> sheetPartNamed(std::string_view name);

std::string renderSheet(const Exercise& exercise, Format format, SheetPart part = SheetPart::kBoth);
