#include "view/SampleData.h"

#include <cstdio>
#include <ctime>
#include <string>

std::optional<LocalTime> SystemLocalTime() {
  const std::time_t now = std::time(nullptr);
  if (now == static_cast<std::time_t>(-1)) return std::nullopt;
  std::tm parts{};
#ifdef _WIN32
  if (localtime_s(&parts, &now) != 0) return std::nullopt;
#else
  if (!localtime_r(&now, &parts)) return std::nullopt;
#endif
  return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min};
}

namespace {

std::string Format(const char* format, int a, int b = 0, int c = 0) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

}  // namespace

std::vector<CFormEnvAttrib> NewPageAttributes(const LocalTimeSource& clock) {
  // Each code takes its own reading, as the reporting side does.
  const auto date = [&clock] { return clock ? clock() : std::nullopt; };
  const auto day = [](const std::optional<LocalTime>& t) { return t ? t->day : 0; };
  const auto month = [](const std::optional<LocalTime>& t) { return t ? t->month : 0; };
  const auto year = [](const std::optional<LocalTime>& t) { return t ? t->year : 0; };
  const auto hour = [](const std::optional<LocalTime>& t) { return t ? t->hour : -1; };
  const auto minute = [](const std::optional<LocalTime>& t) { return t ? t->minute : -1; };

  std::vector<CFormEnvAttrib> a;
  std::optional<LocalTime> t = date();
  AddAttribute(a, "[Datum]", Format("%d/%d/%d", day(t), month(t), year(t)));
  AddAttribute(a, "[Tag]", day(date()));
  AddAttribute(a, "[Monat]", month(date()));
  AddAttribute(a, "[Jahr]", year(date()));
  t = date();
  AddAttribute(a, "[Uhrzeit]", Format("%d:%02d", hour(t), minute(t)));
  AddAttribute(a, "[Stunde]", hour(date()));
  AddAttribute(a, "[Minute]", Format("%02d", minute(date())));
  return a;
}

SamplePrintData::SamplePrintData(const LocalTimeSource& clock) {
  env_.attributes = NewPageAttributes(clock);
  std::vector<CFormEnvAttrib>& page = env_.attributes;
  AddAttribute(page, "[Titel]", "Testregatta");
  AddAttribute(page, "[Verein]", "Testverein");
  AddAttribute(page, "[Laufbez]", "Einteilungslauf");
  AddAttribute(page, "[Laufnr]", 5);
  AddAttribute(page, "[Gruppe]", "B");
  AddAttribute(page, "[Name]", "TestName");
  AddAttribute(page, "[Vorname]", "Test");
  AddAttribute(page, "[Famname]", "Name");
  AddAttribute(page, "[Segel]", "AUT00");
  AddAttribute(page, "[Segel2]", "AUT00");
  AddAttribute(page, "[Rang]", 1);

  rows_.reserve(kSampleRows);
  for (int i = 0; i < kSampleRows; ++i) {
    // Rows carry no date codes: a "[Datum]" in a column prints as written.
    CFormEnvRow row;
    std::vector<CFormEnvAttrib>& r = row.attributes;
    SetAttribute(r, "[Leer]", "");
    SetAttribute(r, "[Gruppe]", "A");
    SetAttribute(r, "[Rang]", i + 1);
    SetAttribute(r, "[Segel]", "AUT00");
    SetAttribute(r, "[Segel2]", "AUT00");
    SetAttribute(r, "[Name]", "TestName");
    SetAttribute(r, "[Vorname]", "Test");
    SetAttribute(r, "[Famname]", "Name");
    SetAttribute(r, "[Verein]", "TestVerein");
    SetAttribute(r, "[Wertung]", i + 100);
    SetAttribute(r, "[Streicher]", 2 * i + 10);
    SetAttribute(r, "[Punkte]", i + 90);
    rows_.push_back(std::move(row));
  }
  env_.rows = &rows_;
}
