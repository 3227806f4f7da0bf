// Byte-level tests of the layout stream, built from the format tables.
#include <gtest/gtest.h>

#include "model/FileFormat.h"
#include "model/FormAlias.h"
#include "model/FormImage.h"
#include "model/FormLine.h"
#include "model/FormTable.h"
#include "model/FormText.h"
#include "placeholders/Catalogue.h"
#include "platform/Archive.h"
#include "support/FakeServices.h"
#include "support/LayoutFixtures.h"

namespace {

bool Contains(const std::vector<std::uint8_t>& bytes, std::string_view part) {
  const std::vector<std::uint8_t> needle(part.begin(), part.end());
  return std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) != bytes.end();
}

// The record bytes of a text as the writer produces them (current form).
Bytes& TextRecord(Bytes& b, int x, int y, std::string_view text, int colour = 0) {
  b.point(x, y).point(0, 0).point(0, 0).str(text).i32(0).font(-160, 400, "Arial").i32(colour);
  return b;
}

std::unique_ptr<CFormImage> ImageWithPicture(int w, int h, bool helper) {
  auto img = std::make_unique<CFormImage>();
  std::vector<std::uint8_t> bgr(static_cast<std::size_t>(w) * h * 3, 0x7F);
  img->SetPicture(w, h, bgr);
  img->x = 5;
  img->y = 6;
  img->width = 70;
  img->height = 80;
  img->fileName = "logo.png";
  img->helper = helper;
  return img;
}

TEST(LayoutFormat, EmptyLayoutIsTenBytes) {
  for (bool portrait : {true, false}) {
    CFormElementPtrList list;
    list.portrait = portrait;
    const auto bytes = LayoutToBytes(list);
    EXPECT_EQ(bytes, Bytes().i32(4714).i32(portrait ? 1 : 0).u16(0).data);
  }
}

TEST(LayoutFormat, WriterChoosesLowestVersionThatHoldsTheLayout) {
  struct Case {
    int duplex;
    bool image;
    bool helper;
    int version;
  } cases[] = {{0, false, false, 4714}, {0, true, false, 4714}, {2, false, false, 4715},
               {3, true, false, 4715},  {0, true, true, 4716},  {1, true, true, 4716}};
  for (const Case& c : cases) {
    CFormElementPtrList list;
    list.duplexMode = c.duplex;
    if (c.image) Add(list, ImageWithPicture(1, 1, c.helper));
    const auto bytes = LayoutToBytes(list);
    Bytes header;
    header.i32(c.version).i32(1);
    if (c.version > 4714) header.i32(c.duplex);
    ASSERT_GE(bytes.size(), header.data.size());
    EXPECT_TRUE(std::equal(header.data.begin(), header.data.end(), bytes.begin()))
        << "duplex " << c.duplex << " helper " << c.helper;
  }
}

TEST(LayoutFormat, HelperImageAddsHelperByteToEveryImageRecord) {
  CFormElementPtrList list;
  list.duplexMode = 2;
  auto plain = std::make_unique<CFormImage>();  // no picture
  plain->fileName = "a.bmp";
  plain->width = plain->height = 50;
  Add(list, std::move(plain));
  Add(list, ImageWithPicture(1, 1, true));

  Bytes expected;
  expected.i32(4716).i32(1).i32(2).u16(2);
  expected.newClass("CFormImage").point(0, 0).str("a.bmp").point(50, 50).u8(0).u8(0);
  // 1x1 24-bit picture: 40-byte header + one row padded to 4 bytes.
  expected.classRef(1).point(5, 6).str("logo.png").point(70, 80).u8(1);
  expected.u16(0x4D42).u32(44 + 14).u16(0).u16(0).u32(54);
  expected.u32(40).i32(1).i32(1).u16(1).u16(24).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);
  expected.u8(0x7F).u8(0x7F).u8(0x7F).u8(0);
  expected.u8(1);
  EXPECT_EQ(LayoutToBytes(list), expected.data);

  const auto back = Read(expected.data);
  ASSERT_EQ(back->GetCount(), 2);
  auto* a = static_cast<CFormImage*>(back->At(0));
  auto* b = static_cast<CFormImage*>(back->At(1));
  EXPECT_FALSE(a->HasPicture());
  EXPECT_FALSE(a->helper);
  EXPECT_TRUE(b->HasPicture());
  EXPECT_TRUE(b->helper);
  EXPECT_EQ(b->bitsOffset, 40);
  EXPECT_EQ(b->PixelSize(), CSize(1, 1));
  EXPECT_EQ(back->duplexMode, 2);
}

