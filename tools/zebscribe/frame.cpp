#include "frame.h"

#include <algorithm>

#include "recorder/model_frame.h"

namespace zeb::tool {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The header around the two places where it names the data file.
struct HeaderParts {
  std::string beforeName, betweenNames, afterName;
};

const HeaderParts& headerParts() {
  static const HeaderParts parts = [] {
    const std::string marker(1, '\x01');
    const std::string text = zeb::modelHeader(marker);
    const std::size_t first = text.find(marker);
    const std::size_t second = text.find(marker, first + 1);
    return HeaderParts{text.substr(0, first), text.substr(first + 1, second - first - 1),
                       text.substr(second + 1)};
  }();
  return parts;
}

// The offset where `text` stops following `expected`; kNone when all of
// `expected` is there.
std::size_t divergence(std::string_view text, std::string_view expected) {
  const auto stop = std::mismatch(expected.begin(), expected.end(), text.begin(), text.end());
  return stop.first == expected.end() ? kNone
                                      : static_cast<std::size_t>(stop.first - expected.begin());
}

// A header that stops at `at`: cut when the file ends there, else altered.
void stopHeader(std::string_view text, std::size_t at, Frame& frame) {
  frame.header = at >= text.size() ? HeaderState::kCut : HeaderState::kAltered;
  frame.differingLine = lineAt(text, at);
}

void readHeader(std::string_view text, Frame& frame) {
  const HeaderParts& parts = headerParts();
  const std::size_t first = divergence(text, parts.beforeName);
  if (first != kNone) {
    // Only a file whose whole first line is the banner looks like a recording;
    // an empty one is a recording killed before its header was written.
    const bool bannerWhole = first > parts.beforeName.find('\n');
    if (bannerWhole || first == text.size()) stopHeader(text, first, frame);
    return;
  }
  // The name runs to the quote that closes it, on the same line.
  const std::size_t nameBegin = parts.beforeName.size();
  const std::size_t lineEnd = std::min(text.find('\n', nameBegin), text.size());
  const std::size_t nameEnd = std::min(text.find('"', nameBegin), lineEnd);
  const std::size_t between = divergence(text.substr(nameEnd), parts.betweenNames);
  if (between != kNone) return stopHeader(text, nameEnd + between, frame);
  const std::string name(text.substr(nameBegin, nameEnd - nameBegin));
  const std::size_t restBegin = nameEnd + parts.betweenNames.size();
  const std::string rest = name + parts.afterName;
  const std::size_t second = divergence(text.substr(restBegin), rest);
  if (second != kNone) return stopHeader(text, restBegin + second, frame);
  frame.header = HeaderState::kWhole;
  frame.dataFileName = name;
  frame.bodyBegin = restBegin + rest.size();
  frame.bodyLine = lineAt(text, frame.bodyBegin);
}

// The first line start from which the rest of the text begins the footer, but
// is not all of it; kNone when there is none.
std::size_t cutFooterStart(std::string_view text, std::size_t bodyBegin, std::string_view footer) {
  const std::size_t first = std::max(bodyBegin, text.size() - std::min(text.size(), footer.size()));
  for (std::size_t at = first; at < text.size(); ++at) {
    const bool lineStart = at == bodyBegin || text[at - 1] == '\n';
    if (lineStart && footer.substr(0, text.size() - at) == text.substr(at)) return at;
  }
  return kNone;
}

void readFooter(std::string_view text, Frame& frame) {
  const std::string footer = zeb::modelFooter();
  frame.bodyEnd = text.size();
  std::size_t at = text.find(footer, frame.bodyBegin);
  // The footer starts a line.
  while (at != kNone && at > frame.bodyBegin && text[at - 1] != '\n') {
    at = text.find(footer, at + 1);
  }
  if (at == kNone) {
    at = cutFooterStart(text, frame.bodyBegin, footer);
    if (at == kNone) return;
    frame.footerCut = true;
    frame.footerLine = lineAt(text, at);
    frame.bodyEnd = at;
    return;
  }
  frame.footer = true;
  frame.footerLine = lineAt(text, at);
  frame.bodyEnd = at;
  frame.textAfterFooter = at + footer.size() < text.size();
}

}  // namespace

std::size_t lineAt(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

Frame readFrame(std::string_view text) {
  Frame frame;
  readHeader(text, frame);
  if (frame.header == HeaderState::kCut || frame.header == HeaderState::kAltered) {
    frame.bodyBegin = frame.bodyEnd = text.size();
    frame.bodyLine = lineAt(text, text.size());
    return frame;
  }
  readFooter(text, frame);
  return frame;
}

}  // namespace zeb::tool
