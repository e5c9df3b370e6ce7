#include "bus_tap.h"

#include <algorithm>

namespace {
constexpr unsigned char kPreamble = 0xFE;
constexpr unsigned char kEnd = 0xFD;
constexpr unsigned char kJam = 0xFC;
} // namespace

void BusTap::received(QByteArrayView chunk)
{
    read.append(chunk);
    // Split independently of the program's parser, so that the two can disagree.
    for (const char c : chunk) {
        const auto b = static_cast<unsigned char>(c);
        if (b == kJam) {
            partial_.clear();
            continue;
        }
        if (partial_.size() < 2 && b != kPreamble) {
            partial_.clear();
            continue;
        }
        if (partial_.size() == 2 && b == kPreamble) {
            continue;
        }
        partial_.append(c);
        if (b != kEnd) {
            continue;
        }
        if (partial_.size() >= 6) {
            const auto at = [this](int i) { return static_cast<unsigned char>(partial_.at(i)); };
            frames.append({at(2), at(3), at(4), partial_.mid(5, partial_.size() - 6)});
        }
        partial_.clear();
    }
}

int BusTap::count(int from, int to, int cmd) const
{
    return int(std::count_if(frames.cbegin(), frames.cend(), [=](const Frame& f) {
        const auto matches = [](int field, int wanted) { return wanted < 0 || field == wanted; };
        return matches(f.from, from) && matches(f.to, to) && matches(f.cmd, cmd);
    }));
}

QByteArray TappedConnection::readAvailable()
{
    const QByteArray chunk = inner_->readAvailable();
    tap_.received(chunk);
    return chunk;
}

void TappedConnection::write(QByteArrayView bytes)
{
    if (inner_->isOpen()) {
        tap_.written.append(bytes);
    }
    inner_->write(bytes);
}
