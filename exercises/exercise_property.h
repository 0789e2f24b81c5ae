// The properties an exercise grammar is made to have, by the parse tables
// that have no conflict: LL(1); SLR(1) but not LL(1); LALR(1) but not
// SLR(1); LR(1) but not LALR(1); or ambiguous, shown by a word with two
// parse trees (an ambiguous grammar has a conflict in every table, but a
// conflict alone does not make a grammar ambiguous).
#pragma once

#include <optional>
#include <string_view>

#include "exercises/ambiguity.h"
#include "grammar/parsing.h"

enum class ExerciseProperty { kLL1, kSLRNotLL1, kLALRNotSLR, kLR1NotLALR, kAmbiguous };
inline constexpr ExerciseProperty kExerciseProperties[] = {ExerciseProperty::kLL1, ExerciseProperty::kSLRNotLL1,
                                                           ExerciseProperty::kLALRNotSLR, ExerciseProperty::kLR1NotLALR,
                                                           ExerciseProperty::kAmbiguous};

// "ll1", "slr-not-ll1", "lalr-not-slr", "lr1-not-lalr", "ambiguous".
const char* propertyName(ExerciseProperty property);
// "LL(1)", "SLR(1) but not LL(1)", ...
const char* propertyTitle(ExerciseProperty property);
std::optional<ExerciseProperty> propertyNamed(std::string_view name);

struct PropertyCheck {
  bool holds = false;
  std::optional<AmbiguityWitness> witness;  // for kAmbiguous, when it holds
};

// Whether the grammar has the property, by the conflict counts of the
// tables and, for kAmbiguous, a verified word with two trees.
PropertyCheck checkProperty(const Parsing& grammar, ExerciseProperty property, const AmbiguityBounds& bounds = {});