TEST(LayoutFormat, ClassTagsAndIndicesAcrossNewAndRepeatedClasses) {
  CFormElementPtrList list;
  Add(list, std::make_unique<CFormText>(CPoint{1, 2}, "a"));
  Add(list, std::make_unique<CFormLine>(CPoint{3, 4}, CPoint{5, 6}));
  Add(list, std::make_unique<CFormText>(CPoint{7, 8}, "b"));
  Add(list, std::make_unique<CFormLine>(CPoint{9, 9}, CPoint{9, 9}));
  auto alias = std::make_unique<CFormAlias>();
  alias->name = "Logo";
  alias->x = 10;
  alias->y = 11;
  alias->width = 12;
  alias->height = 13;
  Add(list, std::move(alias));

  Bytes expected;
  expected.i32(4714).i32(1).u16(5);
  TextRecord(expected.newClass("CFormText"), 1, 2, "a");  // class 1, object 2
  expected.newClass("CFormLine").point(3, 4).point(5, 6).i32(0);  // class 3, object 4
  TextRecord(expected.classRef(1), 7, 8, "b");                    // object 5
  expected.classRef(3).point(9, 9).point(9, 9).i32(0);            // object 6
  expected.newClass("CFormAlias").point(10, 11).str("Logo").point(12, 13);  // class 7
  EXPECT_EQ(LayoutToBytes(list), expected.data);

  const auto back = Read(expected.data);
  ASSERT_EQ(back->GetCount(), 5);
  EXPECT_TRUE(back->At(0)->Is<CFormText>());
  EXPECT_TRUE(back->At(1)->Is<CFormLine>());
  EXPECT_TRUE(back->At(2)->Is<CFormText>());
  EXPECT_TRUE(back->At(3)->Is<CFormLine>());
  const auto* a = static_cast<CFormAlias*>(back->At(4));
  EXPECT_EQ(a->name, "Logo");
  EXPECT_EQ(CRect(a->x, a->y, a->width, a->height), CRect(10, 11, 12, 13));
  EXPECT_EQ(static_cast<CFormText*>(back->At(2))->text, "b");
}

TEST(LayoutFormat, BigClassIndexUsesTheLongTag) {
  // Past 0x7FFE indices a repeated class is written as 0x7FFF and a 32-bit tag; the reader takes
  // both forms. 0x3FFF aliases use two indices each (class once, then objects).
  CFormElementPtrList list;
  for (int i = 0; i < 0x4001; ++i) Add(list, std::make_unique<CFormAlias>());
  Add(list, std::make_unique<CFormLine>());
  Add(list, std::make_unique<CFormLine>());
  const auto bytes = LayoutToBytes(list);
  // The second line refers to class index 0x4003 (after 0x4001 alias objects): still short.
  // Build a stream whose class index is beyond 0x7FFE by hand instead.
  Bytes b;
  b.i32(4714).i32(1).u16(2);
  b.newClass("CFormLine").point(1, 1).point(2, 2).i32(0);
  b.u16(0x7FFF).u32(0x80000001u).point(3, 3).point(4, 4).i32(0);
  const auto back = Read(b.data);
  ASSERT_EQ(back->GetCount(), 2);
  EXPECT_EQ(static_cast<CFormLine*>(back->At(1))->to, CPoint(4, 4));
  EXPECT_EQ(Read(bytes)->GetCount(), 0x4003);
}

TEST(LayoutFormat, WriterUsesLongTagForLargeClassIndex) {
  CFormElementPtrList list;
  // Class "CFormAlias" takes index 1, its objects 2.., so the line's class gets index 0x8000.
  for (int i = 0; i < 0x7FFE; ++i) Add(list, std::make_unique<CFormAlias>());
  Add(list, std::make_unique<CFormLine>());
  Add(list, std::make_unique<CFormLine>());
  const auto bytes = LayoutToBytes(list);
  // Tail: the second line's tag is 0x7FFF and 0x80000000 | 0x8000, then its 20-byte record.
  const std::size_t tag = bytes.size() - 20 - 6;
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + tag, bytes.begin() + tag + 6),
            Bytes().u16(0x7FFF).u32(0x80008000u).data);
  EXPECT_EQ(Read(bytes)->GetCount(), 0x8000);
}

