#include "model/PrintData.h"

std::string ReplacePlaceholders(const std::vector<CFormEnvAttrib>& attributes,
                                std::string_view text) {
  std::string result(text);
  for (const CFormEnvAttrib& a : attributes) {
    if (a.code.empty()) continue;  // an empty code would "match" at the start of every text
    const std::size_t at = result.find(a.code);
    if (at == std::string::npos) continue;
    result.replace(at, a.code.size(), a.value);
  }
  return result;
}
