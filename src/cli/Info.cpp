#include "cli/Info.h"

#include <cstdio>
#include <sstream>

#include "model/FormAlias.h"
#include "model/FormElementPtrList.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"

namespace {

std::string Colour(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

std::string Font(const LOGFONTA& f) {
  std::ostringstream out;
  out << "font=" << Quoted(FaceName(f)) << " height=" << f.lfHeight << " weight=" << f.lfWeight
      << " italic=" << int(f.lfItalic != 0);
  return out.str();
}

}  // namespace

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

std::string DescribeLayout(const CFormElementPtrList& list, int version) {
  std::ostringstream out;
  out << "version " << version << '\n';
  out << "orientation " << (list.portrait ? "portrait" : "landscape") << '\n';
  out << "duplex " << list.duplexMode << '\n';
  out << "elements " << list.GetCount() << '\n';
  std::vector<CFormElement*> all;
  list.GetAll(all);
  for (std::size_t i = 0; i < all.size(); ++i) {
    const CFormElement* e = all[i];
    out << i + 1 << ' ' << e->GetRuntimeClass().name;
    if (const auto* t = dynamic_cast<const CFormText*>(e)) {
      out << " x=" << t->x << " y=" << t->y << " width=" << t->width << " height=" << t->height
          << " align=" << t->alignment << " color=" << Colour(t->color) << ' ' << Font(t->font)
          << " text=" << Quoted(t->text);
    } else if (const auto* l = dynamic_cast<const CFormLine*>(e)) {
      out << " from=" << l->from.x << ',' << l->from.y << " to=" << l->to.x << ',' << l->to.y
          << " color=" << Colour(l->color);
    } else if (const auto* im = dynamic_cast<const CFormImage*>(e)) {
      const CSize px = im->PixelSize();
      out << " x=" << im->x << " y=" << im->y << " width=" << im->width << " height=" << im->height
          << " picture=" << (im->HasPicture() ? std::to_string(px.cx) + "x" + std::to_string(px.cy) : "none")
          << " helper=" << int(im->helper) << " file=" << Quoted(im->fileName);
    } else if (const auto* tb = dynamic_cast<const CFormTable*>(e)) {
      out << " x=" << tb->x << " y=" << tb->y << " width=" << tb->width << " height=" << tb->height
          << " columns=" << tb->columns.size() << " twocolour=" << int(tb->twoColour)
          << " frame=" << int(tb->frame) << " maxfontheight=" << tb->maxFontHeight;
      int k = 0;
      for (const CFormTableEntry& c : tb->columns) {
        out << "\n  column " << ++k << " width=" << c.widthPercent << " align=" << c.alignment
            << " color=" << Colour(c.color) << ' ' << Font(c.font) << " name=" << Quoted(c.name);
      }
    } else if (const auto* a = dynamic_cast<const CFormAlias*>(e)) {
      out << " x=" << a->x << " y=" << a->y << " width=" << a->width << " height=" << a->height
          << " name=" << Quoted(a->name);
    }
    out << '\n';
  }
  return out.str();
}