TEST(LayoutFormat, TableWithColumnsRoundTrips) {
  CFormElementPtrList list;
  auto table = std::make_unique<CFormTable>(CPoint{20, 30});
  table->twoColour = true;
  table->frame = true;
  table->maxFontHeight = 100;
  CFormTableEntry rank;
  rank.name = "[Rang]";
  rank.widthPercent = 15;
  rank.alignment = 2;
  CFormTableEntry name;
  name.name = "[Name]";
  name.widthPercent = 60;
  name.font.lfHeight = -100;
  name.color = RGB(0x12, 0x34, 0x56);
  table->AppendColumn(rank);
  table->AppendColumn(name);
  Add(list, std::move(table));

  Bytes expected;
  expected.i32(4714).i32(1).u16(1).newClass("CFormTable");
  expected.point(20, 30).point(100, 100).i32(1).i32(100).i32(1).u16(2);
  expected.str("[Rang]").i32(15).i32(2).font(-80, 400, "Arial").i32(0);
  expected.str("[Name]").i32(60).i32(0).font(-100, 400, "Arial").i32(0x563412);
  EXPECT_EQ(LayoutToBytes(list), expected.data);

  const auto back = Read(expected.data);
  const auto* t = static_cast<CFormTable*>(back->At(0));
  ASSERT_EQ(t->columns.size(), 2u);
  EXPECT_EQ(t->columns.front(), rank);
  EXPECT_EQ(t->columns.back(), name);
  EXPECT_TRUE(t->twoColour);
  EXPECT_TRUE(t->frame);
  EXPECT_EQ(t->maxFontHeight, 100);
}

TEST(LayoutFormat, OldVersionsReadRawFontsAndDefaults) {
  // Version 4711: no header fields after the version, raw 60-byte fonts, no colours.
  Bytes b;
  b.i32(4711).u16(3);
  b.newClass("CFormText").point(10, 20).point(-5, 7).point(30, 40).str("Alt").i32(1);
  b.rawFont(-120, 700, "Times New Roman");
  b.newClass("CFormLine").point(1, 2).point(3, 4);
  b.newClass("CFormTable").point(0, 0).point(50, 50).i32(0).i32(80).i32(0).u16(1);
  b.str("[Segel]").i32(25).i32(1).rawFont(-80, 400, "Arial");
  const auto list = Read(b.data);
  EXPECT_TRUE(list->portrait);
  EXPECT_EQ(list->duplexMode, 0);
  ASSERT_EQ(list->GetCount(), 3);
  const auto* t = static_cast<CFormText*>(list->At(0));
  EXPECT_EQ(t->text, "Alt");
  EXPECT_EQ(t->offsetX, -5);
  EXPECT_EQ(t->offsetY, 7);
  EXPECT_EQ(t->alignment, 1);
  EXPECT_EQ(t->font.lfHeight, -120);
  EXPECT_EQ(t->font.lfWeight, 700);
  EXPECT_EQ(FaceName(t->font), "Times New Roman");
  EXPECT_EQ(t->color, 0u);
  EXPECT_EQ(static_cast<CFormLine*>(list->At(1))->to, CPoint(3, 4));
  const auto* tb = static_cast<CFormTable*>(list->At(2));
  ASSERT_EQ(tb->columns.size(), 1u);
  EXPECT_EQ(tb->columns.front().name, "[Segel]");
  EXPECT_EQ(tb->columns.front().color, 0u);

  // Rewritten in the current form: version 4714 with field-wise fonts and colours.
  const auto again = LayoutToBytes(*const_cast<CFormElementPtrList*>(list.get()));
  const auto reread = Read(again);
  EXPECT_EQ(static_cast<CFormText*>(reread->At(0))->font, t->font);
  EXPECT_EQ(again[0] | (again[1] << 8), 4714);
}

TEST(LayoutFormat, RawFontFaceNameIsCutTo31Bytes) {
  Bytes b;
  b.i32(4711).u16(1).newClass("CFormText").point(0, 0).point(0, 0).point(0, 0).str("").i32(0);
  b.i32(-80).i32(0).i32(0).i32(0).i32(400).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0).u8(0);
  b.raw(std::string(32, 'F'));  // no terminator inside the field
  const auto list = Read(b.data);
  EXPECT_EQ(FaceNameBytes(static_cast<CFormText*>(list->At(0))->font), std::string(31, 'F'));
}

