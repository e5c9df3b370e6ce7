// The network server's turns at the radio: frames out of clients' actions, answers back to them.
#include "share/rigctl_scheduler.h"

#include "civ/address.h"
#include "share/rigctl_frames.h"

namespace share {

namespace {

constexpr std::string_view kRefreshLabel = "Hamlib network server";

template <class T> bool stale(const std::optional<Known<T>>& known, line::Millis now)
{
    return !known || now - known->at >= RigctlScheduler::kFreshMs;
}

} // namespace

RigctlScheduler::RigctlScheduler(line::Door& door, std::function<line::Millis()> clock,
                                 const RigctlClients& clients,
                                 std::function<void(std::uint32_t)> answered)
    : door_(door)
    , clock_(std::move(clock))
    , clients_(clients)
    , answered_(std::move(answered))
{
    line::Taps& taps = door_.taps();
    QObject::connect(&taps, &line::Taps::frame, &context_,
                     [this](const line::FrameEvent& event) { frame(event); });
    QObject::connect(&taps, &line::Taps::ticked, &context_, [this] { ticked(); });
    QObject::connect(&taps, &line::Taps::settingsChanged, &context_, [this] {
        radio_.clear();
        pttUnreadable_ = false;
    });
}

void RigctlScheduler::frame(const line::FrameEvent& event)
{
    const line::Settings settings = door_.settings();
    radio_.heard(event, settings.radioId, settings.ourId, clock_());
    radio_.expire(clock_());
    if (inFlight_ && event.request == inFlight_->id) {
        if (event.direction == line::Direction::Sent) {
            inFlight_->sentAt = clock_();
        } else if (event.direction == line::Direction::Dropped) {
            complete(Outcome::Dropped);
        } else if (event.direction == line::Direction::Received &&
                   event.kind == line::Kind::Frame) {
            const bool ng = commandOf(event) == civ::kNg;
            if (const auto feature = featureOf(inFlight_->action.kind); ng && feature) {
                radio_.refuse(*feature);
            }
            if (ClientInfo* const i = info(inFlight_->client)) {
                ++i->framesAnswered;
                i->framesDropped += ng ? 1 : 0;
            }
            if (ng && inFlight_->action.kind == Action::Kind::ReadPtt) {
                pttUnreadable_ = true;
                radio_.assumeReceiving(clock_());
                complete(Outcome::Ok);
            } else {
                complete(ng ? Outcome::Rejected : Outcome::Ok);
            }
        }
    }
    answerReads();
    serve();
}

void RigctlScheduler::ticked()
{
    radio_.expire(clock_());
    if (inFlight_) {
        const line::Millis now = clock_();
        const bool unanswered =
            inFlight_->sentAt && now - *inFlight_->sentAt > line::LinkAccount::kAnswerWindowMs;
        if (unanswered || now - inFlight_->queuedAt > kGiveUpMs) {
            complete(Outcome::Timeout);
        }
    }
    serve();
}

void RigctlScheduler::serve()
{
    if (inFlight_ || clients_.empty()) {
        return;
    }
    // A port that is gone answers every client at once, without waiting for time-outs.
    const line::PortState port = door_.port().state;
    if (port == line::PortState::Lost || port == line::PortState::NeverOpened) {
        for (auto it = clients_.begin(); it != clients_.end();) {
            const std::uint32_t id = it->first;
            RigctlSession& session = (it++)->second->session;
            while (session.action()) {
                session.finish(Outcome::Dropped);
            }
            answered_(id);
        }
        return;
    }
    // Sets first, taking the clients in turn.
    std::optional<Action> action;
    std::uint32_t owner = 0;
    auto next = clients_.upper_bound(lastServed_);
    for (std::size_t n = 0; n < clients_.size() && !action; ++n, ++next) {
        if (next == clients_.end()) {
            next = clients_.begin();
        }
        const auto& wanted = next->second->session.action();
        if (wanted && wanted->isSet()) {
            action = wanted;
            owner = lastServed_ = next->first;
        }
    }
    if (!action) {
        action = nextRead();
    }
    if (!action) {
        return;
    }
    const line::Settings settings = door_.settings();
    ClientInfo* const i = info(owner);
    if (!civ::isEncodableAddress(settings.radioId) || !civ::isEncodableAddress(settings.ourId)) {
        inFlight_ = InFlight{0, *action, owner, clock_(), std::nullopt};
        complete(Outcome::NotConfigured);
        return;
    }
    const line::Origin origin{line::Source::Network, owner,
                              i ? i->name : std::string(kRefreshLabel)};
    const auto id = door_.send(
        frameFor(*action, settings.radioId, settings.ourId, radio_.frequencyBytes()), origin);
    inFlight_ = InFlight{id.value_or(0), *action, owner, clock_(), std::nullopt};
    if (!id) {
        complete(Outcome::Busy);
        return;
    }
    if (i) {
        ++i->framesSent;
    }
}

std::optional<Action> RigctlScheduler::nextRead() const
{
    using Kind = Action::Kind;
    for (const auto& [id, client] : clients_) {
        const auto& wanted = client->session.action();
        if (wanted && !wanted->isSet()) {
            return wanted;
        }
    }
    const line::Millis now = clock_();
    if (stale(radio_.frequency(), now)) {
        return Action::of(Kind::ReadFrequency);
    }
    if (stale(radio_.mode(), now)) {
        return Action::of(Kind::ReadMode);
    }
    if (!radio_.refused(Feature::Data) && stale(radio_.data(), now)) {
        return Action::of(Kind::ReadData);
    }
    if (!pttUnreadable_ && stale(radio_.ptt(), now)) {
        return Action::of(Kind::ReadPtt);
    }
    return std::nullopt;
}

void RigctlScheduler::complete(Outcome outcome)
{
    const InFlight done = *inFlight_;
    inFlight_.reset();
    if (outcome == Outcome::Busy || outcome == Outcome::Dropped) {
        if (ClientInfo* const i = info(done.client)) {
            ++i->framesDropped;
        }
    }
    for (auto& [id, client] : clients_) {
        const auto& wanted = client->session.action();
        const bool mine = done.action.isSet() ? id == done.client && wanted == done.action
                                              : wanted && wanted->kind == done.action.kind;
        if (mine) {
            client->session.finish(outcome);
        }
    }
    // Answering may let a client go: step past it first.
    for (auto it = clients_.begin(); it != clients_.end();) {
        answered_((it++)->first);
    }
}

void RigctlScheduler::answerReads()
{
    for (auto it = clients_.begin(); it != clients_.end();) {
        RigctlSession& session = it->second->session;
        const auto& wanted = session.action();
        const bool known = wanted && !wanted->isSet() && knows(radio_, wanted->kind);
        const std::uint32_t id = (it++)->first;
        if (known) {
            session.finish(Outcome::Ok);
            answered_(id);
        }
    }
}

ClientInfo* RigctlScheduler::info(std::uint32_t id) const
{
    const auto it = clients_.find(id);
    return it == clients_.end() ? nullptr : &it->second->info;
}

} // namespace share
