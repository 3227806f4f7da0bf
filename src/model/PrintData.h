// What printing hands to the elements: page-level placeholder values and the table rows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct CFormEnvAttrib {
  std::string code;   // e.g. "[Name]"
  std::string value;  // the text that replaces it
};

struct CFormEnvRow {
  std::vector<CFormEnvAttrib> attributes;
};

struct CFormEnv {
  std::vector<CFormEnvAttrib> attributes;
  const std::vector<CFormEnvRow>* rows = nullptr;  // may be null: no table rows
};

// Appends the code with its value; an existing entry of the same code is not looked for.
void AddAttribute(std::vector<CFormEnvAttrib>& attributes, std::string_view code, std::string_view value);
void AddAttribute(std::vector<CFormEnvAttrib>& attributes, std::string_view code, int value);
// Replaces the value of the first entry with exactly this code, else appends.
void SetAttribute(std::vector<CFormEnvAttrib>& attributes, std::string_view code, std::string_view value);
void SetAttribute(std::vector<CFormEnvAttrib>& attributes, std::string_view code, int value);

// Replaces the first occurrence of each code, in attribute order, in the text as changed so far.
std::string ReplacePlaceholders(const std::vector<CFormEnvAttrib>& attributes, std::string_view text);
