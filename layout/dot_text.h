// Texts inside a DOT file: quoted strings and the text of HTML-like labels.
#pragma once

#include <string>
#include <string_view>

// The text as a DOT string in double quotes.  A backslash is doubled, so
// that Graphviz shows it rather than reading an escape such as \n or \N.
std::string dotString(std::string_view text);
// The text inside an HTML-like label, with &, <, > and " as entities.
std::string htmlText(std::string_view text);
