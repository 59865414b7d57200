#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tabrel {

// The words of a program setting such as `"/opt/My Editor/edit" --new`:
// blanks and tabs separate words, double quotes group a run of text with
// blanks into a word (the quotes themselves are dropped, and "" is an empty
// word). There are no escapes: a backslash is an ordinary character, so old
// settings holding Windows paths keep them. A quote left open runs to the end.
std::vector<std::string> SplitCommandLine(std::string_view line);

}  // namespace tabrel
