# Run at build time: writes the help pages into one C++ source as raw string
# literals, so the pages are part of the program and the core can check them.
#   -DOUTPUT=file.cpp -DFILES=a.html;b.html
cmake_minimum_required(VERSION 3.25)

set(delimiter "tabrel_page")
list(SORT FILES)
list(LENGTH FILES count)
set(entries "")
foreach(page IN LISTS FILES)
  file(READ "${page}" html)
  string(FIND "${html}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${page} holds the text that ends the embedded string")
  endif()
  get_filename_component(name "${page}" NAME)
  string(APPEND entries "    HelpPageFile{\"${name}\", R\"${delimiter}(${html})${delimiter}\"},\n")
endforeach()

file(WRITE "${OUTPUT}.new"
"// Written by cmake/embed_help_pages.cmake from src/help/pages/.
#include <array>

#include \"help/help_pages.h\"

namespace tabrel {
namespace {

constexpr std::array<HelpPageFile, ${count}> kPages = {
${entries}};

}  // namespace

std::span<const HelpPageFile> HelpPageFiles() {
  return kPages;
}

}  // namespace tabrel
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