TEST(LayoutFormat, VersionsGateColourOrientationAndDuplex) {
  // 4713: colours but no orientation; 4714: orientation; 4715: duplex.
  Bytes v4713;
  v4713.i32(4713).u16(1).newClass("CFormLine").point(0, 0).point(1, 1).i32(0x0000FF);
  auto list = Read(v4713.data);
  EXPECT_TRUE(list->portrait);
  EXPECT_EQ(static_cast<CFormLine*>(list->At(0))->color, 0x0000FFu);

  list = Read(Bytes().i32(4714).i32(0).u16(0).data);
  EXPECT_FALSE(list->portrait);
  EXPECT_EQ(list->duplexMode, 0);

  for (int stored : {0, 1, 2, 3, 7, -1}) {
    list = Read(Bytes().i32(4715).i32(1).i32(stored).u16(0).data);
    EXPECT_EQ(list->duplexMode, stored >= 0 && stored <= 3 ? stored : 0) << stored;
  }
}

TEST(LayoutFormat, WideStringMarkerIsReadAndConverted) {
  Bytes b;
  b.i32(4714).i32(1).u16(1).newClass("CFormText").point(0, 0).point(0, 0).point(0, 0);
  // 0xFF 0xFFFE, then a length of 4 UTF-16 units: "Zü€√" (√ has no Windows-1252 byte).
  b.u8(0xFF).u16(0xFFFE).u8(4).u16(u'Z').u16(u'ü').u16(0x20AC).u16(0x221A);
  b.i32(0).font(-160, 400, "Arial").i32(0);
  const auto list = Read(b.data);
  EXPECT_EQ(static_cast<CFormText*>(list->At(0))->text, "Zü€?");
}

TEST(LayoutFormat, LongStringPrefixes) {
  for (std::size_t n : {254u, 255u, 0xFFFDu, 0xFFFEu, 70000u}) {
    CFormElementPtrList list;
    Add(list, std::make_unique<CFormText>(CPoint{0, 0}, std::string(n, 'x')));
    const auto bytes = LayoutToBytes(list);
    const std::size_t at = 4 + 4 + 2 + 2 + 2 + 2 + 9 + 24;  // header, class tag, name, 3 points
    if (n < 255) {
      EXPECT_EQ(bytes[at], n);
    } else if (n < 0xFFFE) {
      EXPECT_EQ(bytes[at], 0xFF);
      EXPECT_EQ(bytes[at + 1] | (bytes[at + 2] << 8), static_cast<int>(n));
    } else {
      EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + at, bytes.begin() + at + 7),
                Bytes().u8(0xFF).u16(0xFFFF).u32(static_cast<std::uint32_t>(n)).data);
    }
    EXPECT_EQ(static_cast<CFormText*>(Read(bytes)->At(0))->text.size(), n);
  }
}

TEST(LayoutFormat, NonAsciiTextIsStoredAsWindows1252) {
  CFormElementPtrList list;
  Add(list, std::make_unique<CFormText>(CPoint{0, 0}, "Läufe €"));
  const auto bytes = LayoutToBytes(list);
  EXPECT_TRUE(Contains(bytes, "L\xE4ufe \x80"));
  EXPECT_EQ(static_cast<CFormText*>(Read(bytes)->At(0))->text, "Läufe €");
}

TEST(LayoutFormat, NewerVersionIsRefusedWithItsMessageOnly) {
  FakeMessages messages;
  ScopedServices scope;
  scope.With<MessageService>(&messages);
  CFormElementPtrList list;
  EXPECT_THROW(LayoutFromBytes(Bytes().i32(4717).i32(1).i32(0).u16(0).data, list),
               UserAbortException);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0],
            "Dieses Layout wurde mit einer neueren Programmversion erstellt\nund kann mit dieser "
            "Version nicht gelesen werden.\n\nBitte installieren Sie die aktuelle Programmversion.");
  EXPECT_EQ(messages.icons[0], MessageIcon::stop);
  EXPECT_TRUE(list.IsEmpty());
}

