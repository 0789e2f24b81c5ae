// The Follow listing: one line "Follow(X): set" per entry of the Follow results.
#pragma once

#include "grammar/parsing.h"

Row followListing(const Parsing& model, const Row& followSets);
// The same from the ordered Follow sets of the typed grammar, in either notation.
Row followListing(const Grammar& grammar);
