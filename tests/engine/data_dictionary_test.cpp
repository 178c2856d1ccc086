#include "engine/model/data_dictionary.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/run/parser.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/table_test_packets.h"

namespace zr {
namespace {

using Strings = std::vector<std::string>;

// The report datasets' part, played by client datasets of one row each. Each keeps its
// packet, so that a closed dataset can be opened again. Names resolve as "dataset.field"
// (field quoted or not) or as a bare field of the current band's dataset.
struct Table {
  ClientDataset data;
  std::string packet;
};

class TableResolver : public DataResolver {
 public:
  void add(const std::string& name, const std::string& fields, const std::string& row) {
    auto table = std::make_unique<Table>();
    table->data.set_name(name);
    table->packet = testing::make_packet(fields, row);
    table->data.load_from_bytes(table->packet, name);
    tables.push_back(std::move(table));
  }
  ClientDataset& table(size_t i) { return tables[i]->data; }
  void set_current(size_t i) { current = tables[i].get(); }

  Table* current = nullptr;
  int opened = 0;

  std::optional<TvtCacheItem> resolve_field(std::string_view text) override {
    Table* table = current;
    std::string field(text);
    if (auto parts = TvtDataDictionary::SplitFieldName(text)) {
      table = find(parts->dataset);
      field = parts->field;
    }
    if (!table || !table->data.find_field(field)) return std::nullopt;
    return TvtCacheItem{DatasetHandle(table), field};
  }
  void open_if_closed(DatasetHandle handle) override {
    Table* table = handle.get<Table>();
    if (table->data.is_open()) return;
    table->data.load_from_bytes(table->packet, table->data.name());
    ++opened;
  }
  Value field_value(DatasetHandle handle, std::string_view field) override {
    return handle.get<Table>()->data.value(field);
  }
  Strings dataset_names() override {
    Strings names;
    for (const auto& t : tables) names.push_back(t->data.name());
    return names;
  }
  Strings field_names(std::string_view name) override {
    const Table* table = find(name);
    return table ? table->data.field_names() : Strings{};
  }

 private:
  Table* find(std::string_view name) {
    for (const auto& t : tables) {
      if (same_text_ascii(t->data.name(), name)) return t.get();
    }
    return nullptr;
  }
  std::vector<std::unique_ptr<Table>> tables;
};

Strings names(const TvtVariables& list) {
  Strings result;
  for (int i = 0; i < list.Count(); ++i) result.push_back(list.NameAt(i));
  return result;
}

Strings texts(const TvtVariables& list) {
  Strings result;
  for (int i = 0; i < list.Count(); ++i) result.push_back(list.ValueAt(i).to_string());
  return result;
}

// A variable block of the current layouts.
void write_block(ByteWriter& w, const std::vector<std::pair<std::string, std::string>>& pairs) {
  w.write_i32(static_cast<int32_t>(pairs.size()));
  for (const auto& [name, value] : pairs) {
    w.write_string_v23(name);
    w.write_string_v23(value);
  }
}

class DataDictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resolver.add("Orders",
                 R"(<FIELD attrname="Amount" fieldtype="r8"/>)"
                 R"(<FIELD attrname="OrderNo" fieldtype="string" WIDTH="8"/>)"
                 R"(<FIELD attrname="Hidden" fieldtype="string" WIDTH="8"/>)",
                 R"(<ROW Amount="12.5" OrderNo="A-1" Hidden="h"/>)");
    resolver.add("TmpOrders", R"(<FIELD attrname="X" fieldtype="i4"/>)", R"(<ROW X="1"/>)");
    resolver.add("OrdersTmp", R"(<FIELD attrname="Y" fieldtype="i4"/>)", R"(<ROW Y="2"/>)");
    resolver.set_current(0);
    parser.OnGetValue = [this](const std::string& name, Value& out) {
      if (dict.VariableExists(name)) out = dict.GetValue(name);
    };
  }

  void load(const std::string& bytes, int version = kCurrentStreamVersion) {
    ByteReader reader(std::string_view(bytes), "<dictionary>", version);
    dict.LoadFromStream(reader);
  }

  TableResolver resolver;
  TvtParser parser;
  TvtVariables script_variables;
  TvtDataDictionary dict{&resolver, &parser, &script_variables};
};