TEST(LayoutFormat, EveryTruncationFailsCleanly) {
  CFormElementPtrList list;
  list.duplexMode = 1;
  auto text = std::make_unique<CFormText>(CPoint{1, 2}, "Ergebnis");
  Add(list, std::move(text));
  auto table = std::make_unique<CFormTable>(CPoint{3, 4});
  table->AppendColumn(CFormTableEntry());
  Add(list, std::move(table));
  Add(list, ImageWithPicture(3, 2, true));
  Add(list, std::make_unique<CFormLine>(CPoint{1, 1}, CPoint{2, 2}));
  const auto bytes = LayoutToBytes(list);
  ASSERT_EQ(Read(bytes)->GetCount(), 4);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    const std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + n);
    CFormElementPtrList target;
    EXPECT_THROW(LayoutFromBytes(cut, target), ArchiveException) << "cut at " << n;
  }
}

TEST(LayoutFormat, BadStreamsRaiseTheRightArchiveError) {
  using Cause = ArchiveException::Cause;
  const auto causeOf = [](const Bytes& b) {
    CFormElementPtrList list;
    try {
      LayoutFromBytes(b.data, list);
    } catch (const ArchiveException& e) {
      return e.cause;
    }
    ADD_FAILURE() << "no error";
    return Cause::generic;
  };
  const auto imageHead = [] {
    Bytes b;
    b.i32(4714).i32(1).u16(1).newClass("CFormImage").point(0, 0).str("").point(1, 1).u8(1);
    return b;
  };
  // Unknown class name.
  EXPECT_EQ(causeOf(Bytes().i32(4714).i32(1).u16(1).newClass("CFormKreis").point(0, 0)), Cause::badClass);
  // A repeated-class tag naming an index no class has.
  EXPECT_EQ(causeOf(Bytes().i32(4714).i32(1).u16(1).classRef(5)), Cause::badIndex);
  // A repeated-class tag naming an object's index.
  {
    Bytes b;
    b.i32(4714).i32(1).u16(2).newClass("CFormLine").point(0, 0).point(1, 1).i32(0).classRef(2);
    EXPECT_EQ(causeOf(b), Cause::badClass);
  }
  // Null objects and back references would put one element in the list twice or crash later.
  EXPECT_EQ(causeOf(Bytes().i32(4714).i32(1).u16(1).u16(0)), Cause::badIndex);
  {
    Bytes b;
    b.i32(4714).i32(1).u16(2).newClass("CFormLine").point(0, 0).point(1, 1).i32(0).u16(2);
    EXPECT_EQ(causeOf(b), Cause::badIndex);
  }
  // Picture header: wrong magic, pixel offset below 54.
  EXPECT_EQ(causeOf(imageHead().u16(0x1234).u32(0).u16(0).u16(0).u32(54)), Cause::generic);
  EXPECT_EQ(causeOf(imageHead().u16(0x4D42).u32(0).u16(0).u16(0).u32(53)), Cause::generic);
  // Fewer than 14 header bytes.
  EXPECT_EQ(causeOf(imageHead().u16(0x4D42).u32(0)), Cause::generic);
  // A header declaring 60000 x 60000 x 32 bits with no pixels behind it: refused before any
  // allocation, as a short stream.
  EXPECT_EQ(causeOf(imageHead().u16(0x4D42).u32(0).u16(0).u16(0).u32(54).u32(40).i32(60000)
                        .i32(-60000).u16(1).u16(32).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0)),
            Cause::endOfFile);
  // Headers whose pixel length would wrap even in 64 bits: 2147418113 x 429509837 at 160 bits,
  // and 1048592 x INT_MIN at 65535 bits. Found by fuzzing; both must read as short streams.
  EXPECT_EQ(causeOf(imageHead().u16(0x4D42).u32(0).u16(0).u16(0).u32(54).u32(40).i32(2147418113)
                        .i32(429509837).u16(1).u16(160).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0)
                        .u32(0xDDCCBBAA)),
            Cause::endOfFile);
  EXPECT_EQ(causeOf(imageHead().u16(0x4D42).u32(0).u16(0).u16(0).u32(54).u32(40).i32(1048592)
                        .i32(INT32_MIN).u16(1).u16(65535).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0)),
            Cause::endOfFile);
  // A pixel offset far beyond the stream.
  EXPECT_EQ(causeOf(imageHead().u16(0x4D42).u32(0).u16(0).u16(0).u32(0x7FFFFFF0)), Cause::endOfFile);
  // A negative picture width cannot describe any pixels.
  EXPECT_EQ(causeOf(imageHead().u16(0x4D42).u32(0).u16(0).u16(0).u32(54).u32(40).i32(-8)
                        .i32(2).u16(1).u16(24).u32(0).u32(0).u32(0).u32(0).u32(0).u32(0)),
            Cause::generic);
  // String and count sizes beyond the stream.
  EXPECT_EQ(causeOf(Bytes().i32(4714).i32(1).u16(1).newClass("CFormAlias").point(0, 0)
                        .u8(0xFF).u16(0xFFFF).u32(0xFFFFFFF0u)),
            Cause::endOfFile);
  EXPECT_EQ(causeOf(Bytes().i32(4714).i32(1).u16(0xFFFF).u32(0xFFFFFFFFu)), Cause::endOfFile);
  {
    Bytes b;
    b.i32(4714).i32(1).u16(1).newClass("CFormTable").point(0, 0).point(1, 1).i32(0).i32(0).i32(0);
    b.u16(0xFFFF).u32(4000000000u);
    EXPECT_EQ(causeOf(b), Cause::endOfFile);
  }
}

