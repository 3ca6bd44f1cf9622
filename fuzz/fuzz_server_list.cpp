// Server list parsing on any bytes a list host may send: the table stays within its
// 255 slots, fields never hold a ";", and n well-formed records give n slots.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "serverlist/ServerListParser.h"
#include "serverlist/ServerTable.h"

namespace {

using namespace zorvek;

constexpr std::string_view kUntouched = "untouched";

// Marks every slot; slots above the last parse's count still hold the mark from before.
void markAll(ServerTable& table)
{
    static bool marked = false;
    const int last = marked ? table.ServerCount : kMaxServers;
    for (int i = 1; i <= last; ++i)
        table[i].ServerName = kUntouched;
    marked = true;
}

// Any text: whatever the bytes, the parse stays inside the table and takes fields verbatim.
void checkAnyText(std::string_view text, std::string_view fmt, ServerTable& table)
{
    markAll(table);
    ParseServerList(text, fmt, table);
    FUZZ_CHECK(table.ServerCount <= kMaxServers);
    // The records are the text itself, one after the other: each field runs up to its
    // ";", and only a line break may stand between a record and the next.
    std::size_t at = 0;
    for (int n = 1; n <= table.ServerCount; ++n) {
        const ServerSlot& slot = table[n];
        const std::string prefix = PadToDigitPattern(n, fmt) + " ";
        FUZZ_CHECK(slot.ServerName.compare(0, prefix.size(), prefix) == 0);
        const std::string_view name = std::string_view(slot.ServerName).substr(prefix.size());
        if (n > 1 && text.compare(at, 2, "\r\n") == 0)
            at += 2;
        else if (n > 1 && text.compare(at, 1, "\n") == 0)
            at += 1;
        for (std::string_view field :
             {name, std::string_view(slot.ServerHost), std::string_view(slot.ServerPort),
              std::string_view(slot.ServerLink)}) {
            FUZZ_CHECK(field.find(';') == std::string_view::npos);
            FUZZ_CHECK(text.compare(at, field.size(), field) == 0);
            FUZZ_CHECK(at + field.size() < text.size() && text[at + field.size()] == ';');
            at += field.size() + 1;
        }
        FUZZ_CHECK(slot.ServerIsGame == (slot.ServerLink.find("EXE:") != std::string::npos));
    }
    for (int n = table.ServerCount + 1; n <= kMaxServers; ++n)
        FUZZ_CHECK(table[n].ServerName == kUntouched);
}

struct Record
{
    std::string name, host, port, link;
};

std::string fieldFrom(FuzzedDataProvider& input)
{
    std::string field = input.ConsumeRandomLengthString(40);
    std::erase(field, ';');
    return field;
}

// A list written the way the format asks, from records the fuzzer chooses.
void checkWellFormed(FuzzedDataProvider& input, std::string_view fmt, ServerTable& table)
{
    const bool unixLineEnds = input.ConsumeBool();
    const bool breakAfterLast = input.ConsumeBool();
    const int wanted = input.ConsumeIntegralInRange<int>(0, 300);
    std::vector<Record> records;
    std::string text;
    for (int i = 0; i < wanted && input.remaining_bytes() > 0; ++i) {
        Record r{fieldFrom(input), fieldFrom(input), fieldFrom(input), fieldFrom(input)};
        if (input.ConsumeBool())
            r.link.insert(r.link.size() / 2, "EXE:");
        if (!text.empty())
            text += unixLineEnds ? "\n" : "\r\n";
        text += r.name + ';' + r.host + ';' + r.port + ';' + r.link + ';';
        records.push_back(std::move(r));
    }
    if (breakAfterLast && !text.empty())
        text += unixLineEnds ? "\n" : "\r\n";

    markAll(table);
    ParseServerList(text, fmt, table);
    const std::size_t expected = std::min<std::size_t>(records.size(), kMaxServers);
    FUZZ_CHECK(table.ServerCount == expected);
    for (std::size_t i = 0; i < expected; ++i) {
        const ServerSlot& slot = table[static_cast<int>(i) + 1];
        const Record& r = records[i];
        FUZZ_CHECK(slot.ServerName == PadToDigitPattern(static_cast<int>(i) + 1, fmt) + " " + r.name);
        FUZZ_CHECK(slot.ServerHost == r.host);
        FUZZ_CHECK(slot.ServerPort == r.port);
        FUZZ_CHECK(slot.ServerLink == r.link);
        FUZZ_CHECK(slot.ServerIsGame == (r.link.find("EXE:") != std::string::npos));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto table = std::make_unique<ServerTable>();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkAnyText(text, "000", *table);
    checkAnyText(text, "00", *table);

    FuzzedDataProvider input(data, size);
    checkWellFormed(input, input.ConsumeBool() ? "000" : "00", *table);
    return 0;
}