TEST_F(DataDictionaryTest, ValuesOfVariablesAndFields) {
  dict.VariableList.SetVariable(" Sales", Value(""));
  dict.VariableList.SetVariable("Amount", Value("Orders.Amount"));
  dict.VariableList.SetVariable("Double", Value("[Amount] * 2"));
  dict.VariableList.SetVariable("Total", Value("1"));
  dict.VariableList.SetVariable("Empty", Value(""));
  dict.VariableList.SetVariable("Count", Value(int32_t{7}));
  script_variables.SetVariable("TOTAL", Value("from the viewer"));

  // A variable naming a field is cached on first sight; its dataset is opened when read.
  EXPECT_TRUE(dict.VariableExists("amount"));
  EXPECT_EQ(dict.FieldCache().size(), 1u);
  resolver.table(0).close();
  EXPECT_TRUE(dict.GetValue("Amount").identical(Value(12.5)));
  EXPECT_EQ(resolver.opened, 1);

  EXPECT_TRUE(dict.GetValue("double").identical(Value(25.0)));
  EXPECT_TRUE(dict.GetValue("total").identical(Value("from the viewer")));
  EXPECT_TRUE(dict.GetValue("Empty").identical(Value("")));
  EXPECT_TRUE(dict.GetValue("Count").identical(Value(int32_t{7})));
  EXPECT_TRUE(dict.GetValue("Unknown").is_null());

  // Without a parser only the empty text is a value.
  dict.SetParser(nullptr);
  EXPECT_TRUE(dict.GetValue("Empty").identical(Value("")));
  EXPECT_THROW(dict.GetValue("Double"), ZorelError);
}

TEST_F(DataDictionaryTest, ResolvesFieldNamesThroughAliases) {
  dict.AliasList.SetVariable("Orders", Value("Sales"));
  dict.AliasList.SetVariable("Orders.Amount", Value("Total Amount"));

  EXPECT_TRUE(dict.VariableExists("Sales.Total Amount"));
  EXPECT_TRUE(dict.VariableExists("Orders.\"OrderNo\""));
  EXPECT_TRUE(dict.VariableExists("Hidden"));  // a field of the current band's dataset
  EXPECT_FALSE(dict.VariableExists("Sales.Nothing"));
  EXPECT_FALSE(dict.VariableExists("Nothing"));
  EXPECT_EQ(dict.FieldCache().size(), 3u);
  EXPECT_TRUE(dict.GetValue("sales.total amount").identical(Value(12.5)));
  EXPECT_TRUE(dict.GetValue("Orders.\"OrderNo\"").identical(Value("A-1")));

  EXPECT_EQ(dict.RealDatasetName("SALES"), "Orders");
  EXPECT_EQ(dict.RealDatasetName("Other"), "Other");
  EXPECT_EQ(dict.RealFieldName("Total Amount"), "Amount");

  dict.ClearCache();
  EXPECT_TRUE(dict.FieldCache().empty());
}

