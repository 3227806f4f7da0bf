#include "placeholders/PlaceholderCheck.h"

#include <algorithm>
#include <climits>

#include "model/FormElementPtrList.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "placeholders/Catalogue.h"
#include "platform/TextCodec.h"

namespace {

constexpr std::size_t kLongestToken = 40;  // characters, brackets included

std::u32string Characters(std::string_view utf8) {
  std::u32string out;
  for (std::size_t pos = 0; pos < utf8.size();) out += codec::DecodeUtf8(utf8, pos);
  return out;
}

char32_t Folded(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + (U'a' - U'A');
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // Latin-1 capitals (Ä, Ö, Ü ...)
  return c;
}

// Edit distance counting a swap of two neighbours as one edit, since "[Nmae]" is one slip of the
// fingers, not two. Letter case differences cost nothing here; the caller ranks exact-case first.
int EditDistance(const std::u32string& a, const std::u32string& b) {
  const std::size_t n = a.size(), m = b.size();
  std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
  for (std::size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(i);
  for (std::size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= n; ++i) {
    for (std::size_t j = 1; j <= m; ++j) {
      const int cost = Folded(a[i - 1]) == Folded(b[j - 1]) ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && Folded(a[i - 1]) == Folded(b[j - 2]) &&
          Folded(a[i - 2]) == Folded(b[j - 1]))
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[n][m];
}

bool IsKnownCode(std::string_view token) {
  for (const CCode& c : placeholderCatalogue())
    if (c.code == token) return true;
  return false;
}

bool IsWholeCodeOrTranslation(std::string_view text) {
  for (const CCode& c : placeholderCatalogue())
    if (c.code == text || c.translation == text) return true;
  return false;
}

bool IsTokenText(std::string_view inner) {
  if (inner.empty()) return false;
  return std::none_of(inner.begin(), inner.end(), [](char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '[';
  });
}

}  // namespace

std::string SuggestPlaceholder(std::string_view token) {
  const std::u32string t = Characters(token);
  // Short names leave little to go on: one slip for up to five letters, two beyond.
  const std::size_t letters = t.size() > 2 ? t.size() - 2 : 0;
  const int allowed = letters <= 5 ? 1 : 2;
  int best = INT_MAX;
  const CCode* bestCode = nullptr;
  bool tie = false;
  for (const CCode& c : placeholderCatalogue()) {
    const int d = EditDistance(t, Characters(c.code));
    if (d < best) {
      best = d;
      bestCode = &c;
      tie = false;
    } else if (d == best) {
      tie = true;
    }
  }
  // A token near several codes alike ("[Lauf41]" is one digit from five races) names none of them.
  if (!bestCode || best > allowed || tie) return {};
  return bestCode->code;
}

std::vector<PlaceholderFinding> FindUnknownPlaceholders(std::string_view text) {
  std::vector<PlaceholderFinding> out;
  if (IsWholeCodeOrTranslation(text)) return out;
  std::size_t pos = 0;
  while ((pos = text.find('[', pos)) != std::string_view::npos) {
    const std::size_t close = text.find(']', pos + 1);
    if (close == std::string_view::npos) break;
    const std::string_view inner = text.substr(pos + 1, close - pos - 1);
    const std::size_t open = inner.rfind('[');
    if (open != std::string_view::npos) {
      pos += 1 + open;  // "[[Name]": the token starts at the inner bracket
      continue;
    }
    const std::string_view token = text.substr(pos, close - pos + 1);
    if (IsTokenText(inner) && Characters(token).size() <= kLongestToken && !IsKnownCode(token))
      out.push_back({pos, std::string(token), SuggestPlaceholder(token)});
    pos = close + 1;
  }
  return out;
}

std::vector<ElementFinding> CheckElementPlaceholders(const CFormElement& element) {
  std::vector<ElementFinding> out;
  if (const auto* text = dynamic_cast<const CFormText*>(&element)) {
    for (PlaceholderFinding& f : FindUnknownPlaceholders(text->text)) out.push_back({0, std::move(f)});
  } else if (const auto* table = dynamic_cast<const CFormTable*>(&element)) {
    int column = 0;
    for (const CFormTableEntry& c : table->columns) {
      ++column;
      for (PlaceholderFinding& f : FindUnknownPlaceholders(c.name)) out.push_back({column, std::move(f)});
    }
  }
  return out;
}

std::vector<LayoutFinding> CheckLayoutPlaceholders(const CFormElementPtrList& list) {
  std::vector<LayoutFinding> out;
  std::vector<CFormElement*> all;
  list.GetAll(all);
  for (std::size_t i = 0; i < all.size(); ++i) {
    for (ElementFinding& f : CheckElementPlaceholders(*all[i]))
      out.push_back({static_cast<int>(i + 1), all[i]->GetRuntimeClass().name, f.column, std::move(f.finding)});
  }
  return out;
}

std::string DescribeFinding(const LayoutFinding& f) {
  std::string out = "Element " + std::to_string(f.element) + " (" + f.className + ")";
  if (f.column > 0) out += ", Spalte " + std::to_string(f.column);
  out += ": " + f.finding.token;
  if (!f.finding.suggestion.empty()) out += " – vielleicht " + f.finding.suggestion;
  return out;
}
