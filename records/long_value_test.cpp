// MEMO and OLE values through their long-value references: inline, one row, chains (also past
// 64 KiB), OLE wrappers and the files written, and a "corrupt it" table.
#include "records/long_value.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/file_system.h"
#include "records/ole_wrapper.h"
#include "records/value_decode.h"
#include "tests/support/record_fixture.h"

namespace {

using namespace testsupport;

constexpr uint32_t kLval = 0x4C41564C;
constexpr uint32_t kInline = 0x80000000;
constexpr uint32_t kOneRow = 0x40000000;
constexpr size_t kFirstLvalPage = 6;
constexpr int64_t kValueSize = INT64_MIN;  // format(): take the length of the value given

std::vector<uint8_t> reference(uint32_t lengthWord, uint8_t row, uint32_t page) {
  std::vector<uint8_t> ref = Le32(lengthWord);
  ref.push_back(row);
  ref.push_back(static_cast<uint8_t>(page));
  ref.push_back(static_cast<uint8_t>(page >> 8));
  ref.push_back(static_cast<uint8_t>(page >> 16));
  return Concat(ref, Le32(0));
}

std::vector<uint8_t> link(uint8_t row, uint32_t page) {
  return {row, static_cast<uint8_t>(page), static_cast<uint8_t>(page >> 8), static_cast<uint8_t>(page >> 16)};
}

std::vector<uint8_t> compressed(const std::string& text) {
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  bytes.insert(bytes.end(), text.begin(), text.end());
  return bytes;
}

class LongValueTest : public ::testing::Test {
 protected:
  // Each entry is one LVAL page holding the given rows, appended after the first six pages.
  void openWithLvalPages(const std::vector<std::vector<std::vector<uint8_t>>>& pages) {
    FileBuilder file = FileBuilder::Jet4Start(kFirstLvalPage);
    for (const auto& rows : pages) {
      PageBuilder page = PageBuilder::DataPage(static_cast<int32_t>(kLval));
      for (const auto& row : rows) page.addRow(row);
      file.appendPage(page.page());
    }
    fixture.open(file);
  }

  // Formats value (placed at offset 200 of a data page) as a column of the given type.
  int format(int type, const std::vector<uint8_t>& value, std::string& text, int64_t lengthOverride = kValueSize) {
    PageBuilder page = PageBuilder::DataPage(2);
    page.bytes(200, value);
    const int64_t length = lengthOverride != kValueSize ? lengthOverride : static_cast<int64_t>(value.size());
    text = "unset";
    const support::ByteView view(page.page());
    return type == 12 ? records::FormatMemo(fixture.recovery(), view, 200, text, length)
                      : records::FormatOle(fixture.recovery(), view, 200, text, length);
  }

  std::vector<uint8_t> fileBytes(const std::string& path) { return ReadWholeFile(path); }

