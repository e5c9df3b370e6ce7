// Frame assembly and reply decoding over a stream of mixed bus traffic.
#include "civ/bcd.h"
#include "civ/frame_parser.h"
#include "civ/reply_decoder.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace {

std::vector<std::uint8_t> mixedTraffic(std::size_t size)
{
    const std::vector<std::vector<std::uint8_t>> frames = {
        {0xFE, 0xFE, 0x08, 0xEA, 0x03, 0xFD},                               // our poll, echoed
        {0xFE, 0xFE, 0xEA, 0x08, 0x03, 0x00, 0x40, 0x07, 0x14, 0x00, 0xFD}, // frequency reply
        {0xFE, 0xFE, 0xEA, 0x08, 0x04, 0x01, 0x01, 0xFD},                   // mode reply
        {0xFE, 0xFE, 0x70, 0x72, 0x05, 0x00, 0x00, 0x50, 0x45, 0x01, 0xFD}, // other stations
        {0xFE, 0xFE, 0xEA, 0x08, 0xFB, 0xFD},                               // OK
        {0xFC},                                                             // jam
        {0x13, 0x37},                                                       // line noise
    };
    std::mt19937 random(42);
    std::discrete_distribution<std::size_t> pick({20, 20, 20, 30, 5, 1, 4});
    std::vector<std::uint8_t> stream;
    stream.reserve(size + 16);
    while (stream.size() < size) {
        const auto& frame = frames[pick(random)];
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
}

void BM_ParseAndDecode(benchmark::State& state)
{
    const std::vector<std::uint8_t> stream = mixedTraffic(1 << 20);
    constexpr int ourAddress = 0xEA;
    civ::FrameParser parser;
    double lastKhz = 0;
    int lastMode = 0;
    for (auto _ : state) {
        for (const std::uint8_t b : stream) {
            if (parser.ParseByte(b) != civ::FrameParser::Event::FrameEnd ||
                parser.parseToID != ourAddress || parser.parseMsgLength == 0) {
                continue;
            }
            const std::span<const int> data(parser.parseMsg.data(),
                                            static_cast<std::size_t>(parser.parseMsgLength));
            if (parser.parseCmd == 0x03) {
                lastKhz = civ::ParseFreq(data);
            } else if (parser.parseCmd == 0x04) {
                lastMode = civ::ParseMode(data);
            }
        }
        benchmark::DoNotOptimize(lastKhz);
        benchmark::DoNotOptimize(lastMode);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_ParseAndDecode);

} // namespace
