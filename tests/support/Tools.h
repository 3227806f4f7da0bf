// Runs one of the system's command-line tools (the PDF tools of poppler-utils) and returns what it
// printed; empty when it could not run.
#pragma once

#include <cstdio>
#include <string>

inline std::string RunTool(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    pclose(p);
  }
  return out;
}
