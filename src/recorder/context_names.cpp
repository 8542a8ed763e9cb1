// The names of a context's variables where its graphs' and nodes' names, made
// from the client's, meet the names the context makes itself. Every name in
// the context begins with the context's, and the context knows how far each
// of its counters has gone: whether a name is declared is found from the
// name's own text and those counters, never by a search. A client's name that
// reaches a name not yet made claims it, and the claim is what that name,
// when it comes, passes by; claims and their marks exist only where such
// names were met, so an ordinary recording asks about none.
#include <string>

#include "recorder/records.h"

namespace zeb {
namespace {

using names::Reach;

bool isTensorLike(ClaimedPart part) {
  return part == ClaimedPart::whole || part == ClaimedPart::tensorPart;
}

// Nodes and graph configurations share counters; which of the two a numbered
// name is, and how many elements a node had, are not kept: every part an op
// configuration may declare is taken to be declared.
bool isOpLike(ClaimedPart part) {
  return part != ClaimedPart::tensorPart && part != ClaimedPart::array;
}

// candidate, or the first of candidate_alt, candidate_alt2, ... that is not taken.
template <class Taken>
std::string firstUntaken(const std::string& candidate, const Taken& taken) {
  std::string name = candidate;
  for (uint32_t attempt = 1; taken(name); ++attempt)
    name = candidate + "_alt" + (attempt > 1 ? std::to_string(attempt) : "");
  return name;
}

}  // namespace

NameClaims& ScribeContext::claims() {
  ContextContents& contents = this->contents();
  if (!contents.claims) contents.claims = std::make_unique<NameClaims>();
  return *contents.claims;
}

bool ScribeContext::claimedAhead(std::string_view name, const NameShape& shape) const {
  return contents_ && contents_->claims && contents_->claims->takes(name, shape);
}

void ScribeContext::passClaimed(TextBuffer& name, uint32_t& counter, const NameShape& shape) const {
  const std::size_t prefixLength = name.view().rfind('_') + 1;
  while (claimedAhead(name, shape)) {
    name.cutTo(prefixLength);
    appendAll(name, counter++);
  }
}

std::optional<std::string_view> ScribeContext::wordAfterName(std::string_view prefix) const {
  if (prefix.size() <= name.size() + 1 || prefix.compare(0, name.size(), name) != 0 ||
      prefix[name.size()] != '_')
    return std::nullopt;
  return prefix.substr(name.size() + 1);
}

ScribeGraph* ScribeContext::graphOfVariable(std::string_view variable) const {
  if (!contents_) return nullptr;
  const auto named = contents_->graphNames.find(variable);
  if (named != contents_->graphNames.end() && named->second->name == variable) return named->second;
  const auto renamed = contents_->renamedGraphs.find(variable);
  return renamed == contents_->renamedGraphs.end() ? nullptr : renamed->second;
}

bool ScribeContext::isGraphName(std::string_view variable) const {
  return contents_ && (contents_->graphNames.count(variable) != 0 ||
                       contents_->renamedGraphs.count(variable) != 0);
}

std::string ScribeContext::binaryVariableName(std::string_view word) const {
  return firstUntaken(name + "_" + std::string(word),
                      [this](const std::string& variable) { return isGraphName(variable); });
}

bool ScribeContext::isBinaryVariable(std::string_view variable) const {
  if (!binaryVariables_) return false;
  const BinaryVariables& binary = *binaryVariables_;
  for (const std::string* declared :
       {&binary.size, &binary.writtenSize, &binary.buffer, &binary.file, &binary.binary})
    if (*declared == variable) return true;
  return false;
}

// Where the recorder keeps no count (an execution's inputs and outputs, a
// node's elements) a name is taken to be declared once its number is.
bool ScribeContext::declares(std::string_view base, Claim claim) const {
  const ClaimedPart part = claim.part;
  if (part == ClaimedPart::whole && (graphOfVariable(base) || isBinaryVariable(base))) return true;
  const auto numbered = names::splitNumber(base);
  const auto word = numbered ? wordAfterName(numbered->prefix) : std::nullopt;
  if (!word) return false;
  const uint32_t number = numbered->number;
  // The context's own configurations and tensors: `{context}_{word}_{n}`.
  for (std::size_t w = 0; w < static_cast<std::size_t>(ContextWord::count); ++w) {
    if (*word != kContextWords[w]) continue;
    const bool held =
        part == ClaimedPart::whole ||
        (part == ClaimedPart::array && w == static_cast<std::size_t>(ContextWord::enableGraphs));
    return held && number < wordCounters.values[w];
  }
  if (!contents_) return false;
  if (*word == "tensor") return isTensorLike(part) && number < contents_->tensorNames.count();
  return declaresOfGraph(names::reachOf(numbered->prefix), part, number) ||
         (isOpLike(part) && contents_->graphDerivedNames.handedOut(numbered->prefix) > number);
}

// A graph's tensors and executions.
bool ScribeContext::declaresOfGraph(const Reach& reach, ClaimedPart part, uint32_t number) const {
  const ScribeGraph* graph = graphOfVariable(reach.owner);
  if (!graph) return false;
  const auto executions = static_cast<uint32_t>(graph->executionCounter);
  switch (reach.kind) {
    case Reach::Kind::graphTensor: return isTensorLike(part) && number < graph->tensorCount();
    case Reach::Kind::executionArray: return part == ClaimedPart::whole && number < executions;
    case Reach::Kind::executionTensor: return isTensorLike(part) && reach.execution < executions;
    default: return false;
  }
}

// Marks every counter that may come to base, so that it asks the claims.
void ScribeContext::claimAhead(std::string_view base, Claim claim) {
  const auto numbered = names::splitNumber(base);
  const auto word = numbered ? wordAfterName(numbered->prefix) : std::nullopt;
  if (!word) return;
  const std::string_view prefix = numbered->prefix;
  bool reachable = *word == "tensor";
  for (const std::string_view own : kContextWords) reachable = reachable || *word == own;
  if (reachable) ownNamesClaimed = true;
  const Reach reach = names::reachOf(prefix);
  if (reach.kind != Reach::Kind::none && reach.kind != Reach::Kind::element) {
    claims().addOwner(reach.owner);
    if (ScribeGraph* graph = graphOfVariable(reach.owner)) graph->namesClaimed = true;
    reachable = true;
  }
  // `{graph}_{word}`: numbered by the counters of the graphs' derived names.
  if (word->find('_') != std::string_view::npos) {
    contents().graphDerivedNames.markClaimed(prefix);
    reachable = true;
  }
  if (reachable) claims().add(base, claim);
}

bool ScribeContext::graphVariableTaken(std::string_view variable) const {
  bool taken = isGraphName(variable) || claimedAhead(variable, kPlainName);
  names::forEachBaseOf(variable, [&](std::string_view base, Claim claim) {
    taken = taken || declares(base, claim);
  });
  return taken;
}

std::string ScribeContext::chooseGraphVariable(const std::string& candidate) {
  const std::string variable = firstUntaken(
      candidate, [this](const std::string& name) { return graphVariableTaken(name); });
  names::forEachBaseOf(variable,
                       [this](std::string_view base, Claim claim) { claimAhead(base, claim); });
  return variable;
}

void ScribeContext::numberGraphDerivedName(TextBuffer& name) {
  contents().graphDerivedNames.number(
      name, [this](std::string_view numbered) { return claimedAhead(numbered, kPlainName); });
}

bool ScribeContext::everyNumberTaken(const Reach& reach) const {
  if (reach.kind == Reach::Kind::element) return declares(reach.owner, Claim{reach.part, 0});
  const ScribeGraph* graph = graphOfVariable(reach.owner);
  return reach.kind == Reach::Kind::executionTensor && graph &&
         reach.execution < static_cast<uint32_t>(graph->executionCounter);
}

bool ScribeContext::numberTaken(const Reach& reach, uint32_t number) const {
  const ScribeGraph* graph = graphOfVariable(reach.owner);
  if (!graph) return false;
  return (reach.kind == Reach::Kind::graphTensor && number < graph->tensorCount()) ||
         (reach.kind == Reach::Kind::executionArray &&
          number < static_cast<uint32_t>(graph->executionCounter));
}

void ScribeContext::claimReach(const Reach& reach, std::string_view node) {
  if (reach.kind == Reach::Kind::element) {
    claimAhead(reach.owner, Claim{reach.part, names::splitNumber(node)->number});
  } else {
    claimAhead(node, Claim{ClaimedPart::whole});
  }
}

// A node's name meets a name made another way only where its identifier ends
// as those names do (reachOf tells at once for any other), or where a claim
// holds its number.
void ScribeContext::numberNode(TextBuffer& name, const NameShape& shape) {
  ContextContents& contents = this->contents();
  const auto number = [&](TextBuffer& prefix) {
    contents.graphDerivedNames.number(
        prefix, [&](std::string_view numbered) { return claimedAhead(numbered, shape); });
  };
  if (!names::mayReach(name)) return number(name);
  const Reach first = names::reachOf(name);
  if (first.kind == Reach::Kind::none) return number(name);
  if (everyNumberTaken(first)) {
    name += "_alt";
    return number(name);
  }
  const std::size_t prefixLength = name.size();
  number(name);
  const Reach reach = names::reachOf(name.view().substr(0, prefixLength));
  if (numberTaken(reach, names::splitNumber(name)->number)) {
    name.cutTo(prefixLength);
    name += "_alt";
    return number(name);
  }
  claimReach(reach, name);
}

}  // namespace zeb
