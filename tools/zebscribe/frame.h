// Where the written program's fixed header ends and its footer begins.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zeb::tool {

enum class HeaderState {
  kWhole,    // the recorder's header, naming the data file
  kCut,      // the file ends inside the header
  kAltered,  // the file starts like the header, then differs
  kAbsent,   // the file does not start like the header
};

struct Frame {
  HeaderState header = HeaderState::kAbsent;
  std::string dataFileName;       // named by a whole header
  std::size_t differingLine = 0;  // first line where a cut or altered header stops
  std::size_t bodyBegin = 0;      // past the header
  std::size_t bodyLine = 1;       // the line the body starts on
  std::size_t bodyEnd = 0;        // where the footer starts, else the end of the file
  bool footer = false;
  // The file ends inside the footer (killed while writing it): bodyEnd is where
  // the cut footer starts.
  bool footerCut = false;
  std::size_t footerLine = 0;
  bool textAfterFooter = false;
};

Frame readFrame(std::string_view text);

// The number of line breaks before `offset`, plus one.
std::size_t lineAt(std::string_view text, std::size_t offset);

}  // namespace zeb::tool
