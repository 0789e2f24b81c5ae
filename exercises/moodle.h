// An exercise as a Moodle quiz in Moodle's XML import format: the grammar
// and the word as a description, then one question per part of the
// exercise, its answer key as the right answers with feedback.  Sets and
// table cells are embedded short answers (cloze), whether the grammar is
// of a class a multiple choice, item sets and derivations essays for the
// teacher to mark with the key beside them; the drawing of an automaton
// goes with its item sets.
#pragma once

#include <string>

#include "exercises/exercise.h"

std::string moodleQuiz(const Exercise& exercise);