TEST_F(DataDictionaryTest, SplitFieldName) {
  const struct {
    const char* text;
    bool split;
    const char* dataset;
    const char* field;
  } cases[] = {
      {"Orders.Amount", true, "Orders", "Amount"},
      {"Orders.\"Order No\"", true, "Orders", "Order No"},
      {"\"My.Table\".\"A.B\"", true, "\"My.Table\"", "A.B"},
      {"a.b.c", true, "a.b", "c"},
      {"Amount", false, "", ""},
      {"\"x.y\"", false, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parts = TvtDataDictionary::SplitFieldName(c.text);
    ASSERT_EQ(parts.has_value(), c.split);
    if (!parts) continue;
    EXPECT_EQ(parts->dataset, c.dataset);
    EXPECT_EQ(parts->field, c.field);
  }
}

TEST_F(DataDictionaryTest, DatasetAndFieldLists) {
  dict.DisabledDatasetList = {"Tmp*"};
  EXPECT_FALSE(dict.IsDatasetEnabled("TmpOrders"));
  EXPECT_FALSE(dict.IsDatasetEnabled("tmporders"));
  EXPECT_TRUE(dict.IsDatasetEnabled("OrdersTmp"));
  dict.DisabledDatasetList.push_back("orderstmp");
  EXPECT_FALSE(dict.IsDatasetEnabled("OrdersTmp"));
  EXPECT_EQ(dict.GetDatasetList(), Strings{"Orders"});

  dict.DisabledDatasetList.clear();
  EXPECT_EQ(dict.GetDatasetList(), (Strings{"Orders", "OrdersTmp", "TmpOrders"}));
  dict.AliasList.SetVariable("TmpOrders", Value("Alpha"));
  dict.AliasList.SetVariable("Orders", Value("Sales"));
  dict.AliasList.SetVariable("Orders.Amount", Value("Total"));
  dict.AliasList.SetVariable("Orders.Hidden", Value(""));
  EXPECT_EQ(dict.GetDatasetList(), (Strings{"Alpha", "Sales"}));
  EXPECT_EQ(dict.GetFieldList("Sales"), (Strings{"Total", "OrderNo"}));
  EXPECT_EQ(dict.GetFieldList("Nothing"), Strings{});
}

TEST_F(DataDictionaryTest, CategoryVariables) {
  for (const char* name : {" Sales", "Total", "Count", " Dates", "Today", "", "Loose"}) {
    dict.VariableList.SetVariable(name, Value(""));
  }
  EXPECT_EQ(dict.GetCategoryVariables("sales"), (Strings{"Total", "Count"}));
  EXPECT_EQ(dict.GetCategoryVariables("Dates"), Strings{"Today"});
  EXPECT_EQ(dict.GetCategoryVariables("None"), Strings{});
}

TEST_F(DataDictionaryTest, CurrentLayoutRoundTrips) {
  ByteWriter w;
  w.write_i16(-2);
  write_block(w, {{" Sales", ""}, {"Total", "[Orders.Amount] * 2"}, {"Note", "'It''s'"}});
  write_block(w, {{"Orders", "Sales"}, {"Orders.Gone", "Old"}});
  write_block(w, {{"MasterData1", "Orders"}, {"Band2", ""}});
  const std::string bytes = w.take();

  load(bytes);
  EXPECT_EQ(names(dict.VariableList), (Strings{" Sales", "Total", "Note"}));
  EXPECT_TRUE(dict.VariableList.ValueAt(1).identical(Value("[Orders.Amount] * 2")));
  EXPECT_EQ(texts(dict.AliasList), (Strings{"Sales", "Old"}));  // no pruning
  EXPECT_EQ(texts(dict.BandSourceList), (Strings{"Orders", ""}));

  ByteWriter out;
  dict.SaveToStream(out);
  EXPECT_EQ(out.bytes(), bytes);

  // A cut record fails as malformed input.
  EXPECT_THROW(load(bytes.substr(0, bytes.size() - 3)), FormatError);
}

TEST_F(DataDictionaryTest, PruningLayout) {
  ByteWriter w;
  w.write_i16(-1);
  write_block(w, {{"Customers", ""}, {" Total", "1"}});
  write_block(w, {{"Orders", "Sales"},
                  {"Orders.Amount", "Sum"},
                  {"Orders.Gone", "Old"},
                  {"Nowhere", "X"},
                  {"Orders.Hidden", ""}});
  write_block(w, {{"MasterData1", "Orders"}, {"Band2", ""}});
  load(w.take());

  // The older convention is flipped: categories get the blank, variables lose it.
  EXPECT_EQ(names(dict.VariableList), (Strings{" Customers", "Total"}));
  EXPECT_EQ(names(dict.AliasList), (Strings{"Orders", "Orders.Amount", "Orders.Hidden"}));
  EXPECT_EQ(names(dict.BandSourceList), Strings{"MasterData1"});
}

TEST_F(DataDictionaryTest, OldestLayout) {
  ByteWriter w;
  w.write_i32(5);
  const auto entry = [&](uint8_t kind, int32_t number, std::string a, std::string b,
                         std::string c) {
    w.write_u8(kind);
    w.write_i32(number);
    for (const std::string& s : {a, b, c}) {
      w.write_u8(static_cast<uint8_t>(s.size()));
      w.write_bytes(s);
    }
  };
  entry(1, 0, "Orders", "Order No", "Number");
  entry(2, 1, "", "'fixed'", "Text");
  entry(2, 3, "", "", "Now");
  entry(2, 0, "", "", "Page");
  entry(5, 0, "a", "b", "Other");
  w.write_bytes("Customers\r Number\r Text\r Now\r Page\r Other\r Missing");
  w.write_u8(0);
  load(w.take(), 22);

  EXPECT_EQ(names(dict.VariableList),
            (Strings{" Customers", "Number", "Text", "Now", "Page", "Other", "Missing"}));
  const Value expected[] = {Value(""),        Value("Orders.\"Order No\""),
                            Value("'fixed'"), Value("TIME"),
                            Value("PAGE#"),   Value(""),
                            Value::null()};
  for (int i = 0; i < dict.VariableList.Count(); ++i) {
    SCOPED_TRACE(dict.VariableList.NameAt(i));
    EXPECT_TRUE(dict.VariableList.ValueAt(i).identical(expected[i]))
        << describe(dict.VariableList.ValueAt(i));
  }
  EXPECT_EQ(dict.AliasList.Count(), 0);

  // Saved again, it is read back in the current layout as it is now.
  ByteWriter out;
  dict.SaveToStream(out);
  const std::string saved = out.take();
  load(saved);
  EXPECT_EQ(names(dict.VariableList)[1], "Number");
  ByteWriter again;
  dict.SaveToStream(again);
  EXPECT_EQ(again.bytes(), saved);
}

}  // namespace
}  // namespace zr
