#include "exercises/exercise_property.h"

#include "simulation/evaluations.h"

namespace {

struct Named {
  ExerciseProperty property;
  const char* name;
  const char* title;
};

constexpr Named kNames[] = {
    {ExerciseProperty::kLL1, "ll1", "LL(1)"},
    {ExerciseProperty::kSLRNotLL1, "slr-not-ll1", "SLR(1) but not LL(1)"},
    {ExerciseProperty::kLALRNotSLR, "lalr-not-slr", "LALR(1) but not SLR(1)"},
    {ExerciseProperty::kLR1NotLALR, "lr1-not-lalr", "LR(1) but not LALR(1)"},
    {ExerciseProperty::kAmbiguous, "ambiguous", "ambiguous"},
};

const Named& named(ExerciseProperty property) {
  for (const Named& entry : kNames)
    if (entry.property == property) return entry;
  return kNames[0];
}

bool conflictFree(const Parsing& grammar, TableKind kind) { return conflictCount(grammar, kind) == 0; }

}  // namespace

const char* propertyName(ExerciseProperty property) { return named(property).name; }

const char* propertyTitle(ExerciseProperty property) { return named(property).title; }

std::optional<ExerciseProperty> propertyNamed(std::string_view name) {
  for (const Named& entry : kNames)
    if (name == entry.name) return entry.property;
  return std::nullopt;
}

// The cheaper table is asked first; the LR(1) table costs the most.
PropertyCheck checkProperty(const Parsing& grammar, ExerciseProperty property, const AmbiguityBounds& bounds) {
  PropertyCheck check;
  switch (property) {
    case ExerciseProperty::kLL1: check.holds = conflictFree(grammar, TableKind::kLL1); break;
    case ExerciseProperty::kSLRNotLL1:
      check.holds = !conflictFree(grammar, TableKind::kLL1) && conflictFree(grammar, TableKind::kSLR);
      break;
    case ExerciseProperty::kLALRNotSLR:
      check.holds = !conflictFree(grammar, TableKind::kSLR) && conflictFree(grammar, TableKind::kLALR);
      break;
    case ExerciseProperty::kLR1NotLALR:
      check.holds = !conflictFree(grammar, TableKind::kLALR) && conflictFree(grammar, TableKind::kLR1);
      break;
    case ExerciseProperty::kAmbiguous:
      // An LR(1) grammar is unambiguous: its conflicts come first as a filter.
      if (conflictFree(grammar, TableKind::kSLR) || conflictFree(grammar, TableKind::kLR1)) break;
      check.witness = findAmbiguity(grammar, bounds);
      check.holds = check.witness.has_value();
      break;
  }
  return check;
}
