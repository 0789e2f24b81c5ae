// A transformation as its formats write it: the text format is the new
// grammar alone, ready to be read back by every command; JSON gives every
// step with its grammar; Markdown and LaTeX give the steps as a handout.
#pragma once

#include <string>

#include "transform/transform.h"
#include "writers/format.h"

// Empty for the formats a transformation has (text, markdown, latex, json),
// else the message that says which it has.
std::string transformFormatMisuse(Format format);
// `input` is the grammar that was transformed.
std::string transformSheet(const Grammar& input, TransformKind kind, const TransformResult& result, Format format);
