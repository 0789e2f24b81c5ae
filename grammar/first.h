// The First listing: one line "First(X): set" per non-terminal, in rule order.
#pragma once

#include "grammar/parsing.h"

Row firstListing(const Grammar& grammar);
Row firstListing(const Parsing& model);
