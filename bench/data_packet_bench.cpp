// Loading speed and memory of the table engine on a 100,000-row, 7-field data packet
// (i4, string, r8, date, dateTime, boolean, string with Korean text).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

#include "platform/table/client_dataset.h"

namespace {

const std::string& packet() {
  static const std::string text = [] {
    std::string out =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>  <DATAPACKET Version="2.0">)"
        R"(<METADATA><FIELDS><FIELD attrname="ID" fieldtype="i4"/>)"
        R"(<FIELD attrname="Customer" fieldtype="string" WIDTH="40"/>)"
        R"(<FIELD attrname="Amount" fieldtype="r8"/><FIELD attrname="Due" fieldtype="date"/>)"
        R"(<FIELD attrname="Stamp" fieldtype="dateTime"/><FIELD attrname="Paid" fieldtype="boolean"/>)"
        R"(<FIELD attrname="Address" fieldtype="string" WIDTH="60"/>)"
        R"(</FIELDS><PARAMS/></METADATA><ROWDATA>)";
    for (int i = 1; i <= 100000; ++i) {
      std::string n = std::to_string(i);
      out += "<ROW ID=\"" + n + "\" Customer=\"Customer number " + n + "\" Amount=\"" +
             std::to_string(i % 9973) + "." + std::to_string(i % 100) + "\" Due=\"2024" +
             (i % 12 < 9 ? "0" : "") + std::to_string(i % 12 + 1) + "15\" Stamp=\"20240115T" +
             (i % 24 < 10 ? "0" : "") + std::to_string(i % 24) + ":30:15250\" Paid=\"" +
             (i % 3 ? "TRUE" : "FALSE") +
             // "서울특별시 중구 세종대로 " + number
             "\" Address=\"\xEC\x84\x9C\xEC\x9A\xB8\xED\x8A\xB9\xEB\xB3\x84\xEC\x8B\x9C "
             "\xEC\xA4\x91\xEA\xB5\xAC \xEC\x84\xB8\xEC\xA2\x85\xEB\x8C\x80\xEB\xA1\x9C " +
             n + "\"/>";
    }
    out += "</ROWDATA></DATAPACKET>";
    return out;
  }();
  return text;
}

void BM_LoadDataPacket(benchmark::State& state) {
  const std::string& bytes = packet();
  size_t rows = 0;
  for (auto _ : state) {
    zr::ClientDataset table("bench");
    table.load_from_bytes(bytes, "<memory>");
    rows = table.record_count();
    benchmark::DoNotOptimize(rows);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["packet_MB"] = static_cast<double>(bytes.size()) / 1e6;
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;  // KiB on Linux
}
BENCHMARK(BM_LoadDataPacket)->Unit(benchmark::kMillisecond);

// Sorting the loaded rows by a text field, as a relation index does.
void BM_IndexByText(benchmark::State& state) {
  zr::ClientDataset table("bench");
  table.load_from_bytes(packet(), "<memory>");
  int n = 0;
  for (auto _ : state) {
    std::string name = "ix" + std::to_string(n++);
    // Alternating directions so that every iteration sorts anew.
    table.add_index(name, "Address;ID", {.descending = n % 2 == 0});
    table.set_index_name(name);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * table.record_count()));
}
BENCHMARK(BM_IndexByText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
