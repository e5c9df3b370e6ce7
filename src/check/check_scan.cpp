// The check's search: a read ID to all radios at each rate, and a read frequency to confirm
// what answers.
#include "check/interface_check.h"
#include "check/sentences.h"
#include "civ/commands.h"
#include "serial/baud_rates.h"

#include <algorithm>
#include <array>
#include <utility>

namespace check {

namespace {

// Rows of the rate pop-up, the rates radios most often use first: 9600, 19200, 4800, then
// the rest, the common ones before the odd ones.
constexpr std::array<int, serial::kBaudRates.size()> kScanOrder{8, 10, 6, 2, 12, 13, 4,
                                                                0, 1,  3, 5, 7,  9,  11};
constexpr std::uint8_t kReadId = civ::kCmdReadId;
// Trampled answers in this many read-ID windows in a row make a collision: once may be noise.
constexpr int kTrampledWindows = 2;

bool isReport(const line::FrameEvent& event)
{
    return event.view.to == civ::kBroadcast && (event.view.command == civ::kCmdReportFrequency ||
                                                event.view.command == civ::kCmdReportMode);
}

std::optional<int> codeOf(int rate)
{
    const auto it = std::ranges::find(serial::kBaudRates, rate);
    if (it == serial::kBaudRates.end()) {
        return std::nullopt;
    }
    return static_cast<int>(it - serial::kBaudRates.begin());
}

void addOnce(std::vector<int>& list, int value)
{
    if (std::ranges::find(list, value) == list.end()) {
        list.push_back(value);
    }
}

} // namespace

std::vector<int> InterfaceCheck::usualRates()
{
    std::vector<int> rates;
    for (const int code : kScanOrder) {
        rates.push_back(serial::baudRateForCode(code));
    }
    rates.push_back(kUsbRate);
    return rates;
}

int InterfaceCheck::currentRate() const
{
    return serial::baudRateForCode(setup_.baudCode);
}

void InterfaceCheck::startScan(Millis now)
{
    phase_ = Phase::Scan;
    scanRates_ = setup_.network ? std::vector<int>{currentRate()} : usualRates();
    scanIndex_ = 0;
    nextRate(now);
}

void InterfaceCheck::nextRate(Millis now)
{
    if (scanIndex_ == scanRates_.size()) {
        out_.report.push_back(sentences::nothing(echo_, setup_.network, deepSearchMsPerRate()));
        out_.offerDeepSearch = setup_.network ? currentRate() : 0;
        finish();
        return;
    }
    phase_ = Phase::Scan;
    scanRate_ = scanRates_[scanIndex_++];
    readIds_ = 0;
    trampled_ = 0;
    trampledNow_ = false;
    candidates_.clear();
    confirmed_.clear();
    if (scanRate_ != openRate_ && !setup_.network) {
        out_.openRate = scanRate_;
        return;
    }
    scanRate(now);
}

void InterfaceCheck::scanRate(Millis now)
{
    // The read frequency also finds, at Radio ID, a radio that lacks read ID.
    queue({civ::readId(civ::kBroadcast, setup_.ourId).frame,
           civ::readFrequency(setup_.radioId, setup_.ourId).frame},
          now);
}

bool InterfaceCheck::tramples(const line::FrameEvent& event) const
{
    if (phase_ != Phase::Scan || readIds_ == 0 || event.at < readIdLeft_ ||
        event.at > readIdLeft_ + listenMs()) {
        return false;
    }
    // Stray bytes in our echo's place, or with every echo garbled, are no answers.
    const bool afterEcho = echo_ == Echo::Nothing ||
                           (echo_ == Echo::Own && readIdEchoed_ && event.at >= *readIdEchoed_);
    return event.kind == line::Kind::Jam || (event.kind != line::Kind::Frame && afterEcho);
}

void InterfaceCheck::heardInScan(const line::FrameEvent& event)
{
    if (tramples(event)) {
        trampledNow_ = true;
        return;
    }
    const int from = event.view.from;
    if (event.kind != line::Kind::Frame || from == setup_.ourId || from < 0) {
        return;
    }
    if (phase_ == Phase::Scan && (event.view.command == kReadId || isReport(event))) {
        // A radio that tells its own changes is heard at this rate as well as one that answers.
        addOnce(candidates_, from);
    } else if (event.request && asked_.contains(*event.request)) {
        addOnce(confirmed_, from);
    }
}

void InterfaceCheck::scanTimedOut(Millis now)
{
    const bool trampled = std::exchange(trampledNow_, false);
    trampled_ = trampled ? trampled_ + 1 : 0;
    if (!confirmed_.empty()) {
        found();
    } else if (trampled_ >= kTrampledWindows && candidates_.empty()) {
        out_.report.push_back(sentences::collision(setup_.network ? 0 : scanRate_));
        out_.offerDeepSearch = scanRate_;
        finish();
    } else if (trampled && candidates_.empty()) {
        // Heard once, it may be noise or a report at another rate: ask once more.
        scanRate(now);
    } else if (!candidates_.empty()) {
        // An address is only worth recommending once a read frequency to it is answered.
        phase_ = Phase::Confirm;
        std::vector<civ::Frame> frames;
        for (const int address : candidates_) {
            frames.push_back(civ::readFrequency(address, setup_.ourId).frame);
        }
        queue(std::move(frames), now);
    } else {
        nextRate(now);
    }
}

void InterfaceCheck::confirmTimedOut()
{
    if (!confirmed_.empty()) {
        found();
        return;
    }
    // Something answered at this rate, so the rate is worth the deeper search.
    out_.report.push_back(sentences::unconfirmed(setup_.network ? 0 : scanRate_, candidates_));
    out_.offerDeepSearch = scanRate_;
    finish();
}

void InterfaceCheck::found()
{
    const int address = confirmed_.front();
    const std::vector<int> others(confirmed_.begin() + 1, confirmed_.end());
    const std::optional<int> code = setup_.network ? setup_.baudCode : codeOf(scanRate_);
    if (!code) {
        out_.report.push_back(sentences::beyondRates(scanRate_, address, others));
    } else {
        out_.report.push_back(sentences::found(setup_.network ? 0 : scanRate_, address, others));
        out_.finding = Finding{*code, scanRate_, address};
    }
    finish();
}

} // namespace check
