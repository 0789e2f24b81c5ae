// The First listing: one line "First(X): set" per rule, in rule order.
#pragma once

#include "grammar/parsing.h"

Row firstListing(const Parsing& model);
