// civ-sim's log lines read into frames, and the frames tallied by kind.
#include "sim_log.h"

#include "civ/frame.h"
#include "wall_clock.h"

#include <QFile>

namespace bench {

namespace {

constexpr int kOk = 0xFB;
constexpr int kNg = 0xFA;

std::optional<SimFrame> parseLine(const QByteArray& line)
{
    const auto ms = parseMsOfDay(std::string_view(line.constData(), std::size_t(line.size())));
    const QList<QByteArray> words = line.simplified().split(' ');
    if (!ms || words.size() < 3) {
        return std::nullopt;
    }
    std::vector<int> bytes;
    for (qsizetype i = 2; i < words.size(); ++i) {
        bool ok = false;
        const int b = words[i].toInt(&ok, 16);
        if (!ok || b < 0 || b > 0xFF) {
            return std::nullopt;
        }
        bytes.push_back(b);
    }
    if (bytes.size() < 6 || bytes[0] != civ::kPreamble || bytes[1] != civ::kPreamble ||
        bytes.back() != civ::kEndOfMessage) {
        return std::nullopt;
    }
    SimFrame f;
    f.ms = *ms;
    f.sent = words[1] == "tx";
    f.to = bytes[2];
    f.from = bytes[3];
    f.cmd = bytes[4];
    f.data.assign(bytes.begin() + 5, bytes.end() - 1);
    return f;
}

bool isPoll(int cmd)
{
    return cmd == civ::kCmdReadFrequency || cmd == civ::kCmdReadMode;
}

bool isSet(int cmd)
{
    return cmd == civ::kCmdSetFrequency || cmd == civ::kCmdSetMode;
}

} // namespace

std::vector<SimFrame> readSimLog(const QString& path)
{
    std::vector<SimFrame> frames;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return frames;
    }
    while (!file.atEnd()) {
        if (auto frame = parseLine(file.readLine())) {
            frames.push_back(std::move(*frame));
        }
    }
    return frames;
}

BusTally tally(const std::vector<SimFrame>& frames, int us)
{
    BusTally t;
    for (const SimFrame& f : frames) {
        if (!f.sent && f.from == us) {
            t.pollsReceived += isPoll(f.cmd) && f.data.empty();
            t.setsReceived += isSet(f.cmd);
        } else if (f.sent && f.to == us) {
            t.pollReplies += isPoll(f.cmd) && !f.data.empty();
            t.setsAcked += f.cmd == kOk;
            t.setsRefused += f.cmd == kNg;
        }
    }
    return t;
}

} // namespace bench
