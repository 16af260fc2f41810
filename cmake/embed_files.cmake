# Writes OUTPUT, a C++ file defining vesk::FindWebAsset over the files given as
# "URLPATH|CONTENT-TYPE|FILE" in ENTRIES (separated by ";" passed as "^"): the web page's files
# embedded in the program, so nothing is fetched at run time.
string(REPLACE "^" ";" entries "${ENTRIES}")
set(arrays "")
set(table "")
set(index 0)
foreach(entry ${entries})
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 url)
  list(GET parts 1 type)
  list(GET parts 2 file)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND arrays "constexpr char kFile${index}[] = {${bytes} 0};\n")
  string(APPEND table "    {\"${url}\", \"${type}\", std::string_view(kFile${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new"
"// Made by cmake/embed_files.cmake from the web page's files; not to be edited.
#include \"web/web_assets.h\"

namespace vesk {
namespace {

${arrays}
constexpr WebAsset kAssets[] = {
${table}};

}  // namespace

const WebAsset* FindWebAsset(std::string_view path) {
  for (const WebAsset& asset : kAssets) {
    if (asset.path == path) {
      return &asset;
    }
  }
  return nullptr;
}

}  // namespace vesk
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