TEST(LayoutFormat, PictureReadKeepsHeaderAndColourTable) {
  // An 8-bit picture with a 4-entry colour table: the bits start after header and table.
  Bytes b;
  b.i32(4714).i32(1).u16(1).newClass("CFormImage").point(1, 2).str("c.bmp").point(30, 40).u8(1);
  b.u16(0x4D42).u32(0).u16(0).u16(0).u32(14 + 40 + 16);
  b.u32(40).i32(3).i32(2).u16(1).u16(8).u32(0).u32(0).u32(0).u32(0).u32(4).u32(0);
  b.u32(0).u32(0xFFFFFF).u32(0xFF0000).u32(0x00FF00);
  b.raw(std::vector<std::uint8_t>{0, 1, 2, 0, 3, 2, 1, 0});  // two rows of 3 pixels padded to 4
  const auto list = Read(b.data);
  const auto* img = static_cast<CFormImage*>(list->At(0));
  ASSERT_TRUE(img->HasPicture());
  EXPECT_EQ(img->bitsOffset, 56);
  EXPECT_EQ(img->dib->size(), 64u);
  EXPECT_EQ(img->PixelSize(), CSize(3, 2));
  // Written back unchanged.
  CFormElementPtrList& l = *list;
  const auto again = LayoutToBytes(l);
  Bytes expected = b;
  // The writer fills in the file size field the reader ignored.
  expected.data[4 + 4 + 2 + 2 + 2 + 2 + 10 + 8 + 6 + 8 + 1 + 2 + 0] = 64 + 14;
  EXPECT_EQ(again, expected.data);
}

TEST(LayoutFormat, WholeTextsAreStoredAsCodes) {
  BuildCatalogue();
  for (CCode& c : placeholderCatalogue())
    if (c.code == "[Name]") c.translation = "Teilnehmer";
  CFormElementPtrList list;
  Add(list, std::make_unique<CFormText>(CPoint{0, 0}, "Teilnehmer"));
  Add(list, std::make_unique<CFormText>(CPoint{0, 0}, "[Name] [Vorname]"));
  auto table = std::make_unique<CFormTable>(CPoint{0, 0});
  CFormTableEntry column;
  column.name = "Teilnehmer";
  table->AppendColumn(column);
  Add(list, std::move(table));
  const auto bytes = LayoutToBytes(list);
  EXPECT_FALSE(Contains(bytes, "Teilnehmer"));
  EXPECT_TRUE(Contains(bytes, "\x06[Name]"));
  EXPECT_TRUE(Contains(bytes, "\x10[Name] [Vorname]"));

  // Read back with another translation in force: the current translation shows.
  for (CCode& c : placeholderCatalogue())
    if (c.code == "[Name]") c.translation = "Segler";
  const auto back = Read(bytes);
  EXPECT_EQ(static_cast<CFormText*>(back->At(0))->text, "Segler");
  EXPECT_EQ(static_cast<CFormText*>(back->At(1))->text, "[Name] [Vorname]");
  EXPECT_EQ(static_cast<CFormTable*>(back->At(2))->columns.front().name, "Segler");
  FreeCatalogue();
}

}  // namespace
