// The question that asks for a transformation of an exercise's grammar,
// its key the program's own rewrite (checked for its language and goal as
// every rewrite is) with the steps that lead there.
#pragma once

#include <optional>

#include "exercises/exercise.h"
#include "transform/transform.h"

// "Remove the left recursion of the grammar.", ...
std::string transformQuestionText(TransformKind kind);

// The exercise of the request with the transformation asked for last; no
// exercise when its grammar has nothing to transform, with why.
ExerciseMaking makeExercise(const GeneratorRequest& request, TransformKind kind);
