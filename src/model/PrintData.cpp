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

void AddAttribute(std::vector<CFormEnvAttrib>& attributes, std::string_view code, std::string_view value) {
  attributes.push_back({std::string(code), std::string(value)});
}

void AddAttribute(std::vector<CFormEnvAttrib>& attributes, std::string_view code, int value) {
  AddAttribute(attributes, code, std::to_string(value));
}

void SetAttribute(std::vector<CFormEnvAttrib>& attributes, std::string_view code, std::string_view value) {
  for (CFormEnvAttrib& a : attributes) {
    if (a.code == code) {
      a.value = value;
      return;
    }
  }
  AddAttribute(attributes, code, value);
}

void SetAttribute(std::vector<CFormEnvAttrib>& attributes, std::string_view code, int value) {
  SetAttribute(attributes, code, std::to_string(value));
}
