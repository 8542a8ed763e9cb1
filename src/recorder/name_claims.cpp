#include "recorder/name_claims.h"

namespace zeb {

bool meets(Claim claim, const NameShape& shape) {
  using Kind = NameShape::Kind;
  switch (claim.part) {
    case ClaimedPart::whole: return true;
    case ClaimedPart::tensorPart: return shape.kind == Kind::tensor;
    case ClaimedPart::opPart: return shape.kind == Kind::op;
    case ClaimedPart::param: return shape.kind == Kind::op && claim.index < shape.params;
    case ClaimedPart::input: return shape.kind == Kind::op && claim.index < shape.inputs;
    case ClaimedPart::output: return shape.kind == Kind::op && claim.index < shape.outputs;
    case ClaimedPart::array: return shape.kind == Kind::configArray;
  }
  return true;
}

void NameClaims::add(std::string_view name, Claim claim) {
  claims_[std::string(name)].push_back(claim);
}

bool NameClaims::takes(std::string_view name, const NameShape& shape) const {
  const auto found = claims_.find(std::string(name));
  if (found == claims_.end()) return false;
  for (const Claim& claim : found->second)
    if (meets(claim, shape)) return true;
  return false;
}

}  // namespace zeb
