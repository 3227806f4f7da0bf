// The sample values a layout is printed and previewed with: the date and time of printing, a
// regatta's page values and 40 competitor rows for the tables.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "model/PrintData.h"

struct LocalTime {
  int year = 0;  // four digits
  int month = 0;  // 1-12
  int day = 0;
  int hour = 0;  // 0-23
  int minute = 0;
};

// Reads the local time; empty when it cannot be determined. Tests hand in a fixed clock.
using LocalTimeSource = std::function<std::optional<LocalTime>()>;
std::optional<LocalTime> SystemLocalTime();

constexpr int kSampleRows = 40;

// A page attribute array as every one starts: the seven date and time codes, each from its own
// reading of the clock (date parts 0 and time parts -1 when the time is unavailable).
std::vector<CFormEnvAttrib> NewPageAttributes(const LocalTimeSource& clock);

// The print data of the sample regatta: page values after the date codes, 40 table rows.
class SamplePrintData {
 public:
  explicit SamplePrintData(const LocalTimeSource& clock = SystemLocalTime);
  SamplePrintData(const SamplePrintData&) = delete;
  SamplePrintData& operator=(const SamplePrintData&) = delete;

  const CFormEnv& Env() const { return env_; }

 private:
  std::vector<CFormEnvRow> rows_;
  CFormEnv env_;
};