  RecordFixture fixture;
};

TEST_F(LongValueTest, MemoForms) {
  const std::string big(67998, 'm');  // with its marker 68000 bytes: the length needs a third byte
  std::vector<std::vector<std::vector<uint8_t>>> pages;
  pages.push_back({compressed("one row memo"), Utf16("second row")});
  const std::vector<uint8_t> bigData = compressed(big);
  const size_t chunk = 4000;
  const size_t parts = (bigData.size() + chunk - 1) / chunk;
  for (size_t i = 0; i < parts; ++i) {
    const bool last = i + 1 == parts;
    std::vector<uint8_t> part(bigData.begin() + static_cast<long>(i * chunk),
                              bigData.begin() + static_cast<long>(std::min(bigData.size(), (i + 1) * chunk)));
    pages.push_back({Concat(last ? link(0, 0) : link(0, static_cast<uint32_t>(kFirstLvalPage + 2 + i)), part)});
  }
  openWithLvalPages(pages);

  struct MemoCase {
    const char* name;
    std::vector<uint8_t> value;
    std::string expected;
  };
  const std::vector<MemoCase> cases = {
      {"inline, compressed", Concat(reference(kInline | 5, 0, 0), compressed("abc")), "abc"},
      {"inline, two-byte", Concat(reference(kInline | 4, 0, 0), Utf16("hi")), "hi"},
      {"inline, empty", reference(kInline | 0, 0, 0), ""},
      {"inline, stated length shorter than the slot", Concat(reference(kInline | 4, 0, 0), compressed("abcdef")), "ab"},
      {"one row, compressed", reference(kOneRow | 14, 0, kFirstLvalPage), "one row memo"},
      {"one row, two-byte, row 1", reference(kOneRow | 20, 1, kFirstLvalPage), "second row"},
      {"chain past 64 KiB", reference(static_cast<uint32_t>(bigData.size()), 0, kFirstLvalPage + 1), big},
      {"unhandled kind bits", reference(0xC0010010, 0, kFirstLvalPage), "Unhandled memo field flags = c001\n"},
  };
  for (const auto& c : cases) {
    std::string text;
    EXPECT_EQ(format(12, c.value, text), 1) << c.name;
    EXPECT_EQ(text, c.expected) << c.name;
  }
}

TEST_F(LongValueTest, OleObjectsBecomeFiles) {
  // Bitmap: header of A bytes naming the object at 20, class name, native data of C bytes.
  auto wrapped = [](const std::string& objectName, const std::vector<uint8_t>& native, uint32_t nativeSize) {
    std::vector<uint8_t> data = Concat(Le16(0x1C15), Le16(0));  // header size filled in below
    data.resize(20, 0);
    data.insert(data.end(), objectName.begin(), objectName.end());
    data.push_back(0);
    const uint16_t headerSize = static_cast<uint16_t>(data.size());
    data[2] = static_cast<uint8_t>(headerSize);
    const std::string className = "PBrush";
    data = Concat(Concat(data, Le32(0x0501)), Le32(2));
    data = Concat(data, Le32(static_cast<uint32_t>(className.size() + 1)));
    data.insert(data.end(), className.begin(), className.end());
    data.push_back(0);
    data = Concat(Concat(Concat(data, Le32(0)), Le32(0)), Le32(nativeSize));
    data = Concat(data, native);
    return Concat(data, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
  };
  auto package = [&](const std::string& label, const std::vector<uint8_t>& content) {
    std::vector<uint8_t> native = {0x02, 0x00};
    native.insert(native.end(), label.begin(), label.end());
    native.push_back(0);
    const std::string path = "C:\\docs\\" + label;
    native.insert(native.end(), path.begin(), path.end());
    native.push_back(0);
    native = Concat(native, Le32(0x00030000));
    const std::string temp = "C:\\temp\\x";
    native = Concat(native, Le32(static_cast<uint32_t>(temp.size() + 1)));
    native.insert(native.end(), temp.begin(), temp.end());
    native.push_back(0);
    native = Concat(Concat(native, Le32(static_cast<uint32_t>(content.size()))), content);
    native = Concat(native, {0x01, 0x02, 0x03, 0x04});  // the Unicode tail Access adds
    return wrapped("Package", native, static_cast<uint32_t>(native.size()));
  };
  const std::vector<uint8_t> pixels = {'B', 'M', 1, 2, 3, 4, 5, 6};
  const std::vector<uint8_t> doc = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1, 0x42};
  const std::vector<uint8_t> raw = {0x25, 0x50, 0x44, 0x46, 0x2D, 0x31, 0x2E, 0x34};
  const std::vector<uint8_t> bitmapObject = wrapped("Bitmap", pixels, static_cast<uint32_t>(pixels.size()));
  const std::vector<uint8_t> packageObject = package("report.doc", doc);
  openWithLvalPages({{bitmapObject, packageObject, package("x.d/../../y", doc), package(".hidden", doc)}});

  struct OleCase {
    const char* name;
    std::vector<uint8_t> value;
    std::string fileName;
    std::vector<uint8_t> content;
    std::vector<uint8_t> stored;  // what the typed value holds: the object as stored, wrapper included
  };
  const std::vector<OleCase> cases = {
      {"inline data without a wrapper", Concat(reference(kInline | 8, 0, 0), raw), "Ole1.ole", raw, raw},
      {"bitmap in one row", reference(kOneRow | static_cast<uint32_t>(bitmapObject.size()), 0, kFirstLvalPage),
       "Ole2.bmp", pixels, bitmapObject},
      {"package names its extension",
       reference(kOneRow | static_cast<uint32_t>(packageObject.size()), 1, kFirstLvalPage), "Ole3.doc", doc,
       packageObject},
      {"a label never shapes a path", reference(kOneRow | 4000, 2, kFirstLvalPage), "Ole4.ole", doc,
       package("x.d/../../y", doc)},
  };
  for (const auto& c : cases) {
    std::string text;
    EXPECT_EQ(format(11, c.value, text), 1) << c.name;
    EXPECT_EQ(text, platform::JoinPath(fixture.oleFolder(), c.fileName)) << c.name;
    EXPECT_EQ(fileBytes(text), c.content) << c.name;
  }
  // The typed value keeps the stored bytes and says where the inner object lies: no file.
  for (const auto& c : cases) {
    PageBuilder page = PageBuilder::DataPage(2);
    page.bytes(200, c.value);
    support::Value value;
    records::DecodeOleValue(fixture.recovery(), support::ByteView(page.page()), 200,
                            static_cast<int64_t>(c.value.size()), value);
    EXPECT_EQ(value.kind, support::ValueKind::kLongBinary) << c.name;
    EXPECT_EQ(value.bytes, c.stored) << c.name;
    EXPECT_EQ(value.object.wrapped, c.stored != c.content) << c.name;
    const auto inner = value.bytes.begin() + static_cast<std::ptrdiff_t>(value.object.innerOffset);
    EXPECT_EQ(std::vector<uint8_t>(inner, inner + static_cast<std::ptrdiff_t>(value.object.innerLength)), c.content)
        << c.name;
  }
  EXPECT_EQ(fixture.recovery().oleFileCount, 4);
  // A label that starts with a dot fails the parse: the object is written as it is stored.
  std::string text;
  EXPECT_EQ(format(11, reference(kOneRow | 4000, 3, kFirstLvalPage), text), 1);
  EXPECT_EQ(text, platform::JoinPath(fixture.oleFolder(), "Ole5.ole"));
  EXPECT_EQ(fileBytes(text).size(), package(".hidden", doc).size());
  // Formatting the same value again writes a new file under the next number.
  EXPECT_EQ(format(11, cases[1].value, text), 1);
  EXPECT_EQ(text, platform::JoinPath(fixture.oleFolder(), "Ole6.bmp"));
  EXPECT_EQ(fixture.recovery().oleFileCount, 6);
  // Unhandled kind bits: the message, -1, and no file.
  EXPECT_EQ(format(11, reference(0xC0000010, 0, kFirstLvalPage), text), -1);
  EXPECT_EQ(text, "Unhandled OLE field flag = c000\n");
  EXPECT_EQ(fixture.recovery().oleFileCount, 6);
}

TEST_F(LongValueTest, ChainsOfManyTinyPartsEndAfterAFewPartsPerPage) {
  // 250 rows of one character each on one page, each linking to the next: far more parts than
  // a real chain puts on the seven pages of this file. The walk ends early, keeping what it read.
  std::vector<std::vector<uint8_t>> rows;
  for (uint8_t r = 0; r < 250; ++r) rows.push_back(Concat(link(r + 1, r + 1 < 250 ? kFirstLvalPage : 0), {'a', 0}));
  openWithLvalPages({rows});
  for (int type : {12, 11}) {
    std::string text;
    ASSERT_EQ(format(type, reference(1000, 0, kFirstLvalPage), text), 1) << type;
    if (type == 11) {  // the object's file
      const std::vector<uint8_t> bytes = ReadWholeFile(text);
      text.assign(bytes.begin(), bytes.end());
    }
    EXPECT_GT(text.size(), 7u) << type;
    EXPECT_LT(text.size(), 250u * (type == 12 ? 1 : 2)) << type;
    EXPECT_EQ(text.find_first_not_of(type == 12 ? std::string("a") : std::string("a\0", 2)), std::string::npos);
  }
}

TEST_F(LongValueTest, CorruptReferencesAndChains) {
  // Page 6: row 0 links to itself; row 1 links to a page that is no long-value page; row 2
  // starts inside the row table; row 3 is too short for a link.
  openWithLvalPages({{Concat(link(0, kFirstLvalPage), compressed("loop")),
                      Concat(link(0, 2), compressed("half")),
                      {1, 2, 3, 4, 5},
                      {9, 9}}});
  {
    // Make row 2's entry point into the row table.
    std::vector<uint8_t> all = ReadWholeFile(fixture.folder().file("db.mdb"));
    const size_t entry = kFirstLvalPage * kTestPageSize + 14 + 2 * 2;
    all[entry] = 10;
    all[entry + 1] = 0;
    WriteWholeFile(fixture.folder().file("db.mdb"), all);
  }
  struct Corrupt {
    const char* name;
    std::vector<uint8_t> value;
    int result;
    std::string text;
    int64_t length = kValueSize;
  };
  const std::vector<Corrupt> cases = {
      {"shorter than a reference", std::vector<uint8_t>(11, 0x80), -1, "unset"},
      {"value past the page end", reference(kInline | 3, 0, 0), -1, "unset", 1 << 20},
      {"negative length", reference(kInline | 3, 0, 0), -1, "unset", -5},
      {"page not in the file", reference(kOneRow | 10, 0, 999), 1, "NULL"},
      {"page 0x00FFFFFF", reference(kOneRow | 10, 0, 0xFFFFFF), 1, "NULL"},
      {"page is not a long-value page", reference(kOneRow | 10, 0, 2), 1, "NULL"},
      {"row past the page's rows", reference(kOneRow | 10, 200, kFirstLvalPage), 1, "NULL"},
      {"row inside the row table", reference(kOneRow | 10, 2, kFirstLvalPage), -1, "unset"},
      {"chain returning to its own row", reference(1u << 29, 0, kFirstLvalPage), 1, "loop"},
      {"chain into a page that is not a long-value page", reference(1000, 1, kFirstLvalPage), 1, "half"},
      {"chain row too short for its link", reference(1000, 3, kFirstLvalPage), -1, "unset"},
      {"chain that starts nowhere", reference(1000, 0, 999), 1, "NULL"},
  };
  for (const auto& c : cases) {
    std::string text;
    EXPECT_EQ(format(12, c.value, text, c.length), c.result) << c.name;
    EXPECT_EQ(text, c.text) << c.name;
  }
  // The OLE formatter writes no file for a value it cannot find.
  for (const auto& c : cases) {
    std::string text;
    const int result = format(11, c.value, text, c.length);
    if (result == -1) {
      EXPECT_EQ(text, "unset") << c.name;
    }
  }
  EXPECT_EQ(fixture.recovery().oleFileCount, 2);  // the loop and the half chain
  // Every truncation of a one-row reference and of a chain is a clean result.
  for (int64_t length = 0; length <= 12; ++length) {
    std::string text;
    const int result = format(12, reference(kOneRow | 10, 0, kFirstLvalPage), text, length);
    EXPECT_TRUE(result == -1 || result == 1) << length;
  }
}

TEST(OleWrapperTest, ChecksBeforeStripping) {
  struct WrapperCase {
    const char* name;
    std::vector<uint8_t> data;
  };
  std::vector<uint8_t> header = Concat(Le16(0x1C15), Le16(300));
  header.resize(400, 0);
  std::vector<uint8_t> bigClass = Concat(Le16(0x1C15), Le16(24));
  bigClass.resize(40, 0);
  bigClass[32] = 0xFF;  // class name length at A + 8 = 32
  bigClass[33] = 0xFF;
  for (const auto& c : std::vector<WrapperCase>{{"empty", {}},
                                                {"too short", {0x15, 0x1C, 0x00}},
                                                {"no signature", std::vector<uint8_t>(100, 0x41)},
                                                {"header size too big", header},
                                                {"class name length too big", bigClass},
                                                {"header only", Concat(Le16(0x1C15), Le16(2))}}) {
    std::vector<uint8_t> data = c.data;
    std::string extension;
    EXPECT_FALSE(records::ParseOleWrapper(data, extension)) << c.name;
    EXPECT_EQ(data, c.data) << c.name;
    EXPECT_EQ(extension, "ole") << c.name;
  }
  for (const char* bad : {"", "../x", "a b", "toolongextension17", "ex\xC3\xA9", "a.b"})
    EXPECT_FALSE(records::IsSafeExtension(bad)) << bad;
  for (const char* good : {"doc", "PDF", "x7", "sixteenchars1234"}) EXPECT_TRUE(records::IsSafeExtension(good)) << good;
}

}  // namespace
